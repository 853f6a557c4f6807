// The status of a row, equal to the index of its icon in the list's image list, and the legend
// texts the about box shows beside the icons.
#pragma once

#include <string>

namespace korval {

enum class ItemStatus : int {
  None = 0,            // not yet checked
  TooLong = 1,         // folder + new name has 256 characters or more
  InvalidName = 2,     // empty new name, or one of " : / ? < > | *
  TargetExists = 3,    // an item with the target path exists already
  Backslash = 4,       // the new name holds a backslash
  UnsuitableChar = 5,  // starts with "." or holds "," or ";"
  Unchanged = 6,       // the new name equals the old one
  Ready = 7,           // the row can be changed
  Succeeded = 8,
  UndoEntry = 9,       // a row of a loaded change log
  SourceMissing = 10,  // nothing exists at the source path
  Failed = 11,         // failed, declined or skipped
  Filtered = 12,       // excluded by the narrowing filter
};

inline constexpr int kStatusCount = 13;

struct StatusLegendEntry {
  ItemStatus status;
  const wchar_t* text;
};

// In the order of the about box's strip of icons.
inline constexpr StatusLegendEntry kStatusLegend[] = {
    {ItemStatus::TooLong, L"絶対パスを含めたファイル名の長さが256文字以上"},
    {ItemStatus::InvalidName, L"無効文字 / \" : < > * ? | あり または 文字数0"},
    {ItemStatus::TargetExists, L"同名のファイルがすでに存在"},
    {ItemStatus::SourceMissing, L"変更元のファイルが存在しない"},
    {ItemStatus::Backslash, L"\\  あり"},
    {ItemStatus::UnsuitableChar, L"先頭に . または 不適当文字 , ; あり"},
    {ItemStatus::Unchanged, L"変更の前と後で同じファイル名"},
    {ItemStatus::Ready, L"変更が可能"},
    {ItemStatus::Filtered, L"絞り込みにより変更の対象外"},
    {ItemStatus::Succeeded, L"変更に成功"},
    {ItemStatus::Failed, L"変更に失敗"},
    {ItemStatus::UndoEntry, L"変更したファイル名を元に戻す"},
};

// The legend as the about box shows it: each line begins with "‥‥ ", lines apart by an empty line.
std::wstring StatusLegendText();

}  // namespace korval
