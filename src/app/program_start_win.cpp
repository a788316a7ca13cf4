// Start-up of the shared state (see program_start.h).
#include "app/program_start.h"

#include <windows.h>

#include <memory>

#include "app/start_rules.h"
#include "base/program_state.h"
#include "base/text_rules.h"
#include "sys/os_description.h"

namespace orvel {

void InitProgramState() {
  ProgramState& state = Program();
  state.UserLcid = ::GetUserDefaultLCID();
  state.RussianUi = IsRussianUiLocale(state.UserLcid);
  state.OsDescription = DescribeOperatingSystem();
  state.SharedRegistry = std::make_unique<RegistryAccess>(RegistryAccessMask(state.OsIs64Bit));
  CommandLineOptions command_line = SplitOptions(::GetCommandLineA());
  state.CommandLine = std::move(command_line.arguments);
  state.LogPath = std::move(command_line.log_path);
  state.SuppressBoxesAsked = command_line.suppress_boxes;
  state.UsageAsked = command_line.usage_asked;
  state.NotUnderstood = std::move(command_line.not_understood);
  state.StartMode = AsciiLower(CommandLineArgument(state.CommandLine, 1));
  state.QuietRun = state.StartMode == kQuietStartMode;
}

}  // namespace orvel
