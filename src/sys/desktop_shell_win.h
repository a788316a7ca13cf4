// Starting a program as the signed-in user from an elevated process. The desktop
// shell runs with the user's own token; a program that it starts gets that token, not
// the administrator token of the process that asked.
#pragma once

#include <string>

namespace orvel {

// COM on this thread (single-threaded apartment) for the lifetime of the object.
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_ = false;
};

// Asks the desktop shell to open `file` ("open" verb, no parameters) with `folder`
// as its working folder and the show state `show`: IShellWindows finds the desktop's
// window, whose shell view leads to IShellDispatch2::ShellExecute. False when no
// desktop shell answers (none runs, or one of the steps fails). Needs COM on this
// thread.
bool ShellExecuteThroughDesktop(const std::string& file, const std::string& folder, int show);

}  // namespace orvel
