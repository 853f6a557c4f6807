// Row validation: the checks run in a fixed order, later ones overriding earlier results.
#include "engine/validate_row.h"

#include <algorithm>
#include <cwchar>

#include "engine/name_refusal.h"
#include "modes/change_mode.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

// The user's locale decides how letters of other scripts and full-width letters fold. ASCII folds
// as ASCII in every locale, so names that differ in an ASCII character before any other are told
// apart without the runtime's locale (and its lock).
bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common && i < kPathBuffer; ++i) {
    const wchar_t x = a[i], y = b[i];
    if (x >= 0x80 || y >= 0x80) break;
    if (x == y) continue;
    const wchar_t lower = x | 0x20;
    if (lower != (y | 0x20) || lower < L'a' || lower > L'z') return false;
  }
  return _wcsnicmp(a.c_str(), b.c_str(), kPathBuffer) == 0;
}

// The characters searched for, in this order; the first one found decides.
struct CharRule {
  wchar_t c;
  ItemStatus status;
};
constexpr CharRule kCharRules[] = {
    {L'"', ItemStatus::InvalidName}, {L':', ItemStatus::InvalidName},  {L'/', ItemStatus::InvalidName},
    {L'?', ItemStatus::InvalidName}, {L'<', ItemStatus::InvalidName},  {L'>', ItemStatus::InvalidName},
    {L'|', ItemStatus::InvalidName}, {L'\\', ItemStatus::Backslash},   {L',', ItemStatus::UnsuitableChar},
    {L';', ItemStatus::UnsuitableChar},
};

ItemStatus CheckCharacters(const std::wstring& newName) {
  ItemStatus result = newName.front() == L'.' ? ItemStatus::UnsuitableChar : ItemStatus::Ready;
  for (const CharRule& rule : kCharRules) {
    if (newName.find(rule.c) != std::wstring::npos) return rule.status;
  }
  return result;
}

}  // namespace

ItemStatus ValidateRow(RenameList& list, size_t row, int mode, bool store, PathExistence& existence,
                       bool longPaths) {
  const RenameItem& item = list.Row(row);
  if (item.status == ItemStatus::Filtered) return ItemStatus::Filtered;

  ItemStatus result = ItemStatus::Ready;
  if (item.newName.empty()) result = ItemStatus::InvalidName;

  if (IsNameMode(mode)) {
    const size_t pathLength = item.folder.size() + item.newName.size();
    if (pathLength > (longPaths ? kMaxLongPathChars : kMaxTargetPath)) {
      result = ItemStatus::TooLong;
    } else {
      if (item.newName == item.oldName || (mode != kModeLetterCase && EqualIgnoringCase(item.newName, item.oldName))) {
        result = ItemStatus::Unchanged;
      } else if (result == ItemStatus::Ready) {
        result = CheckCharacters(item.newName);
        if (result == ItemStatus::Ready && RefusedNameReason(item.newName)) result = ItemStatus::InvalidName;
      }
      if (result == ItemStatus::Ready && mode != kModeLetterCase && mode != kModeShortName &&
          existence.ExistsIn(item.folder, item.newName) &&
          !existence.IsOwnShortName(item.SourcePath(), item.TargetPath())) {
        result = ItemStatus::TargetExists;
      }
    }
  }
  if (item.newName.find(L'*') != std::wstring::npos) result = ItemStatus::InvalidName;
  if (!existence.ExistsIn(item.folder, item.oldName)) result = ItemStatus::SourceMissing;

  if (store) list.SetStatus(row, result);
  return result;
}

}  // namespace korval
