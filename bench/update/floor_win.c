/* The benchmark's floor: the least a Windows program can do to put the package in
 * place. It writes the embedded resource (VEXA/3BS, the installer's package) straight
 * from the locked resource into a file: no checks, no registry, no C runtime, only
 * kernel32. With "ask" it first asks two questions, as the installer's interactive
 * run does (user32 is loaded for them only).
 *   orvel_floor.exe [ask] FILE     exit code 0 when the file was written
 */
#include <windows.h>

typedef int(WINAPI* MessageBoxFn)(HWND, LPCSTR, LPCSTR, UINT);

/* Skips one command-line word (quoted or not) and the blanks after it. */
static char* NextWord(char* at) {
  if (*at == '"') {
    ++at;
    while (*at != '\0' && *at != '"') ++at;
    if (*at == '"') ++at;
  } else {
    while (*at != '\0' && *at != ' ' && *at != '\t') ++at;
  }
  while (*at == ' ' || *at == '\t') ++at;
  return at;
}

/* Cuts the word at `at` out of the command line, without its quotes. */
static char* Word(char* at) {
  char* end;
  if (*at == '"') {
    ++at;
    for (end = at; *end != '\0' && *end != '"'; ++end) {}
  } else {
    for (end = at; *end != '\0' && *end != ' ' && *end != '\t'; ++end) {}
  }
  *end = '\0';
  return at;
}

static int Ask(MessageBoxFn box, const char* text) {
  return box(NULL, text, "Orvel update", MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL | MB_TOPMOST) == IDYES;
}

static UINT Run(void) {
  char* arg = NextWord(GetCommandLineA());
  const int ask = arg[0] == 'a' && arg[1] == 's' && arg[2] == 'k' && (arg[3] == ' ' || arg[3] == '\t');
  if (ask) arg = NextWord(arg);
  const char* path = Word(arg);
  if (*path == '\0') return 2;

  MessageBoxFn box = NULL;
  if (ask) {
    HMODULE user = LoadLibraryExA("user32.dll", NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    box = user != NULL ? (MessageBoxFn)(void*)GetProcAddress(user, "MessageBoxA") : NULL;
    if (box == NULL || !Ask(box, "Install the new package?")) return 1;
  }

  HRSRC found = FindResourceA(NULL, "VEXA", "3BS");
  HGLOBAL loaded = found != NULL ? LoadResource(NULL, found) : NULL;
  const void* bytes = loaded != NULL ? LockResource(loaded) : NULL;
  const DWORD size = found != NULL ? SizeofResource(NULL, found) : 0;
  if (bytes == NULL) return 3;
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return 4;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes, size, &written, NULL) && written == size;
  if (!CloseHandle(file) || !ok) return 4;

  if (ask) Ask(box, "The package is installed. Start Orvel?");
  return 0;
}

void FloorEntry(void) { ExitProcess(Run()); }
