// How Orvel is started (see host_start_route.h).
#include "app/host_start_route.h"

namespace orvel {

bool StartAsSignedInUser(bool elevated, HostStarter& starter) {
  if (elevated) return starter.StartThroughDesktopShell();
  starter.StartDirectly();
  return true;
}

}  // namespace orvel
