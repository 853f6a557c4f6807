// The folder verb in the registry: its texts, a program path with spaces and Japanese characters,
// removal without a trace, and refused writes and deletes.
#include "config/shell_verb.h"

#include <gtest/gtest.h>

#include "testing/refusing_registry.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

std::wstring DefaultValue(const wchar_t* key) {
  RegistryData data;
  EXPECT_EQ(0, RegistryValue(RegistryOp::ReadText, HKEY_CLASSES_ROOT, key, nullptr, data)) << Utf8(key);
  return data.text;
}

class ShellVerbTest : public testing::Test {
 protected:
  ShellVerbTest() { DeleteRegistryKey(HKEY_CLASSES_ROOT, kShellVerbKey); }
  ~ShellVerbTest() override { DeleteRegistryKey(HKEY_CLASSES_ROOT, kShellVerbKey); }
  RefusingRegistry registry;
};

TEST_F(ShellVerbTest, InstallsTheCommandForAnyProgramPathAndRemovesEveryKey) {
  struct Case {
    const wchar_t* path;
    int usejpname;
    const wchar_t* menu;
  };
  const Case cases[] = {
      {L"C:\\Program Files\\こ～ばりす～ず 試験版\\korvalith.exe", 1, L"こ～ばりす～ず へ"},
      {L"D:\\tools\\korvalith.exe", 0, L"Korvalith へ"},
      {L"\\\\server\\share\\名前 に 空白\\korvalith.exe", 1, L"こ～ばりす～ず へ"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(ShellVerbOutcome::Installed, SetShellVerb(true, registry, c.path, c.usejpname)) << Utf8(c.path);
    EXPECT_EQ(c.menu, DefaultValue(kShellVerbKey));
    EXPECT_EQ(L"\"" + std::wstring(c.path) + L"\" \"%1\"", DefaultValue(kShellVerbCommandKey));
    EXPECT_TRUE(IsShellVerbInstalled(registry));
    ASSERT_EQ(ShellVerbOutcome::Removed, SetShellVerb(false, registry, c.path, c.usejpname));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kShellVerbCommandKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kShellVerbKey));
    EXPECT_FALSE(IsShellVerbInstalled(registry));
  }
}

TEST_F(ShellVerbTest, ARefusedWriteLeavesNothingBehind) {
  for (const wchar_t* refused : {kShellVerbKey, kShellVerbCommandKey}) {
    registry.refuseWrite = {refused};
    EXPECT_EQ(ShellVerbOutcome::WriteFailed, SetShellVerb(true, registry, L"C:\\k\\korvalith.exe", 1)) << Utf8(refused);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kShellVerbKey)) << Utf8(refused);
    EXPECT_FALSE(IsShellVerbInstalled(registry));
  }
}

TEST_F(ShellVerbTest, ARefusedDeleteKeepsTheVerb) {
  ASSERT_EQ(ShellVerbOutcome::Installed, SetShellVerb(true, registry, L"C:\\k\\korvalith.exe", 1));
  registry.refuseDelete = {kShellVerbCommandKey};
  EXPECT_EQ(ShellVerbOutcome::DeleteFailed, SetShellVerb(false, registry, L"C:\\k\\korvalith.exe", 1));
  EXPECT_TRUE(IsShellVerbInstalled(registry));
}

TEST_F(ShellVerbTest, OnlyAMenuTextNamingTheProgramCountsAsInstalled) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"Korvalith へ", true}, {L"こ～ばりす～ず へ", true}, {L"Other へ", false}, {L"", false}};
  for (const auto& [text, installed] : cases) {
    RegistryData data;
    data.text = text;
    ASSERT_EQ(0, RegistryValue(RegistryOp::WriteText, HKEY_CLASSES_ROOT, kShellVerbKey, nullptr, data));
    EXPECT_EQ(installed, IsShellVerbInstalled(registry)) << Utf8(text);
  }
}

}  // namespace
}  // namespace korval
