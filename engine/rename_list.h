// The rows to be renamed, kept in memory; the list view only draws them. Rows are addressed by their
// position in display order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/item_status.h"

namespace korval {

enum class Column { OldName = 0, Extension = 1, Folder = 2, NewName = 3, Size = 4, Date = 5 };

struct RenameItem {
  std::wstring oldName;    // name with extension, at most 255 characters
  std::wstring extension;  // with its dot, or empty; a single space in undo mode
  std::wstring folder;     // drive and folder, ending in a backslash
  std::wstring newName;    // computed new name, or the description of a time stamp or attribute change
  std::wstring size;       // display texts, present while their columns are shown
  std::wstring date;
  ItemStatus status = ItemStatus::None;
  bool selected = false;
  // The regular expression's work was cut off at this row or before it in the pass that computed its
  // name: the name was never worked out, so an execution leaves the row alone.
  bool cutOff = false;
  // The new name asked for a tag the file does not have (tag number + 1; 0: none): the row is not
  // renamed, and its reason names the tag.
  uint8_t missingTag = 0;

  std::wstring SourcePath() const { return folder + oldName; }
  std::wstring TargetPath() const { return folder + newName; }
};

// Column headers of the list.
inline constexpr const wchar_t* kColumnHeaders[] = {L"変更前", L"拡張子", L"フォルダ名", L"変更後", L"サイズ"};
inline constexpr const wchar_t* kUndoFolderHeader = L"<備考>";
inline constexpr const wchar_t* kDateHeaders[] = {L"作成日時", L"更新日時", L"撮影日時", L"撮影or作成"};

class RenameList {
 public:
  size_t Count() const { return rows_.size(); }
  bool Empty() const { return rows_.empty(); }

  RenameItem& Row(size_t row) { return rows_[row]; }
  const RenameItem& Row(size_t row) const { return rows_[row]; }

  // Column texts, always at most kMaxLongPathChars characters (longer texts are cut when written).
  const std::wstring& Text(size_t row, Column column) const;
  void SetText(size_t row, Column column, std::wstring text);
  ItemStatus Status(size_t row) const { return rows_[row].status; }
  void SetStatus(size_t row, ItemStatus status) { rows_[row].status = status; }

  // Inserts at index (clamped to the end); returns the row's position.
  size_t Insert(size_t index, RenameItem item);
  size_t Append(RenameItem item) { return Insert(rows_.size(), std::move(item)); }
  void Erase(size_t row);
  // Drops every row whose flag is set, in one sweep (erasing rows one by one from the front of a long
  // list moves all the rows behind each one). Rows beyond the flags are kept.
  void EraseFlagged(const std::vector<bool>& flagged);
  void Clear() { rows_.clear(); }

  std::vector<RenameItem>& Rows() { return rows_; }
  const std::vector<RenameItem>& Rows() const { return rows_; }

  // While a change log is loaded the rows are log entries, the filter does nothing and the folder
  // column shows remarks.
  bool undoMode = false;
  // The filter text last applied.
  std::wstring lastFilterText;

 private:
  std::vector<RenameItem> rows_;
};

// Which column a list-view column number shows, given the size and date column switches: the size
// column, when shown, is column 4; the date column is 4 or 5.
std::optional<Column> ColumnAt(int listViewColumn, bool sizeShown, bool dateShown);

}  // namespace korval
