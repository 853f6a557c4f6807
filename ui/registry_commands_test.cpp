// "フォルダの右クリックメニュー" and "設定情報を削除して終了" from the menu: the registry and the
// settings file afterwards, the check mark, and the reports.
#include <gtest/gtest.h>

#include "config/settings_removal.h"
#include "config/shell_verb.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "testing/main_window_test_fixture.h"

namespace korval {
namespace {

constexpr const wchar_t* kTestRegistryKey = L"Software\\Pinecot Tools\\KorvalithCommandsTest";

std::wstring ThisProgram() {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

class RegistryCommandsTest : public MainWindowTest {
 protected:
  RegistryCommandsTest() { DeleteRegistryKey(HKEY_CLASSES_ROOT, kShellVerbKey); }
  ~RegistryCommandsTest() override {
    Close();
    DeleteRegistryKey(HKEY_CLASSES_ROOT, kShellVerbKey);
    DeleteRegistryKey(HKEY_CURRENT_USER, kTestRegistryKey);
  }
  bool VerbChecked() const {
    return (GetMenuState(GetMenu(window), IDM_SHELL_VERB, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  void Send(int command) {
    DispatchCommand(Work(), Parts(), command);
    Pump(20);
  }
};

TEST_F(RegistryCommandsTest, TheMenuEntryInstallsAndRemovesTheVerb) {
  Open();
  Work().registry = &SystemRegistry();
  EXPECT_FALSE(VerbChecked());
  Send(IDM_SHELL_VERB);
  EXPECT_TRUE(VerbChecked());
  RegistryData command;
  ASSERT_EQ(0, RegistryValue(RegistryOp::ReadText, HKEY_CLASSES_ROOT, kShellVerbCommandKey, nullptr, command));
  EXPECT_EQ(L"\"" + ThisProgram() + L"\" \"%1\"", command.text);
  EXPECT_TRUE(sink.requests.empty());
  Send(IDM_SHELL_VERB);
  EXPECT_FALSE(VerbChecked());
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kShellVerbKey));
}

TEST_F(RegistryCommandsTest, ARefusedRegistryIsReportedByWindowsVersion) {
  struct Case {
    bool removing;
    int windowsCode;
    const wchar_t* caption;
    const wchar_t* text;
  };
  const Case cases[] = {
      {false, kCodeWindows10, L"Registry Write Failed. Check Access Level",
       L"右クリックメニュー設定用のレジストリキーが保存できません。\r\n\r\n「管理者として実行」で起動させると成功する可能性があります。"},
      {false, kCodeWindowsXP, L"Registry Write Failed. Check User",
       L"右クリックメニュー設定用のレジストリキーが保存できません。\r\n\r\nAdministrator権限のユーザーで実行してください。"},
      {true, kCodeWindowsVista, L"Registry Delete Failed. Check Access Level",
       L"右クリックメニュー設定用のレジストリキーが削除できません。\r\n\r\n「管理者として実行」で起動させると成功する可能性があります。"},
      {true, kCodeWindowsXP, L"Registry Delete Failed. Check User",
       L"右クリックメニュー設定用のレジストリキーが削除できません。\r\n\r\nAdministrator権限のユーザーで実行してください。"},
  };
  for (const Case& c : cases) {
    Open();
    Work().windows.code = c.windowsCode;
    if (c.removing) {
      Work().registry = &SystemRegistry();
      Send(IDM_SHELL_VERB);
      ASSERT_TRUE(VerbChecked());
      Work().registry = &registry;  // refuses every delete of the verb's keys
    }
    sink.requests.clear();
    Send(IDM_SHELL_VERB);
    ASSERT_EQ(1u, sink.requests.size()) << Utf8(c.caption);
    EXPECT_EQ(c.caption, sink.requests[0].caption);
    EXPECT_EQ(c.text, sink.requests[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), sink.requests[0].style & (MB_TYPEMASK | MB_ICONMASK));
    EXPECT_EQ(c.removing, VerbChecked()) << "the mark shows what the registry holds";
    EXPECT_EQ(c.removing, RegistryKeyExists(HKEY_CLASSES_ROOT, kShellVerbKey));
    Close();
    DeleteRegistryKey(HKEY_CLASSES_ROOT, kShellVerbKey);
  }
}

TEST_F(RegistryCommandsTest, ResettingTheIniFileLeavesOnlyItsHeaderAndWritesNothingAtExit) {
  for (int answer : {IDNO, IDYES}) {
    program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nlivepreview=0\r\nmode=3\r\n");
    Open();
    sink.requests.clear();
    sink.Answer(answer);
    Send(IDM_DELETE_SETTINGS);
    ASSERT_EQ(1u, sink.requests.size());
    EXPECT_EQ(L"Initalize Config?", sink.requests[0].caption);
    EXPECT_EQ(L"設定(ini)ファイルを初期化して終了します。よろしいですか。", sink.requests[0].text);
    if (answer == IDYES) {
      EXPECT_FALSE(IsWindow(window)) << "the window closed";
      EXPECT_EQ("[Base]\r\n", program.ReadFile(L"korvalith.ini"));
    } else {
      EXPECT_TRUE(IsWindow(window));
      Close();
      EXPECT_NE(std::string::npos, program.ReadFile(L"korvalith.ini").find("mode=3"));
    }
  }
}

TEST_F(RegistryCommandsTest, DeletingTheRegistryKeepsAnotherProgramsVendorKey) {
  registryKey = kTestRegistryKey;
  DeleteFileW((program / L"use.ini").c_str());
  const SettingsStore store = SettingsStore::Choose(program.Path(), kTestRegistryKey);
  store.WriteInt(L"multiple", 1);
  store.WriteInt(L"_count", 5);
  store.WriteInt(L"_version", kProgramVersion);
  RegistryData tools;
  const bool hadTools = RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools) == 0;
  const DWORD toolsBefore = tools.number;
  Open();
  tools.number = 2;
  RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
  sink.requests.clear();
  Send(IDM_DELETE_SETTINGS);
  ASSERT_EQ(2u, sink.requests.size());
  EXPECT_EQ(L"Delete Reg & Close?", sink.requests[0].caption);
  EXPECT_EQ(L"こ～ばりす～ず のレジストリを削除して終了します。よろしいですか。\n", sink.requests[0].text);
  EXPECT_EQ(L"Registry Successfully Deleted", sink.requests[1].caption);
  EXPECT_EQ(L"こ～ばりす～ず のレジストリは正常に削除されました。", sink.requests[1].text);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kTestRegistryKey)) << "nothing written again at exit";
  ASSERT_EQ(0, RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools));
  EXPECT_EQ(1u, tools.number);
  tools.number = toolsBefore;
  if (hadTools) RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
}

