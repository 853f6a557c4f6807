// Moving runs of selected rows and deleting them.
#include "macroedit/row_moves.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

// Rows named by letters; a capital letter is selected.
StepRows RowsOf(const std::string& pattern, std::vector<bool>& selected) {
  StepRows rows;
  selected.clear();
  for (char c : pattern) {
    rows.push_back(StepRow{std::wstring(1, static_cast<wchar_t>(std::tolower(c))), L"", L"", {}});
    selected.push_back(std::isupper(static_cast<unsigned char>(c)) != 0);
  }
  return rows;
}

std::string PatternOf(const StepRows& rows, const std::vector<bool>& selected) {
  std::string pattern;
  for (size_t i = 0; i < rows.size(); ++i) {
    const char c = static_cast<char>(rows[i].mode[0]);
    pattern += selected[i] ? static_cast<char>(std::toupper(c)) : c;
  }
  return pattern;
}

TEST(RowMoves, RunsMoveOnePlace) {
  struct Case {
    const char* before;
    MoveDirection direction;
    const char* after;
  } cases[] = {
      {"abCde", MoveDirection::Up, "aCbde"},
      {"abCDe", MoveDirection::Up, "aCDbe"},
      {"ABcDe", MoveDirection::Up, "ABDce"},  // the run at the top stays, the other moves
      {"aBcDE", MoveDirection::Up, "BaDEc"},
      {"ABC", MoveDirection::Up, "ABC"},
      {"abCde", MoveDirection::Down, "abdCe"},
      {"aBCde", MoveDirection::Down, "adBCe"},
      {"aBcDE", MoveDirection::Down, "acBDE"},  // the run at the bottom stays
      {"ABcdE", MoveDirection::Down, "cABdE"},
      {"abc", MoveDirection::Down, "abc"},
      {"A", MoveDirection::Down, "A"},
      {"", MoveDirection::Up, ""},
  };
  for (const Case& c : cases) {
    std::vector<bool> selected;
    StepRows rows = RowsOf(c.before, selected);
    MoveSelectedRows(rows, selected, c.direction);
    EXPECT_EQ(c.after, PatternOf(rows, selected)) << c.before;
  }
}

TEST(RowMoves, SelectedRowsAreDeleted) {
  struct Case {
    const char* before;
    const char* after;
    size_t removed;
  } cases[] = {
      {"aBcDe", "ace", 2}, {"ABC", "", 3}, {"abc", "abc", 0}, {"", "", 0},
  };
  for (const Case& c : cases) {
    std::vector<bool> selected;
    StepRows rows = RowsOf(c.before, selected);
    EXPECT_EQ(c.removed, DeleteSelectedRows(rows, selected)) << c.before;
    EXPECT_EQ(c.after, PatternOf(rows, std::vector<bool>(rows.size(), false))) << c.before;
  }
}

}  // namespace
}  // namespace korval
