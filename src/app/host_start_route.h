// How Orvel is started at the end of an update. Orvel must run as the signed-in
// user, never with the installer's privileged token: a privileged installer leaves
// the start to the desktop shell, which runs with the user's own token, and starts
// nothing itself; where no user is signed in (session 0, a service's account) Orvel
// is not started at all.
#pragma once

#include <cstdint>

namespace orvel {

// What the installer's token says about it. The defaults are those of a token that
// could not be read: privileged.
struct TokenFacts {
  bool elevated_or_high = true; // high integrity level or above, as every elevated token has
  bool administrators = true;   // the Administrators group enabled (also without elevation)
  bool service_account = false; // SYSTEM, LocalService or NetworkService
  std::uint32_t session = 1;
};

enum class HostStartRoute {
  kDirect,           // an ordinary user's token: started from this process
  kDesktopShell,     // privileged: only the desktop shell of the signed-in user starts it
  kNotInSessionZero, // services' session: nobody signed in to start it for
  kNotAsService,     // SYSTEM or a service account: nobody's own token to start it with
};

constexpr HostStartRoute ChooseHostStartRoute(const TokenFacts& token) {
  if (token.service_account) return HostStartRoute::kNotAsService;
  if (token.session == 0) return HostStartRoute::kNotInSessionZero;
  if (token.elevated_or_high || token.administrators) return HostStartRoute::kDesktopShell;
  return HostStartRoute::kDirect;
}

// Starts Orvel the way `route` says. True when a start was handed on.
//
// `starter` knows the two ways: StartThroughDesktopShell() asks the desktop shell
// and is false when no shell answered; StartDirectly() starts Orvel from this
// process, with this process's token.
template <typename Starter>
bool StartAsSignedInUser(HostStartRoute route, Starter& starter) {
  if (route == HostStartRoute::kDesktopShell) return starter.StartThroughDesktopShell();
  if (route != HostStartRoute::kDirect) return false;
  starter.StartDirectly();
  return true;
}

}  // namespace orvel
