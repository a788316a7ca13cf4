// How Orvel is started at the end of an update. Orvel must run as the signed-in
// user, never with the installer's administrator token: an elevated installer leaves
// the start to the desktop shell, which runs with the user's own token, and starts
// nothing itself.
#pragma once

namespace orvel {

// Starts Orvel directly when this process is not elevated (its token is the user's
// own), else only through the desktop shell; an elevated process with no shell to
// answer does not start Orvel at all. True when a start was handed on.
//
// `starter` knows the two ways: StartThroughDesktopShell() asks the desktop shell
// and is false when no shell answered; StartDirectly() starts Orvel from this
// process, with this process's token.
template <typename Starter>
bool StartAsSignedInUser(bool elevated, Starter& starter) {
  if (elevated) return starter.StartThroughDesktopShell();
  starter.StartDirectly();
  return true;
}

}  // namespace orvel
