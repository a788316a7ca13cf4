// The shared state, its shutdown and the per-user key (see program_state.h).
#include "base/program_state.h"

#include <windows.h>

#include <memory>

namespace orvel {

ProgramState& Program() {
  static ProgramState state;
  return state;
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

}  // namespace orvel
