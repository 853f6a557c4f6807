// Filter matching: "!" negates; tokens apart by spaces; any matching token keeps a row.
#include "engine/list_filter.h"

#include <vector>

#include "modes/string_helpers.h"

namespace korval {
namespace {

struct ParsedFilter {
  bool negated = false;
  bool empty = true;
  std::vector<std::wstring> tokens;
};

ParsedFilter Parse(std::wstring text) {
  ParsedFilter filter;
  Truncate(text, kMaxFilterText);
  if (!text.empty() && text.front() == L'!') {
    filter.negated = true;
    text.erase(0, 1);
  }
  filter.empty = text.empty();
  size_t start = 0;
  while (!filter.empty && filter.tokens.size() < kMaxFilterTokens) {
    const size_t space = text.find(L' ', start);
    filter.tokens.push_back(text.substr(start, space == std::wstring::npos ? std::wstring::npos : space - start));
    if (space == std::wstring::npos) break;
    start = space + 1;
  }
  return filter;
}

bool TokenMatches(const std::wstring& token, const RenameItem& item) {
  if (token.empty()) return false;
  if (token == kSelectionKeyword) return item.selected;
  if (token.find_first_of(L"*?") != std::wstring::npos) return WildcardMatch(token, item.oldName);
  return item.oldName.find(token) != std::wstring::npos;
}

bool Matches(const ParsedFilter& filter, const RenameItem& item) {
  if (filter.empty) return true;
  for (const std::wstring& token : filter.tokens) {
    if (TokenMatches(token, item)) return true;
  }
  return false;
}

bool HoldsSelectionKeyword(const ParsedFilter& filter) {
  for (const std::wstring& token : filter.tokens) {
    if (token == kSelectionKeyword) return true;
  }
  return false;
}

}  // namespace

bool ApplyFilter(RenameList& list, FilterKind kind, const std::wstring& filterText) {
  if (list.undoMode) return false;
  const ParsedFilter filter = Parse(filterText);
  list.lastFilterText = filterText.substr(0, kMaxFilterText);
  if (kind == FilterKind::SelectionOnly && !HoldsSelectionKeyword(filter)) return false;

  bool changed = false;
  for (RenameItem& item : list.Rows()) {
    const bool excluded = Matches(filter, item) == filter.negated;
    const ItemStatus wanted = excluded ? ItemStatus::Filtered : ItemStatus::None;
    if (kind == FilterKind::ChangedOnly && (item.status == ItemStatus::Filtered) == excluded) continue;
    if (item.status != wanted) {
      item.status = wanted;
      changed = true;
    }
  }
  return changed;
}

}  // namespace korval
