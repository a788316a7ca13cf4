// The text of the installer's log (/log=PATH): one line per event, the local time to
// the millisecond first, so that an administrator can follow a run and set it beside
// other logs of the same machine.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "base/exit_code.h"

namespace orvel {

struct LogTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// "2024-05-01 14:03:07.045 " + the parts joined + "\r\n". Every run of line breaks
// inside a part becomes one blank, so that each event stays on one line. The
// characters that a command shell acts on (& | < > ^ %) and every other control
// character are written as "%" and two upper-case hex digits ("&" as %26), so that a
// log given a script's name runs nothing: "%" is then always followed by a digit.
// The text after the time stamp is cut after about 2 KiB, with " [line cut]" at the
// end, so that no line carries a whole text.
std::string LogLineText(const LogTime& time, std::initializer_list<std::string_view> parts);

// True for a log path that the installer may open: not a network or device path
// ("\\server\...", "\\.\...", "\\?\...", "\??\...", with either slash), without a
// colon past the drive's (a stream of a file, or no path at all), and not a device
// name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1, LPT1 and the like) in any folder
// and with any extension, which Windows opens as the device.
bool IsLocalLogPath(std::string_view path);

// "exit code 6: ..." with what the code tells a deployment tool.
std::string ExitCodeLogText(ExitCode code);

}  // namespace orvel
