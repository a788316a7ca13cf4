/* A program that does nothing: the Windows tests only read its version resource. */
#include <windows.h>

void StubEntry(void) { ExitProcess(0); }
