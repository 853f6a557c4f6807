// Installing and removing the folder verb.
#include "config/shell_verb.h"

#include "config/display_name.h"
#include "platform/format_text.h"

namespace korval {

std::wstring ShellVerbMenuText(int usejpname) { return FormatText(L"%s へ", DisplayName(usejpname)); }

std::wstring ShellVerbCommand(const std::wstring& programPath) {
  return FormatText(L"\"%s\" \"%%1\"", programPath.c_str());
}

ShellVerbOutcome SetShellVerb(bool on, RegistryAccess& registry, const std::wstring& programPath, int usejpname) {
  RegistryData data;
  if (on) {
    data.text = ShellVerbMenuText(usejpname);
    if (registry.Value(RegistryOp::WriteText, HKEY_CLASSES_ROOT, kShellVerbKey, nullptr, data) != 0) {
      return ShellVerbOutcome::WriteFailed;
    }
    data.text = ShellVerbCommand(programPath);
    if (registry.Value(RegistryOp::WriteText, HKEY_CLASSES_ROOT, kShellVerbCommandKey, nullptr, data) == 0) {
      return ShellVerbOutcome::Installed;
    }
    // A verb without its command would show in every folder's menu and start nothing: take it
    // away again and report the write as failed.
    registry.DeleteKey(HKEY_CLASSES_ROOT, kShellVerbCommandKey, KeyDeletion::IfNoSubkeys);
    registry.DeleteKey(HKEY_CLASSES_ROOT, kShellVerbKey, KeyDeletion::IfNoSubkeys);
    return ShellVerbOutcome::WriteFailed;
  }
  registry.DeleteKey(HKEY_CLASSES_ROOT, kShellVerbCommandKey, KeyDeletion::IfNoSubkeys);
  if (registry.DeleteKey(HKEY_CLASSES_ROOT, kShellVerbKey, KeyDeletion::IfNoSubkeys) != 0) {
    return ShellVerbOutcome::DeleteFailed;
  }
  return ShellVerbOutcome::Removed;
}

bool IsShellVerbInstalled(RegistryAccess& registry) {
  RegistryData data;
  if (registry.Value(RegistryOp::ReadText, HKEY_CLASSES_ROOT, kShellVerbKey, nullptr, data) != 0) return false;
  return data.text.find(kProductName) != std::wstring::npos || data.text.find(kJapaneseName) != std::wstring::npos;
}

}  // namespace korval
