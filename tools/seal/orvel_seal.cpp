// Build tool that seals the installer after linking, and checks a sealed file.
//   orvel_seal seal FILE     writes the seal into FILE (replaced only when all went well)
//   orvel_seal verify FILE   exit 0 when FILE's seal matches, 1 otherwise
// A file that is not a PE file, has no seal slot or is signed already is refused with
// a message and a non-zero exit, so the build stops instead of shipping it unsealed.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "install/integrity_seal.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "orvel_seal: %s\n", message.c_str());
  return 1;
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Writes beside the file and renames over it, so a failed write leaves the old file.
bool ReplaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const std::string temporary = path + ".sealing";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string verb = argc > 1 ? argv[1] : "";
  if (argc != 3 || (verb != "seal" && verb != "verify")) return Fail("usage: orvel_seal seal|verify FILE");
  const std::string path = argv[2];
  std::vector<std::uint8_t> image;
  if (!ReadFile(path, image)) return Fail("cannot read " + path);

  if (verb == "seal") {
    const orvel::SealFault fault = orvel::SealImage(image);
    if (fault != orvel::SealFault::kNone) return Fail("cannot seal " + path + ": " + orvel::SealFaultText(fault));
    if (!ReplaceFile(path, image)) return Fail("cannot write " + path);
    return 0;
  }
  bool intact = false;
  const orvel::SealFault fault = orvel::CheckSealedImage(image, intact);
  if (fault != orvel::SealFault::kNone) return Fail("cannot check " + path + ": " + orvel::SealFaultText(fault));
  if (!intact) return Fail(path + " does not match its seal (altered, damaged or never sealed)");
  std::printf("%s: seal intact\n", path.c_str());
  return 0;
}
