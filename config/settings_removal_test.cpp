// Dropping the stored settings: the program key and the maker's count, the ini file reset, and a
// registry whose values have the wrong type or size.
#include "config/settings_removal.h"

#include <gtest/gtest.h>

#include "config/settings.h"
#include "testing/refusing_registry.h"
#include "testing/test_stores.h"

namespace korval {
namespace {

constexpr const wchar_t* kKey = L"Software\\Pinecot Tools\\KorvalithRemovalTest";

class SettingsRemovalTest : public testing::Test {
 protected:
  SettingsRemovalTest() { SaveVendor(); }
  ~SettingsRemovalTest() override { RestoreVendor(); }

  void SetTools(DWORD tools) {
    RegistryData data;
    data.number = tools;
    RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, kVendorKey, L"tools", data);
  }
  void SetCount() {
    RegistryData data;
    data.number = 3;
    RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, kKey, L"_count", data);
  }
  // The vendor key may hold other tests' keys: its `tools` value is put back as it was.
  void SaveVendor() { vendorHadTools_ = RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools_) == 0; }
  void RestoreVendor() {
    if (vendorHadTools_) RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools_);
  }

  ScratchRegistryKey scratch{kKey};
  RefusingRegistry registry;

 private:
  RegistryData tools_;
  bool vendorHadTools_ = false;
};

TEST_F(SettingsRemovalTest, RemovesTheProgramKeyAndCountsTheMakersPrograms) {
  struct Case {
    DWORD tools;
    DWORD toolsAfter;
  };
  const Case cases[] = {{2, 1}, {5, 4}};
  for (const Case& c : cases) {
    SetCount();
    SetTools(c.tools);
    EXPECT_EQ(kRegistryRemoved, DeleteProgramRegistry(false, registry, kKey));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kKey)) << "not really: nothing is deleted";
    EXPECT_EQ(kRegistryRemoved, DeleteProgramRegistry(true, registry, kKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kKey));
    RegistryData tools;
    EXPECT_EQ(0, RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools));
    EXPECT_EQ(c.toolsAfter, tools.number) << c.tools;
  }
}

TEST_F(SettingsRemovalTest, TheLastProgramTakesOnlyAnEmptyVendorKeyAway) {
  SetCount();
  SetTools(1);
  const std::wstring sibling = std::wstring(kVendorKey) + L"\\AnotherTool";
  RegistryData data;
  ASSERT_EQ(0, RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, sibling.c_str(), L"x", data));
  EXPECT_EQ(kRegistryRemoved, DeleteProgramRegistry(true, registry, kKey));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, sibling.c_str())) << "another program's settings are kept";
  DeleteRegistryKey(HKEY_CURRENT_USER, sibling.c_str());
}

TEST_F(SettingsRemovalTest, NothingToRemoveWithoutAStartCount) {
  RegistryData data;
  ASSERT_EQ(0, RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, kKey, L"mode", data));
  EXPECT_EQ(kNoRegistryToRemove, DeleteProgramRegistry(true, registry, kKey));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kKey));
}

TEST_F(SettingsRemovalTest, AProgramKeyThatStaysIsAFailureWhateverTheCount) {
  for (DWORD tools : {DWORD{1}, DWORD{3}}) {
    SetCount();
    SetTools(tools);
    registry.refuseDelete = {kKey};
    EXPECT_EQ(kRegistryRemovalFailed, DeleteProgramRegistry(true, registry, kKey)) << tools;
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kKey));
  }
}

TEST(SettingsIniReset, LeavesOnlyTheSectionHeader) {
  IniProgramFolder program;
  program.folder.WriteFile(L"korvalith.ini", "[Base]\r\nmode=3\r\nlistfont=\"x\"\r\n");
  const std::wstring ini = program.folder / L"korvalith.ini";
  SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(ResetSettingsIni(ini));
  EXPECT_EQ("[Base]\r\n", program.IniBytes());
}

// Values another program (or a hand in the registry editor) left behind: wrong types, oversized
// texts and numbers beyond the bounds read as the defaults.
TEST(SettingsFromAForeignRegistry, WrongTypesAndOversizedValuesReadAsDefaults) {
  constexpr const wchar_t* kForeign = L"Software\\Pinecot Tools\\KorvalithForeignTest";
  ScratchRegistryKey scratch(kForeign);
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kForeign, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  auto text = [&](const wchar_t* name, const std::wstring& value) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  };
  auto raw = [&](const wchar_t* name, DWORD type, const void* bytes, DWORD size) {
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(bytes), size);
  };
  const DWORD tooBig = 5, huge = 0xFFFFFFFF;
  const unsigned long long quad = 1;
  text(L"subdir", L"3");                                  // a number stored as text
  raw(L"listcolor1", REG_BINARY, "\x01\x02\x03\x04\x05\x06", 6);
  raw(L"listcolor3", REG_QWORD, &quad, sizeof(quad));
  raw(L"columndate", REG_DWORD, &tooBig, sizeof(tooBig));  // bound 3
  raw(L"txteditor", REG_DWORD, &huge, sizeof(huge));       // negative
  raw(L"option2", REG_SZ, L"1", 4);
  raw(L"autoaddopt", REG_DWORD, &tooBig, sizeof(tooBig));  // a text stored as a number
  text(L"filterextall", std::wstring(5000, L'x'));         // far longer than any stored text
  raw(L"editorpath", REG_MULTI_SZ, L"a\0b\0", 10);
  text(L"bsexcept2", std::wstring(257, L'y'));
  RegCloseKey(key);

  const SettingsStore store(StoreKind::Registry, L"", kForeign);
  Settings s;
  LoadSettings(store, WindowsVersion{}, s);
  LoadSettingsOnFirstShow(store, s);
  const Settings defaults;
  EXPECT_EQ(defaults.subdir, s.subdir);
  EXPECT_EQ(defaults.listcolor1, s.listcolor1);
  EXPECT_EQ(defaults.listcolor3, s.listcolor3);
  EXPECT_EQ(defaults.columndate, s.columndate);
  EXPECT_EQ(defaults.txteditor, s.txteditor);
  EXPECT_EQ(defaults.autoaddopt, s.autoaddopt);
  EXPECT_EQ(defaults.filterextall, s.filterextall);
  EXPECT_EQ(defaults.editorpath, s.editorpath);
  EXPECT_EQ(defaults.bsexcept2, s.bsexcept2);
}

}  // namespace
}  // namespace korval
