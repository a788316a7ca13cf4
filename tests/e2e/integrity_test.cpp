// A damaged or altered copy of the installer refuses to run before it touches
// anything: one "badinstaller" text, exit code 5, the installed package, Orvel's
// uninstall entry and a running Orvel as they were.
#include "update_fixture.h"

#include <functional>

#include "scratch.h"

namespace orvel::e2e {
namespace {

std::uint32_t Load32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Offsets into the built installer where a changed byte must be noticed.
std::size_t PeHeader(const std::string& exe) { return Load32(exe, 0x3c) + 8; }  // time stamp
// The last byte of the code section's file data: padding that is never run, so the
// changed copy still reaches its check instead of crashing first.
std::size_t CodeSectionEnd(const std::string& exe) {
  const std::size_t pe = Load32(exe, 0x3c);
  const std::size_t optional_size = static_cast<unsigned char>(exe[pe + 20]) | static_cast<unsigned char>(exe[pe + 21]) << 8;
  const std::size_t first_section = pe + 24 + optional_size;
  return Load32(exe, first_section + 20) + Load32(exe, first_section + 16) - 1;
}
std::size_t InsidePackage(const std::string& exe) {
  const std::size_t at = exe.find(EmbeddedPackage().substr(0, 64));
  return at == std::string::npos ? 0 : at + EmbeddedPackage().size() / 2;
}

struct Tampering {
  const char* name;
  std::function<void(std::string&)> change;
};
void PrintTo(const Tampering& c, std::ostream* out) { *out << c.name; }

class TamperedInstallerTest : public UpdateTest, public ::testing::WithParamInterface<Tampering> {};

TEST_P(TamperedInstallerTest, RefusesAndWritesNothing) {
  std::string exe = test::ReadBytes(InstallerPath());
  ASSERT_GT(exe.size(), EmbeddedPackage().size());
  ASSERT_NE(InsidePackage(exe), 0u);
  GetParam().change(exe);
  const std::string copy = Scratch() + "OrvelUpdate-" + GetParam().name + ".exe";
  test::WriteBytes(copy, exe);
  const std::string installed = Orvel().PackageBytes();

  const InstallerRun run = RunCopy(copy, {}, {IDYES, IDYES, IDYES});

  EXPECT_EQ(run.boxes, std::vector<Box>{LanguageError(LanguageText("badinstaller"))});
  EXPECT_EQ(run.exit_code, kDamaged);
  EXPECT_TRUE(StillHolds(Orvel(), installed));
  EXPECT_FALSE(EstimatedSize(kNativeUninstallKey).has_value());
}

void Flip(std::string& exe, std::size_t at) { exe[at] = static_cast<char>(exe[at] ^ 0x01); }

// The check comes before Orvel is asked to quit: a copy that will not install must
// not close the user's Orvel, with its unsaved work, for nothing.
TEST_F(UpdateTest, DamagedCopyLeavesARunningOrvelAlone) {
  std::string exe = test::ReadBytes(InstallerPath());
  Flip(exe, PeHeader(exe));
  const std::string copy = Scratch() + "OrvelUpdate-altered.exe";
  test::WriteBytes(copy, exe);
  auto host = StartHost({});

  const InstallerRun run = RunCopy(copy, {}, {IDYES, IDYES, IDYES});

  EXPECT_EQ(run.boxes, std::vector<Box>{LanguageError(LanguageText("badinstaller"))});
  EXPECT_EQ(run.exit_code, kDamaged);
  EXPECT_FALSE(host->WaitForExit(1000)) << "Orvel was closed";
  EXPECT_TRUE(EventsNamed(HostLog(), "wm_quit").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Copies, TamperedInstallerTest,
    ::testing::Values(Tampering{"DosHeader", [](std::string& exe) { Flip(exe, 0x02); }},
                      Tampering{"PeHeader", [](std::string& exe) { Flip(exe, PeHeader(exe)); }},
                      Tampering{"CodeSection", [](std::string& exe) { Flip(exe, CodeSectionEnd(exe)); }},
                      Tampering{"Package", [](std::string& exe) { Flip(exe, InsidePackage(exe)); }},
                      Tampering{"LastByte", [](std::string& exe) { Flip(exe, exe.size() - 1); }},
                      Tampering{"Truncated", [](std::string& exe) { exe.resize(exe.size() - 8); }},
                      Tampering{"Appended", [](std::string& exe) { exe += std::string(16, 'x'); }}),
    [](const auto& info) { return std::string(info.param.name); });

// Nor does a copy load DLLs planted beside it (Downloads, say) under system DLLs' names, though Wine prefers them.
TEST_F(UpdateTest, NoDllIsLoadedFromBesideTheInstaller) {
  const std::string folder = Scratch() + "downloads\\", installer = folder + "OrvelUpdate.exe";
  ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(::CopyFileA(InstallerPath().c_str(), installer.c_str(), FALSE));
  const char* const planted[] = {"msimg32", "uxtheme", "dwmapi",  "ole32",   "oleaut32", "rpcrt4", "combase",
                                 "imm32",   "comctl32", "shell32", "shlwapi", "version",  "bcrypt", "cryptbase"};
  const std::string app_defaults = "Software\\Wine\\AppDefaults\\OrvelUpdate.exe";
  for (const char* name : planted) {
    ASSERT_TRUE(::CopyFileA(BuildFile(ORVEL_E2E_MARK_DLL).c_str(), (folder + name + ".dll").c_str(), FALSE));
    test::SetRegistryString(HKEY_CURRENT_USER, app_defaults + "\\DllOverrides", name, "native,builtin");
  }
  const InstallerRun quiet = RunCopy(installer, {"modest", "runapp"});
  const InstallerRun asked = RunCopy(installer, {}, {IDYES, IDYES});
  test::DeleteRegistryTree(HKEY_CURRENT_USER, app_defaults);

  EXPECT_EQ(quiet.exit_code, kWritten);
  EXPECT_EQ(asked.exit_code, kWritten);
  EXPECT_EQ(asked.boxes, (std::vector<Box>{InstallQuestion(), DoneQuestion()}));
  for (const char* name : planted) EXPECT_FALSE(test::Exists(folder + name + ".dll.loaded")) << name;
}

}  // namespace
}  // namespace orvel::e2e
