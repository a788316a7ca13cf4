// Build tool for the package that the installer embeds.
//   orvel_package sample OUT VERSION     writes the deterministic sample package
//   orvel_package check IN VERSION OUT   checks a vendor's package and copies it to OUT
// OUT is the package's file name in Orvel's folder: its extension tells where the
// version lies (see package_header.h). A package must hold at least its header, begin
// with the magic "vexa", and carry the version the installer is built for; otherwise
// the build stops here, with a message that says which byte is wrong and why.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "install/package_header.h"

namespace {

constexpr std::size_t kSampleSize = 1125599;

int Fail(const std::string& message) {
  std::fprintf(stderr, "orvel_package: %s\n", message.c_str());
  return 1;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

bool ParseVersion(const char* text, int& version) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 0 || value > 255) return false;
  version = static_cast<int>(value);
  return true;
}

// Whether the package named `path` is a 3bs package, by its extension.
bool Is3bsPath(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  return dot != std::string::npos && path.find('/', dot) == std::string::npos &&
         orvel::Is3bsExtension(std::string_view(path).substr(dot));
}

// Bytes as a vendor can compare them with a hex dump: 76 65 78 61 ("vexa").
std::string Shown(std::string_view bytes) {
  std::string hex, text;
  for (const char c : bytes) {
    const unsigned byte = static_cast<unsigned char>(c);
    hex += "0123456789abcdef"[byte >> 4];
    hex += "0123456789abcdef"[byte & 15];
    hex += ' ';
    text += byte >= 0x20 && byte < 0x7f ? c : '.';
  }
  return hex + "(\"" + text + "\")";
}

// Why the package `in`, to be installed as `out`, cannot be embedded for `version`;
// empty when it can.
std::string PackageProblem(const std::string& in, const std::string& bytes, int version, const std::string& out) {
  constexpr std::string_view kMagic = "vexa";
  if (bytes.size() < orvel::PackageHeader::k3bsSize)
    return in + " is shorter than a package header (" + std::to_string(orvel::PackageHeader::k3bsSize) + " bytes)";
  if (bytes.compare(0, kMagic.size(), kMagic) != 0)
    return in + " is not a package: a package begins with the 4 bytes " + Shown(kMagic) + ", this file with " +
           Shown(std::string_view(bytes).substr(0, kMagic.size()));
  const bool is_3bs = Is3bsPath(out);
  const int found = orvel::InstalledPackageVersion(bytes, is_3bs);
  if (found == version) return "";
  const std::string name = out.substr(out.rfind('/') + 1);
  const std::size_t at = is_3bs ? 5 : 4;
  const int wanted = is_3bs ? version : version + 32;
  const std::string rule = is_3bs ? "in a package named " + name + " byte 5 (counting from 0) is the version"
                                  : "in a package named " + name + " (no \"3bs\" in its extension) byte 4 " +
                                        "(counting from 0) is the version plus 32";
  std::string problem = in + (!is_3bs && found < 0 ? " carries no version" : " carries version " + std::to_string(found)) +
                        ", but the installer is built for version " + std::to_string(version) +
                        " (ORVEL_PACKAGE_VERSION): " + rule + ", so it must be " + std::to_string(wanted) +
                        ", and it is " + std::to_string(static_cast<unsigned char>(bytes[at]));
  if (!is_3bs && static_cast<unsigned char>(bytes[5]) == version)
    problem += ". Byte 5 is " + std::to_string(version) + " as in a .3bs package: should ORVEL_PACKAGE_FILE_NAME end in .3bs?";
  return problem;
}

std::string SamplePackage(int version, bool is_3bs) {
  std::string bytes = "vexa";
  if (is_3bs) {
    bytes += '\x02';
    bytes += static_cast<char>(version);
    bytes += '\0';  // the byte a comparing-mode reader takes for a 3bs version
  } else {
    bytes += static_cast<char>(version + 32);
  }
  std::uint32_t seed = 0x0badf00du;
  while (bytes.size() < kSampleSize) {
    seed = seed * 1664525u + 1013904223u;
    bytes += static_cast<char>(seed >> 24);
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string verb = argc > 1 ? argv[1] : "";
  int version = 0;
  if (verb == "sample" && argc == 4 && ParseVersion(argv[3], version)) {
    const bool is_3bs = Is3bsPath(argv[2]);
    if (!is_3bs && version > 255 - 32) return Fail("a package of this kind holds versions up to 223");
    if (!WriteFile(argv[2], SamplePackage(version, is_3bs))) return Fail(std::string("cannot write ") + argv[2]);
    return 0;
  }
  if (verb == "check" && argc == 5 && ParseVersion(argv[3], version)) {
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) return Fail(std::string("cannot read the package ") + argv[2]);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string problem = PackageProblem(argv[2], bytes, version, argv[4]);
    if (!problem.empty()) return Fail(problem);
    if (!WriteFile(argv[4], bytes)) return Fail(std::string("cannot write ") + argv[4]);
    return 0;
  }
  return Fail("usage: orvel_package sample OUT VERSION | check IN VERSION OUT");
}
