// The folder verb of the shell ("フォルダの右クリックメニュー") and "設定情報を削除して終了": what they
// change in the registry or the settings file, and what they tell the person.
#include "config/display_name.h"
#include "config/settings_removal.h"
#include "config/shell_verb.h"
#include "engine/show_message.h"
#include "platform/format_text.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "ui/main_frame.h"

namespace korval {
namespace {

struct VerbReport {
  const wchar_t* caption;
  const wchar_t* text;
};

// Before Windows Vista an administrator account was needed; from Vista on, an elevated start.
constexpr VerbReport kWriteFailed[2] = {
    {L"Registry Write Failed. Check User",
     L"右クリックメニュー設定用のレジストリキーが保存できません。\r\n\r\nAdministrator権限のユーザーで実行してください。"},
    {L"Registry Write Failed. Check Access Level",
     L"右クリックメニュー設定用のレジストリキーが保存できません。\r\n\r\n「管理者として実行」で起動させると成功する可能性があります。"},
};
constexpr VerbReport kDeleteFailed[2] = {
    {L"Registry Delete Failed. Check User",
     L"右クリックメニュー設定用のレジストリキーが削除できません。\r\n\r\nAdministrator権限のユーザーで実行してください。"},
    {L"Registry Delete Failed. Check Access Level",
     L"右クリックメニュー設定用のレジストリキーが削除できません。\r\n\r\n「管理者として実行」で起動させると成功する可能性があります。"},
};

std::wstring ProgramPath() {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

// Installs or removes the verb; the check mark follows what the registry holds afterwards.
void SetVerb(Workspace& work, const Frame& frame, bool on) {
  const ShellVerbOutcome outcome = SetShellVerb(on, *work.registry, ProgramPath(), work.settings.usejpname);
  if (outcome == ShellVerbOutcome::Installed || outcome == ShellVerbOutcome::Removed) {
    work.settings.shellVerbInstalled = outcome == ShellVerbOutcome::Installed;
    work.settings.dispcmenu = work.settings.shellVerbInstalled ? 1 : 0;
  } else {
    const VerbReport& report =
        (outcome == ShellVerbOutcome::WriteFailed ? kWriteFailed : kDeleteFailed)[work.windows.code >= kCodeWindowsVista];
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONINFORMATION, report.caption, report.text,
                MessageClass::Error);
  }
  ShowMenuChecks(work, frame);
}

// The ini file holds the settings: on Yes it is emptied down to its section header.
bool ResetIniAsked(Workspace& work) {
  if (ShowMessage(MessageKind::Plain, MB_YESNO | MB_ICONINFORMATION, L"Initalize Config?",
                  L"設定(ini)ファイルを初期化して終了します。よろしいですか。", MessageClass::Question) != IDYES) {
    return false;
  }
  if (work.store) ResetSettingsIni(work.store->IniPath());
  work.settingsRemoved = true;
  return true;
}

// The registry holds the settings: unless Cancel, the program key goes. Whether or not that
// worked, the settings are not written again at exit; the window closes only when it worked.
bool DeleteRegistryAsked(Workspace& work, const wchar_t* programKey) {
  const wchar_t* name = DisplayName(work.settings.usejpname);
  if (ShowMessage(MessageKind::Plain, MB_OKCANCEL | MB_ICONEXCLAMATION, L"Delete Reg & Close?",
                  FormatText(L"%s のレジストリを削除して終了します。よろしいですか。\n", name),
                  MessageClass::Question) == IDCANCEL) {
    return false;
  }
  const bool deleted = DeleteProgramRegistry(true, *work.registry, programKey) == kRegistryRemoved;
  work.settingsRemoved = true;
  if (!deleted) {
    ShowMessage(MessageKind::Plain, MB_OK | MB_ICONSTOP, L"Cannot Delete Registry",
                FormatText(L"%s のレジストリの削除に失敗しました。\nレジストリエディタを開いて\nHKEY_CURRENT_USER\\%s\n "
                           L"を直接削除してください。(しなくても構いません。)",
                           name, programKey),
                MessageClass::Error);
    return false;
  }
  ShowMessage(MessageKind::Plain, MB_OK | MB_ICONINFORMATION, L"Registry Successfully Deleted",
              FormatText(L"%s のレジストリは正常に削除されました。", name), MessageClass::Info);
  return true;
}

}  // namespace

void OnShellVerb(CommandContext& c) { SetVerb(c.work, c.frame, !c.work.settings.shellVerbInstalled); }

void OnDeleteSettings(CommandContext& c) {
  Workspace& work = c.work;
  const std::wstring programKey = work.store ? work.store->RegistryKey() : std::wstring(kProgramKey);
  const bool dropped = HasProgramRegistry(*work.registry, programKey.c_str())
                           ? DeleteRegistryAsked(work, programKey.c_str())
                           : ResetIniAsked(work);
  if (!dropped) return;
  if (work.settings.shellVerbInstalled) SetVerb(work, c.frame, false);
  PostMessageW(c.frame.main, WM_CLOSE, 0, 0);
}

}  // namespace korval
