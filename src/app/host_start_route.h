// How Orvel is started at the end of an update. Orvel must run as the signed-in
// user, never with the installer's administrator token: an elevated installer leaves
// the start to the desktop shell, which runs with the user's own token, and starts
// nothing itself.
#pragma once

namespace orvel {

// The two ways to start Orvel.
class HostStarter {
 public:
  // Asks the desktop shell to start Orvel; false when no shell answered.
  virtual bool StartThroughDesktopShell() = 0;
  // Starts Orvel from this process, with this process's token.
  virtual void StartDirectly() = 0;

 protected:
  ~HostStarter() = default;
};

// Starts Orvel directly when this process is not elevated (its token is the user's
// own), else only through the desktop shell; an elevated process with no shell to
// answer does not start Orvel at all. True when a start was handed on.
bool StartAsSignedInUser(bool elevated, HostStarter& starter);

}  // namespace orvel
