// The registry object, the per-user key and the built-in bilingual error message.
#include "base/program_state.h"

#include <gtest/gtest.h>

#include "base/builtin_texts.h"
#include "base/message_boxes_win.h"
#include "base/registry_access_win.h"
#include "robot/dialog_robot.h"
#include "scratch.h"

namespace orvel {
namespace {

using test::DeleteRegistryTree;
using test::DialogRobot;

const std::string kScratchKey = "Software\\Veltro\\OrvelRegistryTest";

class RegistryAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteRegistryTree(HKEY_CURRENT_USER, kScratchKey);
    registry_.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(registry_.OpenKey(kScratchKey, KeyOpening::kCreateIfMissing));
  }
  void TearDown() override {
    registry_.CloseKey();
    DeleteRegistryTree(HKEY_CURRENT_USER, kScratchKey);
  }
  void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kScratchKey.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
  }
  RegistryAccess registry_{KEY_ALL_ACCESS | KEY_WOW64_64KEY};
};

TEST_F(RegistryAccessTest, ReadsStringsAsStored) {
  SetRaw("plain", REG_SZ, "C:\\Orvel", 9);
  SetRaw("expand", REG_EXPAND_SZ, "%ProgramFiles%\\Orvel", 21);
  SetRaw("unterminated", REG_SZ, "abc", 3);
  SetRaw("empty", REG_SZ, "", 0);
  SetRaw("inner", REG_SZ, "ab\0cd", 6);
  struct Case {
    const char* name;
    const char* expected;
  } cases[] = {{"plain", "C:\\Orvel"}, {"expand", "%ProgramFiles%\\Orvel"}, {"unterminated", "abc"},
               {"empty", ""}, {"inner", "ab"}, {"missing", ""}};
  for (const Case& c : cases) {
    std::string value = "stale";
    EXPECT_TRUE(registry_.ReadString(c.name, value)) << c.name;
    EXPECT_EQ(value, c.expected) << c.name;
  }
  EXPECT_TRUE(registry_.ValueExists("empty"));
  EXPECT_FALSE(registry_.ValueExists("missing"));
}

TEST_F(RegistryAccessTest, OtherTypesAreErrors) {
  const DWORD number = 5;
  SetRaw("dword", REG_DWORD, &number, sizeof number);
  SetRaw("binary", REG_BINARY, "xy", 2);
  SetRaw("multi", REG_MULTI_SZ, "a\0b\0", 5);
  for (const char* name : {"dword", "binary", "multi"}) {
    std::string value;
    EXPECT_EQ(registry_.ReadString(name, value).Code(), static_cast<DWORD>(ERROR_UNSUPPORTED_TYPE)) << name;
  }
}

TEST_F(RegistryAccessTest, WritesDwordsOnlyIntoAnOpenKey) {
  ASSERT_TRUE(registry_.WriteInteger("EstimatedSize", 1234));
  DWORD value = 0;
  ASSERT_TRUE(test::GetRegistryDword(HKEY_CURRENT_USER, kScratchKey, "EstimatedSize", value));
  EXPECT_EQ(value, 1234u);
  registry_.CloseKey();
  EXPECT_FALSE(registry_.WriteInteger("EstimatedSize", 1));
  // Opening a missing key without creating it fails and leaves no key open.
  EXPECT_FALSE(registry_.OpenKey(kScratchKey + "\\missing", KeyOpening::kExisting));
  EXPECT_FALSE(registry_.HasOpenKey());
  std::string value_text = "stale";
  EXPECT_TRUE(registry_.ReadString("anything", value_text));
  EXPECT_EQ(value_text, "");
}

TEST(OpenUserKeyTest, CreatesTheMissingPerUserKey) {
  const std::string key = "Software\\Veltro\\OrvelUserKeyTest";
  DeleteRegistryTree(HKEY_CURRENT_USER, key);
  Program().HostAppName = "OrvelUserKeyTest";
  Program().SharedRegistry = std::make_unique<RegistryAccess>(KEY_ALL_ACCESS | KEY_WOW64_64KEY);
  OpenUserKey();
  EXPECT_TRUE(Program().SharedRegistry->HasOpenKey());
  EXPECT_EQ(Program().SharedRegistry->RootKey(), HKEY_CURRENT_USER);
  Program().SharedRegistry->CloseKey();
  HKEY opened;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened), ERROR_SUCCESS);
  DWORD values = 99;
  ::RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
  ::RegCloseKey(opened);
  EXPECT_EQ(values, 0u);
  DeleteRegistryTree(HKEY_CURRENT_USER, key);
  Program() = ProgramState();
}

TEST(ShowFallbackErrorTest, EnglishOrRussianByTheUserInterface) {
  ProgramState& state = Program();
  state.UpdateTitle = "Russian title";
  state.UpdateTitleEn = "Orvel update";
  DialogRobot robot;
  state.RussianUi = false;
  ShowFallbackError(kRegistryErrorEn, kRegistryErrorRu);
  state.RussianUi = true;
  ShowFallbackError(kRegistryErrorEn, kRegistryErrorRu);
  const auto seen = robot.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].caption, "Orvel update");
  EXPECT_EQ(seen[0].text, kRegistryErrorEn);
  EXPECT_EQ(seen[0].buttons, std::vector<std::string>{"OK"});
  EXPECT_EQ(seen[1].caption, "Russian title");
  EXPECT_EQ(seen[1].text, test::Utf8FromCodePage(kRegistryErrorRu, CP_ACP));
  state = ProgramState();
}

}  // namespace
}  // namespace orvel
