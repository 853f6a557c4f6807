// The rename list in memory.
#include "engine/rename_list.h"

#include "platform/path_limits.h"

namespace korval {
namespace {

std::wstring RenameItem::*FieldOf(Column column) {
  switch (column) {
    case Column::OldName: return &RenameItem::oldName;
    case Column::Extension: return &RenameItem::extension;
    case Column::Folder: return &RenameItem::folder;
    case Column::NewName: return &RenameItem::newName;
    case Column::Size: return &RenameItem::size;
    case Column::Date: return &RenameItem::date;
  }
  return &RenameItem::oldName;
}

}  // namespace

const std::wstring& RenameList::Text(size_t row, Column column) const { return rows_[row].*FieldOf(column); }

void RenameList::SetText(size_t row, Column column, std::wstring text) {
  if (text.size() > kMaxLongPathChars) text.resize(kMaxLongPathChars);
  rows_[row].*FieldOf(column) = std::move(text);
}

size_t RenameList::Insert(size_t index, RenameItem item) {
  if (index > rows_.size()) index = rows_.size();
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
  return index;
}

void RenameList::Erase(size_t row) {
  if (row < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
}

void RenameList::EraseFlagged(const std::vector<bool>& flagged) {
  size_t kept = 0;
  for (size_t row = 0; row < rows_.size(); ++row) {
    if (row < flagged.size() && flagged[row]) continue;
    if (kept != row) rows_[kept] = std::move(rows_[row]);
    ++kept;
  }
  rows_.resize(kept);
}

std::optional<Column> ColumnAt(int listViewColumn, bool sizeShown, bool dateShown) {
  if (listViewColumn >= 0 && listViewColumn < 4) return static_cast<Column>(listViewColumn);
  if (listViewColumn == 4 && sizeShown) return Column::Size;
  if (listViewColumn == (sizeShown ? 5 : 4) && dateShown) return Column::Date;
  return std::nullopt;
}

}  // namespace korval
