// The name of the lock that copies of the installer updating the same folder share.
#pragma once

#include <string>
#include <string_view>

namespace orvel {

// "Global\OrvelUpdate-" and 8 hexadecimal digits of a hash of `final_path`, upper-cased
// (ASCII letters only), so that every copy names the lock of one folder alike, in
// every session.
std::string FolderLockName(std::string_view final_path);

}  // namespace orvel