TEST_F(RegistryCommandsTest, AFailedRegistryDeletionKeepsTheWindowAndSavesNothing) {
  registryKey = kTestRegistryKey;
  DeleteFileW((program / L"use.ini").c_str());
  const SettingsStore store = SettingsStore::Choose(program.Path(), kTestRegistryKey);
  store.WriteInt(L"multiple", 1);
  store.WriteInt(L"_count", 5);
  store.WriteInt(L"_version", kProgramVersion);
  Open();
  registry.refuseDelete.push_back(kTestRegistryKey);
  sink.requests.clear();
  Send(IDM_DELETE_SETTINGS);
  ASSERT_EQ(2u, sink.requests.size());
  EXPECT_EQ(L"Cannot Delete Registry", sink.requests[1].caption);
  EXPECT_EQ(L"こ～ばりす～ず のレジストリの削除に失敗しました。\nレジストリエディタを開いて\nHKEY_CURRENT_USER\\"
            L"Software\\Pinecot Tools\\KorvalithCommandsTest\n を直接削除してください。(しなくても構いません。)",
            sink.requests[1].text);
  EXPECT_TRUE(IsWindow(window));
  Work().settings.mode = 7;
  Close();
  EXPECT_EQ(0, store.ReadInt(L"mode", 23, 0)) << "the settings are not written at exit";
}

}  // namespace
}  // namespace korval
