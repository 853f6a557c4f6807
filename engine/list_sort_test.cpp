#include "engine/list_sort.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "engine/show_message.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"

// Lets a test make one chosen allocation fail: with a countdown of n, n allocations succeed and the
// next throws std::bad_alloc. Idle (-1) everywhere else in this test binary.
namespace {
std::atomic<long> gAllocationsBeforeFailure{-1};
}  // namespace

void* operator new(std::size_t size) {
  if (gAllocationsBeforeFailure.load() >= 0 && gAllocationsBeforeFailure.fetch_sub(1) == 0) throw std::bad_alloc();
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace korval {
namespace {

struct Row {
  const wchar_t* name;
  const wchar_t* folder = L"C:\\d\\";
  const wchar_t* newName = L"";
  const wchar_t* size = L"";
  const wchar_t* date = L"";
  ItemStatus status = ItemStatus::None;
};

std::wstring ExtensionOf(const std::wstring& name) {
  const size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? L"" : name.substr(dot);
}

RenameList MakeList(std::initializer_list<Row> rows) {
  RenameList list;
  for (const Row& r : rows) {
    list.Append({r.name, ExtensionOf(r.name), r.folder, r.newName, r.size, r.date, r.status, false});
  }
  return list;
}

// Old names in row order, apart by "|".
std::wstring Names(const RenameList& list) {
  std::wstring names;
  for (const RenameItem& item : list.Rows()) names += (names.empty() ? L"" : L"|") + item.oldName;
  return names;
}

// Old name with its folder, so rows of equal names can be told apart.
std::wstring Paths(const RenameList& list) {
  std::wstring paths;
  for (const RenameItem& item : list.Rows()) paths += (paths.empty() ? L"" : L"|") + item.SourcePath();
  return paths;
}

TEST(ListSortKeys, EachColumnBuildsItsDocumentedKey) {
  RenameItem item{L"Photo.JPG", L".JPG", L"C:\\d\\", L"new.png", L"  1,234", L"2020/01/02 03:04:05", ItemStatus::Ready};
  SortOptions both{.sizeShown = true, .dateShown = true};
  SortOptions dateOnly{.dateShown = true};
  SortOptions preview{.afterPreview = true};
  struct Case { int column; SortOptions options; const wchar_t* key; };
  const Case cases[] = {
      {0, {}, L"Photo .JPGC:\\d\\00007"},
      {0, preview, L"07 Photo.JPG00007"},  // grouped by status, no folder
      {1, {}, L".JPG PhotoC:\\d\\00007"},
      {2, {}, L"C:\\d\\ Photo.JPG00007"},
      {3, {}, L"new .pngC:\\d\\00007"},    // the new name's parts
      {3, preview, L"new .pngC:\\d\\00007"},
      {4, both, L"  1,234 C:\\d\\Photo00007"},
      {5, both, L"2020/01/02 03:04:05 C:\\d\\Photo00007"},
      {4, dateOnly, L"2020/01/02 03:04:05 C:\\d\\Photo00007"},  // the date column stands at 4
      {5, dateOnly, L" C:\\d\\Photo00007"},                      // nothing stands at 5
      {4, {}, L" C:\\d\\Photo00007"},
      {6, both, L"00007"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::wstring(c.key), SortKey(item, c.column, c.options, 7, 5)) << c.column;
  }
}

TEST(ListSortKeys, ShortExtensionsLongIndexesAndEmptyTexts) {
  struct Case { const wchar_t* name; size_t index; int width; const wchar_t* key; };
  const Case cases[] = {
      {L"README", 0, 5, L"README . C:\\d\\00000"},     // no extension counts as ". "
      {L"file.", 12, 5, L"file . C:\\d\\00012"},       // a lone dot too
      {L"a.b", 49999, 5, L"a .bC:\\d\\49999"},
      {L".gitignore", 3, 5, L" .gitignoreC:\\d\\00003"},
      {L"x.tar.gz", 3, 5, L"x.tar .gzC:\\d\\00003"},
      {L"", 123456, 6, L" . C:\\d\\123456"},
  };
  for (const Case& c : cases) {
    RenameItem item{c.name, L"", L"C:\\d\\", L"", L"", L""};
    EXPECT_EQ(std::wstring(c.key), SortKey(item, 0, {}, c.index, c.width)) << Utf8(c.name);
  }
}

TEST(ListSortDirection, HeaderClicksAlternateAndAReadStartsAgainAscending) {
  RenameList list = MakeList({{L"b.txt"}, {L"c.txt"}, {L"a.txt"}});
  SortState state;
  EXPECT_EQ(SortResult::Sorted, SortList(list, state, 0, kSortToggle, {}));
  EXPECT_EQ(L"a.txt|b.txt|c.txt", Names(list));
  EXPECT_EQ(SortArrow::Up, HeaderArrow(state, 0));
  EXPECT_EQ(SortResult::Reversed, SortList(list, state, 0, kSortToggle, {}));
  EXPECT_EQ(L"c.txt|b.txt|a.txt", Names(list));
  EXPECT_EQ(SortArrow::Down, HeaderArrow(state, 0));
  EXPECT_EQ(SortResult::Reversed, SortList(list, state, 0, kSortToggle, {}));
  EXPECT_EQ(L"a.txt|b.txt|c.txt", Names(list));

  SortList(list, state, 0, kSortToggle, {});  // descending again
  list.Append({L"0.txt", L".txt", L"C:\\d\\", L"", L"", L""});
  state.listChanged = true;                   // what a read does
  EXPECT_EQ(SortResult::Sorted, SortList(list, state, 0, kSortToggle, {}));
  EXPECT_EQ(L"0.txt|a.txt|b.txt|c.txt", Names(list));
  EXPECT_EQ(SortArrow::Up, HeaderArrow(state, 0));
  EXPECT_FALSE(state.listChanged);
}

TEST(ListSortDirection, MenuDirectionsAndOtherColumnsArrows) {
  RenameList list = MakeList({{L"b.jpg"}, {L"a.png"}, {L"c.gif"}});
  SortState state;
  struct Step { int column; int direction; SortResult result; const wchar_t* names; SortArrow arrow; };
  const Step steps[] = {
      {0, kSortDescending, SortResult::Sorted, L"c.gif|b.jpg|a.png", SortArrow::Down},
      {0, kSortDescending, SortResult::Sorted, L"c.gif|b.jpg|a.png", SortArrow::Down},  // stays descending
      {0, kSortAscending, SortResult::Reversed, L"a.png|b.jpg|c.gif", SortArrow::Up},
      {0, kSortAscending, SortResult::Sorted, L"a.png|b.jpg|c.gif", SortArrow::Up},
      {1, kSortToggle, SortResult::Sorted, L"c.gif|b.jpg|a.png", SortArrow::Up},      // a new column starts ascending
      {0, kSortToggle, SortResult::Sorted, L"a.png|b.jpg|c.gif", SortArrow::Up},      // column 0 was reset by the other
      {1, kSortDescending, SortResult::Sorted, L"a.png|b.jpg|c.gif", SortArrow::Down},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(s.result, SortList(list, state, s.column, s.direction, {})) << s.column << "/" << s.direction;
    EXPECT_EQ(std::wstring(s.names), Names(list)) << s.column << "/" << s.direction;
    for (int column = 0; column < kSortColumnCount; ++column) {
      EXPECT_EQ(column == s.column ? s.arrow : SortArrow::None, HeaderArrow(state, column)) << column;
    }
  }
  ClearSortArrows(state);
  for (int column = 0; column < kSortColumnCount; ++column) EXPECT_EQ(SortArrow::None, HeaderArrow(state, column));
  EXPECT_EQ(SortResult::Sorted, SortList(list, state, 1, kSortToggle, {}));  // afresh, not reversed
  EXPECT_EQ(L"c.gif|b.jpg|a.png", Names(list));
}

TEST(ListSortDirection, RefusedInUndoModeAndForBadArguments) {
  RenameList list = MakeList({{L"b.txt"}, {L"a.txt"}});
  SortState state;
  state.listChanged = true;
  const SortState before = state;
  struct Case { bool undo; int column; int direction; SortResult result; };
  const Case cases[] = {
      {true, 0, kSortToggle, SortResult::RefusedUndoMode}, {false, -1, kSortToggle, SortResult::InvalidArgument},
      {false, 6, kSortToggle, SortResult::InvalidArgument}, {false, 0, 2, SortResult::InvalidArgument},
      {false, 0, -2, SortResult::InvalidArgument},
  };
  for (const Case& c : cases) {
    list.undoMode = c.undo;
    EXPECT_EQ(c.result, SortList(list, state, c.column, c.direction, {}));
    EXPECT_EQ(L"b.txt|a.txt", Names(list));
    EXPECT_EQ(before.counters, state.counters);
    EXPECT_EQ(before.lastColumn, state.lastColumn);
    EXPECT_TRUE(state.listChanged);
  }
  EXPECT_EQ(SortArrow::None, HeaderArrow(state, -1));
  EXPECT_EQ(SortArrow::None, HeaderArrow(state, 6));
}

TEST(ListSortCompare, NumberAwareOnlyWhenAskedAndNeverForColumnFour) {
  struct Case { bool logical; int column; const wchar_t* names; };
  const Case cases[] = {
      {false, 0, L"a 10.txt|a 2.txt"},
      {true, 0, L"a 2.txt|a 10.txt"},
      {true, 3, L"a 2.txt|a 10.txt"},  // the new names are the same texts
      {false, 4, L"a 10.txt|a 2.txt"},
      {true, 4, L"a 10.txt|a 2.txt"},  // column 4 always compares plainly
      {true, 5, L"a 2.txt|a 10.txt"},
  };
  for (const Case& c : cases) {
    RenameList list = MakeList({{L"a 2.txt", L"C:\\d\\", L"a 2.txt", L"x 2", L"x 2"},
                                {L"a 10.txt", L"C:\\d\\", L"a 10.txt", L"x 10", L"x 10"}});
    SortState state;
    SortOptions options{.numberLogical = c.logical, .sizeShown = true, .dateShown = true};
    EXPECT_EQ(SortResult::Sorted, SortList(list, state, c.column, kSortAscending, options));
    EXPECT_EQ(std::wstring(c.names), Names(list)) << c.logical << " " << c.column;
  }
}

TEST(ListSortCompare, NumberAwareOrderAgreesWithTheSystemComparisonOfWholeKeys) {
  // The sort starts the system comparison behind a shared beginning; the order must be the one the
  // whole keys give. Names share beginnings, differ in numbers, dots, width and case.
  const wchar_t* stems[] = {L"img ", L"IMG ", L"img-", L"写真 ", L"写真", L"写真１", L"x1y", L"x10y", L"a.",
                            L""};
  const wchar_t* numbers[] = {L"1", L"01", L"10", L"2", L"1.5", L"1.25", L"００", L"9a", L"0010"};
  RenameList list;
  for (const wchar_t* stem : stems) {
    for (const wchar_t* number : numbers) {
      const std::wstring index = std::to_wstring(list.Count());
      const std::wstring folder = L"C:\\d" + std::wstring(number) + L"\\";
      list.Append({std::wstring(stem) + number + L".jpg", L".jpg", folder, L"", L"", index});
    }
  }
  SortState state;
  ASSERT_EQ(SortResult::Sorted, SortList(list, state, 0, kSortAscending, {.numberLogical = true}));

  HMODULE shlwapi = LoadLibraryW(L"shlwapi.dll");
  ASSERT_NE(nullptr, shlwapi);
  const auto compare = reinterpret_cast<int(WINAPI*)(PCWSTR, PCWSTR)>(
      reinterpret_cast<void*>(GetProcAddress(shlwapi, "StrCmpLogicalW")));
  ASSERT_NE(nullptr, compare);
  const auto keyOf = [](const RenameItem& item) { return SortKey(item, 0, {}, std::stoul(item.date), 5); };
  for (size_t row = 1; row < list.Count(); ++row) {
    const std::wstring a = keyOf(list.Row(row - 1));
    const std::wstring b = keyOf(list.Row(row));
    EXPECT_LT(compare(a.c_str(), b.c_str()), 0) << Utf8(a) << " / " << Utf8(b);
  }
  FreeLibrary(shlwapi);
}

TEST(ListSortCompare, CaseIsIgnoredAndFoldedToLowerCase) {
  for (bool logical : {false, true}) {
    RenameList list = MakeList({{L"C.txt"}, {L"a.txt"}, {L"B.txt"}, {L"_.txt"}});
    SortState state;
    SortList(list, state, 0, kSortAscending, {.numberLogical = logical});
    // "_" sorts before the letters, as it does when both sides are lower-cased.
    EXPECT_EQ(L"_.txt|a.txt|B.txt|C.txt", Names(list)) << logical;
  }
}

TEST(ListSortColumns, SizeAndDateColumnsFollowTheSwitches) {
  const auto make = [] {
    return MakeList({{L"z.txt", L"C:\\a\\", L"", L"      9", L"2021/01/01 00:00:00"},
                     {L"y.txt", L"C:\\b\\", L"", L"     10", L"2019/01/01 00:00:00"},
                     {L"x.txt", L"C:\\b\\", L"", L"      1", L"2020/01/01 00:00:00"}});
  };
  struct Case { int column; bool sizeShown; bool dateShown; const wchar_t* names; };
  const Case cases[] = {
      {4, true, true, L"x.txt|z.txt|y.txt"},    // by size text
      {5, true, true, L"y.txt|x.txt|z.txt"},    // by date
      {4, false, true, L"y.txt|x.txt|z.txt"},   // the date column stands at 4
      {5, false, true, L"z.txt|x.txt|y.txt"},   // the date entry with the size hidden: folder, then name
      {5, true, false, L"z.txt|x.txt|y.txt"},
      {4, false, false, L"z.txt|x.txt|y.txt"},
  };
  for (const Case& c : cases) {
    RenameList list = make();
    SortState state;
    SortList(list, state, c.column, kSortAscending, {.sizeShown = c.sizeShown, .dateShown = c.dateShown});
    EXPECT_EQ(std::wstring(c.names), Names(list)) << c.column << c.sizeShown << c.dateShown;
  }
}

TEST(ListSortColumns, AfterAPreviewTheOldNameColumnGroupsByStatus) {
  const auto make = [] {
    return MakeList({{L"b.txt", L"C:\\d\\", L"", L"", L"", ItemStatus::Ready},
                     {L"a.txt", L"C:\\e\\", L"", L"", L"", ItemStatus::Filtered},
                     {L"c.txt", L"C:\\d\\", L"", L"", L"", ItemStatus::TooLong},
                     {L"a.txt", L"C:\\d\\", L"", L"", L"", ItemStatus::Ready},
                     {L"d.txt", L"C:\\d\\", L"", L"", L"", ItemStatus::Failed}});
  };
  RenameList list = make();
  SortState state;
  SortList(list, state, 0, kSortAscending, {.afterPreview = true});
  // 01, 07, 07, 11, 12; equal names within a status keep their order (the folder is not in the key).
  EXPECT_EQ(L"C:\\d\\c.txt|C:\\d\\a.txt|C:\\d\\b.txt|C:\\d\\d.txt|C:\\e\\a.txt", Paths(list));

  list = make();
  state = {};
  SortList(list, state, 0, kSortAscending, {});
  EXPECT_EQ(L"C:\\d\\a.txt|C:\\e\\a.txt|C:\\d\\b.txt|C:\\d\\c.txt|C:\\d\\d.txt", Paths(list));
}

TEST(ListSortOrder, EqualKeysKeepTheirOrderAndRowsTravelWhole) {
  // Duplicate rows differ only in texts the key does not hold.
  RenameList list = MakeList({{L"b.txt", L"C:\\d\\", L"n1", L"", L"d1"},
                              {L"a.txt", L"C:\\d\\", L"n2", L"", L"d2"},
                              {L"b.txt", L"C:\\d\\", L"n3", L"", L"d3"},
                              {L"b.txt", L"C:\\d\\", L"n4", L"", L"d4"}});
  list.Row(2).selected = true;
  list.Row(1).status = ItemStatus::Failed;
  SortState state;
  SortList(list, state, 0, kSortAscending, {});
  const wchar_t* ascending[] = {L"n2", L"n1", L"n3", L"n4"};
  for (size_t row = 0; row < 4; ++row) EXPECT_EQ(std::wstring(ascending[row]), list.Row(row).newName);
  EXPECT_EQ(ItemStatus::Failed, list.Row(0).status);
  EXPECT_EQ(L"d2", list.Row(0).date);
  EXPECT_TRUE(list.Row(2).selected);
  EXPECT_FALSE(list.Row(1).selected || list.Row(3).selected);

  // A fresh descending sort reverses the equal rows too, so it matches the reversal of the ascending order.
  SortState fresh;
  SortList(list, fresh, 0, kSortDescending, {});
  const wchar_t* descending[] = {L"n4", L"n3", L"n1", L"n2"};
  for (size_t row = 0; row < 4; ++row) EXPECT_EQ(std::wstring(descending[row]), list.Row(row).newName);
}

TEST(ListSortOrder, ReversalGivesTheSameOrderAsAFullSort) {
  RenameList list;
  for (int i = 0; i < 300; ++i) {
    const std::wstring name = L"f" + std::to_wstring((i * 7919) % 97) + (i % 3 ? L".txt" : L".JPG");
    list.Append({name, L"", i % 2 ? L"C:\\b\\" : L"C:\\a\\", L"", std::to_wstring(i % 5), L""});
  }
  for (int column : {0, 1, 2, 4}) {
    for (bool logical : {false, true}) {
      const SortOptions options{.numberLogical = logical, .sizeShown = true};
      RenameList reversed = list;
      SortState state;
      SortList(reversed, state, column, kSortToggle, options);
      ASSERT_EQ(SortResult::Reversed, SortList(reversed, state, column, kSortToggle, options));
      RenameList full = list;
      SortState freshState;
      ASSERT_EQ(SortResult::Sorted, SortList(full, freshState, column, kSortDescending, options));
      EXPECT_EQ(Paths(full), Paths(reversed)) << column << " " << logical;
      for (size_t row = 0; row < list.Count(); ++row) ASSERT_EQ(full.Row(row).size, reversed.Row(row).size) << row;
    }
  }
}

TEST(ListSortOrder, LongPathsAreOrderedBeyondTheFirst260Characters) {
  // A folder of 250 characters leaves fewer than ten characters of the name inside the first 260 of
  // the folder column's key; the names differ after that and must still decide the order.
  const std::wstring folder = L"C:\\" + std::wstring(246, L'f') + L"\\";
  const std::wstring stem(20, L'n');
  RenameList list;
  for (const wchar_t* tail : {L"c", L"a", L"b"}) list.Append({stem + tail + L".txt", L".txt", folder, L"", L"", L""});
  list.Append({std::wstring(259, L'z'), L"", folder, L"", L"", L""});
  list.Append({L"", L"", L"", L"", L"", L""});
  SortState state;
  ASSERT_EQ(SortResult::Sorted, SortList(list, state, 2, kSortAscending, {}));
  EXPECT_EQ(L"", list.Row(0).oldName);
  EXPECT_EQ(stem + L"a.txt", list.Row(1).oldName);
  EXPECT_EQ(stem + L"b.txt", list.Row(2).oldName);
  EXPECT_EQ(stem + L"c.txt", list.Row(3).oldName);
  EXPECT_EQ(259u, list.Row(4).oldName.size());
}

TEST(ListSortOrder, EmptyAndSingleRowLists) {
  RenameList empty;
  SortState state;
  EXPECT_EQ(SortResult::Sorted, SortList(empty, state, 0, kSortToggle, {}));
  EXPECT_EQ(SortResult::Reversed, SortList(empty, state, 0, kSortToggle, {}));
  RenameList one = MakeList({{L"a.txt"}});
  EXPECT_EQ(SortResult::Sorted, SortList(one, state, 3, kSortToggle, {.numberLogical = true}));
  EXPECT_EQ(L"a.txt", Names(one));
}

TEST(ListSortRequest, CommandLineRequestsPickColumnAndDirection) {
  struct Case { int request; SortResult result; const wchar_t* names; };
  const Case cases[] = {
      {-1, SortResult::NothingRequested, L"b.gif|a.png|c.bmp"},
      {0, SortResult::Sorted, L"a.png|b.gif|c.bmp"},
      {1, SortResult::Sorted, L"c.bmp|b.gif|a.png"},
      {10, SortResult::Sorted, L"c.bmp|b.gif|a.png"},
      {11, SortResult::Sorted, L"a.png|b.gif|c.bmp"},
      {40, SortResult::Sorted, L"c.bmp|a.png|b.gif"},  // size texts 1, 2, 3
      {51, SortResult::Sorted, L"a.png|b.gif|c.bmp"},  // dates 3, 2, 1
      {60, SortResult::InvalidArgument, L"b.gif|a.png|c.bmp"},
      {2, SortResult::InvalidArgument, L"b.gif|a.png|c.bmp"},
      {-2, SortResult::InvalidArgument, L"b.gif|a.png|c.bmp"},
  };
  for (const Case& c : cases) {
    RenameList list = MakeList({{L"b.gif", L"C:\\d\\", L"", L"3", L"2"},
                                {L"a.png", L"C:\\d\\", L"", L"2", L"3"},
                                {L"c.bmp", L"C:\\d\\", L"", L"1", L"1"}});
    SortState state;
    EXPECT_EQ(c.result, ApplySortRequest(list, state, c.request, {.sizeShown = true, .dateShown = true})) << c.request;
    EXPECT_EQ(std::wstring(c.names), Names(list)) << c.request;
  }
}

TEST(ListSortMemory, AFailedAllocationLeavesOrderAndStateAndSaysSo) {
  const RenameList original = MakeList({{L"d.txt"}, {L"b.txt"}, {L"c.txt"}, {L"a.txt"}});
  ScriptedMessageSink sink;
  SetMessagePolicy({});
  int failures = 0;
  bool finished = false;
  for (long allowed = 0; allowed < 10000; ++allowed) {
    RenameList list = original;
    SortState state;
    state.listChanged = true;
    sink.requests.clear();
    gAllocationsBeforeFailure = allowed;
    const SortResult result = SortList(list, state, 0, kSortToggle, {.numberLogical = (allowed % 2) == 1});
    // The countdown ends at -1 once it made an allocation fail; above that, the sort needed fewer.
    const bool failed = gAllocationsBeforeFailure.exchange(-1) == -1;
    if (result == SortResult::Sorted) {
      // A failure the sort could absorb (its merge buffer is optional) must still sort.
      EXPECT_EQ(L"a.txt|b.txt|c.txt|d.txt", Names(list)) << allowed;
      EXPECT_TRUE(sink.requests.empty());
      finished = !failed;
      if (finished) break;
      continue;
    }
    ++failures;
    ASSERT_EQ(SortResult::OutOfMemory, result) << allowed;
    EXPECT_EQ(Names(original), Names(list)) << allowed;
    EXPECT_EQ(SortArrow::None, HeaderArrow(state, 0));
    EXPECT_TRUE(state.listChanged);
    ASSERT_EQ(1u, sink.requests.size());
    EXPECT_EQ(L"Run Short of Memory!", sink.requests[0].caption);
    EXPECT_EQ(L"メモリが不足しているため、処理できません。", sink.requests[0].text);
  }
  EXPECT_TRUE(finished);
  EXPECT_GT(failures, 4);  // keys, order and the rewritten rows all allocate
}

TEST(ListSortSpeed, FiftyThousandRows) {
  RenameList list;
  for (int i = 0; i < 50000; ++i) {
    const int n = static_cast<int>((static_cast<unsigned>(i) * 2654435761u) % 100000u);
    list.Append({L"写真 " + std::to_wstring(n) + (n % 4 ? L".jpg" : L".PNG"), L"",
                 L"C:\\photos\\" + std::to_wstring(n % 50) + L"\\", L"", L"", L""});
  }
  for (bool logical : {false, true}) {
    RenameList copy = list;
    SortState state;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(SortResult::Sorted, SortList(copy, state, 0, kSortAscending, {.numberLogical = logical}));
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("sorting 50000 rows by name (%s): %.0f ms\n", logical ? "number-aware" : "plain", ms);
    EXPECT_LT(ms, 5000.0);
    for (size_t row = 1; !logical && row < copy.Count(); ++row) {
      const std::wstring a = SortKey(copy.Row(row - 1), 0, {}, 0, 5);
      const std::wstring b = SortKey(copy.Row(row), 0, {}, 0, 5);
      ASSERT_LE(_wcsicmp(a.c_str(), b.c_str()), 0) << row;
    }
    const auto reverseStart = std::chrono::steady_clock::now();
    ASSERT_EQ(SortResult::Reversed, SortList(copy, state, 0, kSortToggle, {.numberLogical = logical}));
    std::printf("reversing: %.0f ms\n",
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - reverseStart).count());
  }
}

}  // namespace
}  // namespace korval
