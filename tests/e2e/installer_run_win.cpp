// Runs of the real installer (see installer_run.h).
#include "installer_run.h"

#include <chrono>

#include "installation.h"

namespace orvel::e2e {

namespace {

constexpr DWORD kRunTimeoutMs = 60000;

std::string EscapedText(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\r') escaped += "\\r";
    else if (c == '\n') escaped += "\\n";
    else escaped += c;
  }
  return escaped;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Box& box) {
  out << "{caption \"" << EscapedText(box.caption) << "\", text \"" << EscapedText(box.text) << "\", icon "
      << test::MessageIconName(box.icon) << ", buttons";
  for (int id : box.buttons) out << " " << test::ButtonIdName(id);
  return out << "}";
}

Box Question(std::string caption, std::string text) {
  return Box{std::move(caption), std::move(text), test::MessageIcon::kQuestion, {IDYES, IDNO}};
}

Box Error(std::string caption, std::string text) {
  return Box{std::move(caption), std::move(text), test::MessageIcon::kError, {IDOK}};
}

InstallerRun RunInstaller(const std::vector<std::string>& args, const std::vector<int>& answers,
                          const std::string& current_folder, BeforeAnswer before_answer,
                          const std::string& installer_copy, const char* desktop) {
  InstallerRun run;
  const std::string installer = installer_copy.empty() ? InstallerPath() : installer_copy;
  std::string command_line = "\"" + installer + "\"";
  for (const std::string& arg : args) command_line += " " + arg;

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.lpDesktop = const_cast<char*>(desktop);
  PROCESS_INFORMATION process = {};
  const auto start = std::chrono::steady_clock::now();
  // Suspended, so that the robot watches the process before it can show a box.
  if (!::CreateProcessA(installer.c_str(), command_line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        current_folder.c_str(), &startup, &process))
    return run;
  {
    test::DialogRobot robot(process.dwProcessId, answers);
    if (before_answer) robot.SetBeforeAnswer(std::move(before_answer));
    ::ResumeThread(process.hThread);
    if (::WaitForSingleObject(process.hProcess, kRunTimeoutMs) != WAIT_OBJECT_0) {
      run.timed_out = true;
      ::TerminateProcess(process.hProcess, 255);
      ::WaitForSingleObject(process.hProcess, INFINITE);
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const test::SeenDialog& seen : robot.Seen()) {
      run.boxes.push_back(Box{seen.caption, seen.text, seen.icon, seen.button_ids});
      run.button_texts.push_back(seen.buttons);
    }
  }
  DWORD exit_code = 0;
  ::GetExitCodeProcess(process.hProcess, &exit_code);
  run.exit_code = static_cast<int>(exit_code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return run;
}

}  // namespace orvel::e2e
