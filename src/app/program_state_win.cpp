// Start-up and shutdown of the shared state, the per-user key and the built-in
// bilingual error message (see program_state.h).
#include "app/program_state.h"

#include <windows.h>

#include <memory>

#include "app/start_rules.h"
#include "sys/os_description.h"
#include "sys/random_generator.h"

namespace orvel {

namespace {
// Message-box style of every error: MB_OK | MB_ICONERROR | MB_SERVICE_NOTIFICATION.
constexpr UINT kErrorStyle = MB_OK | MB_ICONERROR | MB_SERVICE_NOTIFICATION;
constexpr WORD kRussianLanguage = LANG_RUSSIAN;  // 0x19
}  // namespace

ProgramState& Program() {
  static ProgramState state;
  return state;
}

void InitProgramState() {
  ProgramState& state = Program();
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  ProcessRandom().Seed(now.dwLowDateTime ^ ::GetTickCount());

  state.UserLcid = ::GetUserDefaultLCID();
  state.RussianUi = IsRussianUiLocale(state.UserLcid);
  state.OsDescription = DescribeOperatingSystem();
  state.SharedRegistry = std::make_unique<RegistryAccess>(RegistryAccessMask(state.OsIs64Bit));
  LogOptionSplit command_line = SplitLogOption(::GetCommandLineA());
  state.CommandLine = std::move(command_line.arguments);
  state.LogPath = std::move(command_line.log_path);
  state.StartMode = AsciiLower(CommandLineArgument(state.CommandLine, 1));
}

void DoneProgramState() {
  // Back to the state before start-up, built in place: smaller than assigning a
  // fresh copy member by member.
  ProgramState& state = Program();
  std::destroy_at(&state);
  std::construct_at(&state);
}

void OpenUserKey() {
  ProgramState& state = Program();
  if (!state.SharedRegistry) return;
  state.SharedRegistry->SetRootKey(HKEY_CURRENT_USER);
  std::string path(UserKeyPrefix);
  path += state.HostAppName;
  // A key that cannot be opened only means that nothing is read from it.
  static_cast<void>(state.SharedRegistry->OpenKey(path, KeyOpening::kCreateIfMissing));
}

void ShowFallbackError(std::string_view english, std::string_view russian) {
  const ProgramState& state = Program();
  if (state.RussianUi) {
    const std::string text(russian);
    ::MessageBoxExA(nullptr, text.c_str(), state.UpdateTitle.c_str(), kErrorStyle, kRussianLanguage);
  } else {
    const std::string text(english);
    ::MessageBoxA(nullptr, text.c_str(), state.UpdateTitleEn.c_str(), kErrorStyle);
  }
}

}  // namespace orvel
