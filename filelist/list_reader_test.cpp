#include "filelist/list_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "engine/show_message.h"
#include "platform/path_limits.h"
#include "filelist/list_texts.h"
#include "testing/folder_link.h"
#include "testing/reader_test_tree.h"
#include "testing/scripted_message_sink.h"
#include "platform/utf8.h"

namespace korval {
namespace {

// Paths of the rows relative to the temporary folder, in list order.
std::vector<std::wstring> RowsUnder(const RenameList& list, const TempFolder& temp) {
  std::vector<std::wstring> rows;
  for (const RenameItem& row : list.Rows()) {
    std::wstring path = row.SourcePath();
    if (path.compare(0, temp.Path().size(), temp.Path()) == 0) path.erase(0, temp.Path().size());
    rows.push_back(path);
  }
  return rows;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

// A reader over a list whose size and date columns are off unless a test turns them on.
struct ReaderFixture {
  RenameList list;
  ReadSettings settings;
  ScriptedMessageSink sink;
  ReadHooks hooks;
  ReaderFixture() {
    SetMessagePolicy(MessagePolicy{});
    settings.listcols1 = false;
    settings.listcols2 = false;
  }
  ReadResult Drop(const std::vector<std::wstring>& paths) {
    ListReader reader(list, settings, hooks);
    return reader.ReadDroppedItems(paths);
  }
};

void FillRows(RenameList& list, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    RenameItem item;
    item.folder = L"Z:\\present\\";
    item.oldName = L"row" + std::to_wstring(i);
    list.Append(item);
  }
}

class ReadTreeFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeTree(temp, {L"A\\", L"A\\f1.txt", L"A\\B\\", L"A\\B\\f2.txt", L"A\\B\\C\\", L"A\\B\\C\\f3.txt"});
  }
  TempFolder temp;
  ReaderFixture f;
};

TEST_F(ReadTreeFiles, DepthDecidesHowFarDown) {
  const struct {
    int subdir;
    std::vector<std::wstring> rows;
  } cases[] = {
      {0, {}},
      {1, {L"A\\f1.txt"}},
      {2, {L"A\\B\\f2.txt", L"A\\f1.txt"}},
      {3, {L"A\\B\\C\\f3.txt", L"A\\B\\f2.txt", L"A\\f1.txt"}},
      {10, {L"A\\B\\C\\f3.txt", L"A\\B\\f2.txt", L"A\\f1.txt"}},
      {11, {L"A\\B\\C\\f3.txt", L"A\\B\\f2.txt", L"A\\f1.txt"}},
  };
  for (const auto& c : cases) {
    ReaderFixture run;
    run.settings.subdir = c.subdir;
    const ReadResult result = run.Drop({temp / L"A"});
    EXPECT_EQ(ReadOutcome::Continue, result.outcome);
    EXPECT_EQ(c.rows.size(), result.added);
    EXPECT_EQ(c.rows, Sorted(RowsUnder(run.list, temp))) << c.subdir;
  }
}

// A folder link that leads to its own folder or one above it is not gone into: read through, it
// would list the same files again, deeper each time, until the paths no longer fit a row. A link
// that leads elsewhere is read as the folder it stands for.
TEST_F(ReadTreeFiles, FolderLinksThatLeadBackAreNotGoneInto) {
  MakeTree(temp, {L"Elsewhere\\", L"Elsewhere\\x.txt"});
  const struct {
    const wchar_t* link;
    const wchar_t* target;
  } links[] = {
      {L"A\\B\\C\\up", L"A"},     // two folders up
      {L"A\\B\\again", L"A\\B"},  // its own folder
      {L"A\\root", L""},          // the folder above the one read
      {L"A\\out", L"Elsewhere"},  // no circle
  };
  for (const auto& l : links) {
    ASSERT_TRUE(MakeFolderLink(temp / l.link, temp.Path() + l.target)) << Utf8(l.link);
  }
  f.settings.subdir = 11;  // every level below
  const ReadResult result = f.Drop({temp / L"A"});
  EXPECT_EQ(ReadOutcome::Continue, result.outcome);
  const std::vector<std::wstring> expected = {L"A\\B\\C\\f3.txt", L"A\\B\\f2.txt", L"A\\f1.txt", L"A\\out\\x.txt"};
  EXPECT_EQ(expected, Sorted(RowsUnder(f.list, temp)));
}

// The folders a tree read announces are the folders it lists next, in that order, before those
// announced earlier (how a prefetch may list them ahead); none is announced that is not gone into.
TEST(ReadTreeAhead, AnnouncedFoldersAreListedNextInOrder) {
  TempFolder temp;
  MakeTree(temp, {L"X\\", L"X\\f.txt", L"X\\a\\", L"X\\a\\a1\\", L"X\\a\\a1\\f.txt", L"X\\a\\a2\\", L"X\\b\\",
                  L"X\\b\\f.txt", L"X\\c\\"});
  const struct {
    int subdir;
    std::vector<std::wstring> listed;  // sorted
  } cases[] = {
      {1, {L"X\\"}},
      {2, {L"X\\", L"X\\a\\", L"X\\b\\", L"X\\c\\"}},
      {11, {L"X\\", L"X\\a\\", L"X\\a\\a1\\", L"X\\a\\a2\\", L"X\\b\\", L"X\\c\\"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.subdir);
    ReaderFixture run;
    run.settings.subdir = c.subdir;
    std::deque<std::wstring> ahead;
    std::vector<std::wstring> listed;
    run.hooks.foldersAhead = [&](const std::vector<std::wstring>& folders) {
      ahead.insert(ahead.begin(), folders.begin(), folders.end());
    };
    run.hooks.listFolder = [&](const std::wstring& folder, std::vector<WIN32_FIND_DATAW>& entries) {
      if (!listed.empty()) {
        if (ahead.empty()) {
          ADD_FAILURE() << "listed without being announced: " << Utf8(folder);
        } else {
          EXPECT_EQ(Utf8(ahead.front()), Utf8(folder));
          ahead.pop_front();
        }
      }
      listed.push_back(folder.substr(temp.Path().size()));
      return SystemFileSystem().ListFolder(folder.c_str(), [&](const WIN32_FIND_DATAW& e) { entries.push_back(e); });
    };
    run.Drop({temp / L"X"});
    EXPECT_TRUE(ahead.empty()) << "announced and never listed: " << ahead.size();
    EXPECT_EQ(c.listed, Sorted(listed));
  }
}

TEST_F(ReadTreeFiles, TreeClicksAndTheCommandLineOverrideDepth) {
  f.settings.subdir = 11;
  ListReader reader(f.list, f.settings, f.hooks);
  reader.ReadPathIntoList(temp / L"A", true, true);
  EXPECT_EQ(std::vector<std::wstring>{L"A\\f1.txt"}, RowsUnder(f.list, temp));

  f.settings.subdirtree = false;
  reader.ReadPathIntoList(temp / L"A", true, true);
  EXPECT_EQ(3u, f.list.Count());

  f.settings.depthOverride = 1;  // one folder below the given one: depth 2
  reader.ReadPathIntoList(temp / L"A", true, false);
  EXPECT_EQ((std::vector<std::wstring>{L"A\\B\\f2.txt", L"A\\f1.txt"}), Sorted(RowsUnder(f.list, temp)));

  EXPECT_FALSE(reader.ReadPathIntoList(L"C:", true, false).read);
  EXPECT_TRUE(f.list.Empty());
}

TEST_F(ReadTreeFiles, RowTextsAndColumns) {
  f.settings.listcols1 = true;
  f.settings.listcols2 = true;
  f.settings.columndate = kDateKindWritten;
  f.settings.sizeUnit = kSizeInKb;
  temp.WriteFile(L"A\\big.dat", std::string(5000, 'b'));
  f.Drop({temp / L"A\\big.dat", temp / L"A\\f1.txt"});
  ASSERT_EQ(2u, f.list.Count());
  const RenameItem& row = f.list.Row(0);
  EXPECT_EQ(L"big.dat", row.oldName);
  EXPECT_EQ(L".dat", row.extension);
  EXPECT_EQ(temp / L"A\\", row.folder);
  EXPECT_EQ(L"", row.newName);
  EXPECT_EQ(ItemStatus::None, row.status);
  EXPECT_EQ(SizeTextOf(5000, kSizeInKb), row.size);
  std::wstring date;
  ASSERT_TRUE(FormatDateText(temp / L"A\\big.dat", kDateKindWritten, L"9", date));
  EXPECT_EQ(date, row.date);

  ReaderFixture hidden;
  hidden.Drop({temp / L"A\\f1.txt"});
  ASSERT_EQ(1u, hidden.list.Count());
  EXPECT_EQ(BlankSizeText(0), hidden.list.Row(0).size);
  EXPECT_EQ(L" ", hidden.list.Row(0).date);
}

TEST_F(ReadTreeFiles, AutomaticRunsSkipSizeAndDateUnlessSorted) {
  f.settings.automaticRun = true;
  f.settings.listcols1 = true;
  f.settings.listcols2 = true;
  f.Drop({temp / L"A\\f1.txt"});
  EXPECT_EQ(BlankSizeText(0), f.list.Row(0).size);
  EXPECT_EQ(L" ", f.list.Row(0).date);

  ReaderFixture sorted;
  sorted.settings = f.settings;
  sorted.settings.sortedBySize = true;
  sorted.settings.sortedByDate = true;
  sorted.Drop({temp / L"A\\f1.txt"});
  EXPECT_EQ(SizeTextOf(3, 0), sorted.list.Row(0).size);
  EXPECT_NE(L" ", sorted.list.Row(0).date);

  ReaderFixture bounded;  // bounds off their defaults need the size even in an automatic run
  bounded.settings = f.settings;
  bounded.settings.filter.filterfsize2 = L"0";
  bounded.Drop({temp / L"A\\f1.txt"});
  EXPECT_TRUE(bounded.list.Empty());
}

TEST(ReadTreeFilters, ExtensionSizeAndAttributes) {
  TempFolder temp;
  MakeTree(temp, {L"a.JPG", L"b.png", L"c.gif", L"d"});
  temp.WriteFile(L"big.png", std::string(200 * 1024, 'x'));
  temp.WriteFile(L"empty.png", "");
  temp.WriteFile(L"hidden.png", "x");
  SetFileAttributesW((temp / L"hidden.png").c_str(), FILE_ATTRIBUTE_HIDDEN);
  const struct {
    const wchar_t* extensions;
    bool extExclude;
    const wchar_t* upper;
    bool readHidden;
    bool sizeColumn;
    std::vector<std::wstring> rows;
  } cases[] = {
      {L"jpg png", false, L"999999999", true, true,
       {L"a.JPG", L"b.png", L"big.png", L"empty.png", L"hidden.png"}},
      {L"jpg  png", false, L"999999999", true, true, {L"a.JPG"}},
      {L"jpg png", true, L"999999999", true, true, {L"c.gif", L"d"}},
      {L"png", false, L"100", true, true, {L"b.png", L"empty.png", L"hidden.png"}},
      {L"png", false, L"100", true, false, {L"b.png", L"big.png", L"empty.png", L"hidden.png"}},  // size hidden
      {L"png", false, L"999999999", false, true, {L"b.png", L"big.png", L"empty.png"}},
      {L"", true, L"999999999", true, true,
       {L"a.JPG", L"b.png", L"big.png", L"c.gif", L"d", L"empty.png", L"hidden.png"}},
  };
  for (const auto& c : cases) {
    ReaderFixture f;
    f.settings.listcols1 = c.sizeColumn;
    f.settings.filter.filterextall = c.extensions;
    f.settings.filter.extensionsExclude = c.extExclude;
    f.settings.filter.filterfsize2 = c.upper;
    f.settings.filter.readHidden = c.readHidden;
    ListReader reader(f.list, f.settings, f.hooks);
    reader.ReadPathIntoList(temp.Path(), false, false);
    EXPECT_EQ(c.rows, Sorted(RowsUnder(f.list, temp))) << Utf8(c.extensions) << " " << Utf8(c.upper);
  }
  SetFileAttributesW((temp / L"hidden.png").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ReadTreeFilters, LongPathsAreListedAndOnlyPathsBeyondTheSystemsLimitLeftOut) {
  TempFolder temp;
  RenameList list;
  ReadSettings settings;
  ListReader reader(list, settings);
  EXPECT_FALSE(reader.AddListedRow(0, L""));
  EXPECT_FALSE(reader.AddListedRow(0, L"C:\\"));
  EXPECT_FALSE(reader.AddListedRow(0, L"C:\\" + std::wstring(kMaxLongPathChars - 2, L'n')));  // one too many
  EXPECT_TRUE(reader.AddListedRow(0, L"C:\\" + std::wstring(kMaxLongPathChars - 3, L'n')));
  ASSERT_EQ(1u, list.Count());
  EXPECT_EQ(kMaxLongPathChars - 3, list.Row(0).oldName.size());

  // Files at 259 and 260 characters, and a folder whose own path is past 259 with a file in it.
  const size_t room = 259 - temp.Path().size();
  const std::wstring folder = std::wstring(room - 12, L'd');
  ASSERT_TRUE(CreateDirectoryW((temp / folder).c_str(), nullptr));
  temp.WriteFile(folder + L"\\short12.txt", "x");  // exactly 259 characters with the folder
  const std::wstring longer = L"\\\\?\\" + temp / folder + L"\\longer12.txt";  // 260 characters
  HANDLE file = CreateFileW(longer.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  CloseHandle(file);
  const std::wstring longFolder = L"\\\\?\\" + temp / folder + L"\\sub-folder-name";
  ASSERT_TRUE(CreateDirectoryW(longFolder.c_str(), nullptr));
  file = CreateFileW((longFolder + L"\\inner.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  CloseHandle(file);
  ReaderFixture f;
  f.settings.subdir = 2;
  f.Drop({temp / folder});
  std::vector<std::wstring> rows = RowsUnder(f.list, temp);
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ((std::vector<std::wstring>{folder + L"\\longer12.txt", folder + L"\\short12.txt",
                                       folder + L"\\sub-folder-name\\inner.txt"}),
            rows);
  EXPECT_TRUE(f.sink.requests.empty()) << "nothing was left out";
  DeleteFileW((longFolder + L"\\inner.txt").c_str());
  RemoveDirectoryW(longFolder.c_str());
  DeleteFileW(longer.c_str());
}

// Paths given by a person that would be cut, name another item or turn the system's reading of
// paths off: no row, and the reason is said (a too-long path with the message of its own).
TEST(ReadDroppedRefusals, EachRefusedPathIsLeftOutWithItsReason) {
  TempFolder temp;
  temp.WriteFile(L"a.txt", "x");
  const struct {
    const char* what;
    std::wstring path;
    const wchar_t* reason;
  } cases[] = {
      {"typed with its verbatim prefix", L"\\\\?\\" + temp / L"a.txt", kVerbatimPathReason},
      {"a device path", L"\\\\.\\" + temp / L"a.txt", kVerbatimPathReason},
      {"a part of 256", temp / std::wstring(256, L'p') + L"\\a.txt", kLongPartReason},
      {"a lone high surrogate", temp / L"a\xD800.txt", kBrokenPathReason},
      {"a lone low surrogate", temp / (L"\xDC00" L"a.txt"), kBrokenPathReason},
      {"a NUL", temp / std::wstring(L"a\0.txt", 6), kBrokenPathReason},
      {"over 32,767", L"C:\\" + std::wstring(kMaxLongPathChars, L'n'), kTooLongReason},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ReaderFixture f;
    RenameList& list = f.list;
    ListReader reader(list, f.settings, f.hooks);
    reader.ReadDroppedItems({c.path, temp / L"a.txt"});
    ASSERT_EQ(1u, list.Count()) << "only the ordinary path is read";
    ASSERT_EQ(1u, reader.RefusedPaths().size());
    EXPECT_EQ(c.path, reader.RefusedPaths()[0].path);
    EXPECT_EQ(std::wstring(c.reason), reader.RefusedPaths()[0].reason);
    ASSERT_EQ(1u, f.sink.requests.size());
    EXPECT_EQ(c.reason == kTooLongReason ? kTooLongCaption : kRefusedCaption, f.sink.requests[0].caption);
    EXPECT_EQ(0u, f.sink.requests[0].text.find(c.reason == kTooLongReason ? L"ファイル名が長すぎます。" : c.reason));
  }
  // A pair of surrogates is a character like any other.
  EXPECT_EQ(nullptr, PathRefusal(temp / L"\xD83D\xDE00.txt"));

  // A name holding a separator, as Wine shows one from a Linux drive, cannot be reached: it is
  // refused, its neighbours are read.
  ReaderFixture f;
  f.settings.subdir = 2;
  f.hooks.listFolder = [](const std::wstring&, std::vector<WIN32_FIND_DATAW>& entries) {
    for (const wchar_t* name : {L"a.txt", L"back\\slash.txt", L"for/ward.txt"}) {
      WIN32_FIND_DATAW entry{};
      wcscpy(entry.cFileName, name);
      entries.push_back(entry);
    }
    return true;
  };
  ListReader reader(f.list, f.settings, f.hooks);
  reader.ReadDroppedItems({temp.Path().substr(0, temp.Path().size() - 1)});
  EXPECT_EQ(std::vector<std::wstring>{L"a.txt"}, RowsUnder(f.list, temp));
  ASSERT_EQ(2u, reader.RefusedPaths().size());
  EXPECT_EQ(temp / L"back\\slash.txt", reader.RefusedPaths()[0].path);
  EXPECT_EQ(temp.Path().size(), reader.RefusedPaths()[0].NameStart());
  EXPECT_EQ(std::wstring(kSeparatorInNameReason), reader.RefusedPaths()[1].reason);
}

TEST(ReadTreeFolders, FolderreadChoosesWhatIsListed) {
  TempFolder temp;
  MakeTree(temp, {L"A\\", L"A\\file.txt", L"A\\B\\", L"A\\B\\C\\", L"A\\B\\C\\leaf.txt"});
  const struct {
    int folderread;
    std::vector<std::wstring> rows;  // in list order
  } cases[] = {
      {0, {L"A\\B"}},
      {1, {L"A"}},
      {2, {L"A\\B\\C", L"A\\B", L"A"}},  // deepest first, the dropped folder last
  };
  for (const auto& c : cases) {
    ReaderFixture f;
    f.settings.fileDir = 1;
    f.settings.folderread = f.settings.folderreadWorking = c.folderread;
    f.Drop({temp / L"A"});
    EXPECT_EQ(c.rows, RowsUnder(f.list, temp)) << c.folderread;
    EXPECT_TRUE(f.sink.requests.empty());
  }
  // The folder dialog, the tree and hand-overs list the immediate subfolders.
  ReaderFixture f;
  f.settings.fileDir = 1;
  f.settings.folderreadWorking = 1;
  ListReader reader(f.list, f.settings, f.hooks);
  reader.ReadPathIntoList(temp / L"A\\B", true, true);
  EXPECT_EQ(std::vector<std::wstring>{L"A\\B\\C"}, RowsUnder(f.list, temp));
  EXPECT_EQ(L"", f.list.Row(0).extension);
  EXPECT_EQ(BlankSizeText(0), f.list.Row(0).size);
}

TEST(ReadTreeFolders, ExtensionFilterAppliesToFolderNames) {
  TempFolder temp;
  MakeTree(temp, {L"P\\", L"P\\x.old\\", L"P\\y.new\\", L"P\\z\\"});
  ReaderFixture f;
  f.settings.fileDir = 1;
  f.settings.filter.filterextall = L"old";
  f.settings.filter.extensionsExclude = true;
  f.Drop({temp / L"P"});
  EXPECT_EQ((std::vector<std::wstring>{L"P\\y.new", L"P\\z"}), Sorted(RowsUnder(f.list, temp)));
  EXPECT_EQ(L".new", f.list.Row(std::wstring(f.list.Row(0).oldName) == L"y.new" ? 0 : 1).extension);
}

TEST(ReadDroppedNoSubFolder, AskedOncePerRunAndYesListsTheFolderItself) {
  TempFolder temp;
  MakeTree(temp, {L"Empty\\", L"Empty\\only.txt"});
  ReaderFixture f;
  f.settings.fileDir = 1;
  f.sink.Answer(IDNO);
  f.Drop({temp / L"Empty"});
  EXPECT_TRUE(f.list.Empty());
  ASSERT_EQ(1u, f.sink.requests.size());
  EXPECT_EQ(L"No Sub Folder", f.sink.requests[0].caption);
  EXPECT_EQ(L"サブフォルダが見つかりません。\r\n\r\n１階層下のフォルダを追加する設定になっていますが、\r\n"
            L"フォルダ自身をリストに追加する設定に変更しますか。",
            f.sink.requests[0].text);
  EXPECT_EQ(0, f.settings.folderread);
  f.Drop({temp / L"Empty"});
  EXPECT_EQ(1u, f.sink.requests.size());  // not asked again in this run

  ReaderFixture yes;
  yes.settings.fileDir = 1;
  yes.sink.Answer(IDYES);
  yes.Drop({temp / L"Empty"});
  EXPECT_EQ(1, yes.settings.folderread);
  EXPECT_EQ(1, yes.settings.folderreadWorking);
  EXPECT_TRUE(yes.settings.noSubFolderAsked);
  yes.Drop({temp / L"Empty"});
  EXPECT_EQ(std::vector<std::wstring>{L"Empty"}, RowsUnder(yes.list, temp));
}

TEST(ReadDroppedDuplicates, SameDropTwiceAddsTwoRowsLaterDropsNone) {
  TempFolder temp;
  MakeTree(temp, {L"a.txt", L"b.txt"});
  ReaderFixture f;
  f.Drop({temp / L"a.txt", temp / L"a.txt"});
  EXPECT_EQ(2u, f.list.Count());
  f.Drop({temp / L"A.TXT", temp / L"b.txt"});
  EXPECT_EQ((std::vector<std::wstring>{L"a.txt", L"a.txt", L"b.txt"}), RowsUnder(f.list, temp));
}

TEST(ReadDroppedPreview, ExistingRowsLoseTheirPreviewAndTheFilterRuns) {
  TempFolder temp;
  MakeTree(temp, {L"keep.txt", L"other.log"});
  ReaderFixture f;
  f.Drop({temp / L"keep.txt"});
  f.list.Row(0).newName = L"new.txt";
  f.list.Row(0).status = ItemStatus::Ready;
  f.list.lastFilterText = L"*.txt";
  int listChanged = 0, previewStale = 0;
  std::wstring sample;
  f.hooks.markListChanged = [&] { ++listChanged; };
  f.hooks.previewOutOfDate = [&] { ++previewStale; };
  f.hooks.positionSample = [&](const std::wstring& longest) { sample = longest; };
  f.Drop({temp / L"other.log"});
  ASSERT_EQ(2u, f.list.Count());
  EXPECT_EQ(L"", f.list.Row(0).newName);
  EXPECT_EQ(ItemStatus::None, f.list.Row(0).status);
  EXPECT_EQ(ItemStatus::Filtered, f.list.Row(1).status);
  EXPECT_EQ(1, listChanged);
  EXPECT_EQ(1, previewStale);
  EXPECT_EQ(L"other.log", sample);
}

TEST(ReadDroppedLimit, RaisingTheLimitContinuesTheRead) {
  TempFolder temp;
  MakeTree(temp, {L"D\\", L"D\\1", L"D\\2", L"D\\3", L"D\\4", L"D\\5"});
  const struct {
    int answer;
    size_t rows;
    int maxfilenum;
    ReadOutcome outcome;
  } cases[] = {{IDYES, 2003, 2, ReadOutcome::Continue}, {IDNO, 2000, 1, ReadOutcome::LimitReached}};
  for (const auto& c : cases) {
    ReaderFixture f;
    FillRows(f.list, 1998);
    f.settings.maxfilenum = 1;
    f.sink.Answer(c.answer);
    const ReadResult result = f.Drop({temp / L"D"});
    EXPECT_EQ(c.outcome, result.outcome);
    EXPECT_EQ(c.rows, f.list.Count());
    EXPECT_EQ(c.maxfilenum, f.settings.maxfilenum);
    ASSERT_EQ(1u, f.sink.requests.size());
    EXPECT_EQ(L"Too Many Files!", f.sink.requests[0].caption);
    EXPECT_EQ(L"扱える最大ファイル数に達しました。\r\n\r\n設定値を増加しますか。(2000 → 5000)", f.sink.requests[0].text);
  }
}

TEST(ReadDroppedLimit, HighLimitsOnlyTellAndFoldersStopSilently) {
  TempFolder temp;
  MakeTree(temp, {L"D\\", L"D\\1", L"D\\2", L"D\\E\\", L"D\\F\\"});
  const struct {
    int maxfilenum;
    size_t present;
    const wchar_t* text;
  } cases[] = {
      {3, 9999, L"扱える最大ファイル数に達しました。\r\n\r\nオプションで値を増加することができます。"},
      {6, 49999, L"扱える最大ファイル数を超えています。"},
  };
  for (const auto& c : cases) {
    ReaderFixture f;
    FillRows(f.list, c.present);
    f.settings.maxfilenum = c.maxfilenum;
    const ReadResult result = f.Drop({temp / L"D\\1", temp / L"D\\2"});
    EXPECT_EQ(ReadOutcome::LimitReached, result.outcome);
    EXPECT_EQ(c.present + 1, f.list.Count());
    ASSERT_EQ(1u, f.sink.requests.size());
    EXPECT_EQ(c.text, f.sink.requests[0].text);
    EXPECT_EQ(c.maxfilenum, f.settings.maxfilenum);
  }
  ReaderFixture folders;
  FillRows(folders.list, 999);
  folders.settings.maxfilenum = 0;
  folders.settings.fileDir = 1;
  EXPECT_EQ(ReadOutcome::LimitReached, folders.Drop({temp / L"D"}).outcome);
  EXPECT_EQ(1000u, folders.list.Count());
  EXPECT_TRUE(folders.sink.requests.empty());
}

// An unattended run goes on without the items the limit left out: the notice is an error that
// "/errmsg" shows; for a person it is a notice that "/errmsg" would not show.
TEST(ReadDroppedLimit, AnUnattendedRunShowsTheLimitAsAnError) {
  TempFolder temp;
  MakeTree(temp, {L"D\\", L"D\\1", L"D\\2"});
  for (const bool automaticRun : {false, true}) {
    ReaderFixture f;
    FillRows(f.list, 9999);
    f.settings.maxfilenum = 3;
    f.settings.automaticRun = automaticRun;
    SetMessagePolicy(MessagePolicy{true, false, true, false});
    const ReadResult result = f.Drop({temp / L"D\\1", temp / L"D\\2"});
    SetMessagePolicy(MessagePolicy{});
    EXPECT_EQ(ReadOutcome::LimitReached, result.outcome);
    ASSERT_EQ(automaticRun ? 1u : 0u, f.sink.requests.size()) << automaticRun;
    if (automaticRun) {
      EXPECT_EQ(L"Too Many Files!", f.sink.requests[0].caption);
    }
  }
}

TEST(ReadDroppedEscape, EscAbortsWithOrWithoutAsking) {
  TempFolder temp;
  MakeTree(temp, {L"D\\", L"D\\1", L"D\\2", L"D\\3", L"D\\4"});
  const struct {
    bool ask;
    int answer;
    ReadOutcome outcome;
    size_t rows;
    size_t questions;
  } cases[] = {
      {false, 0, ReadOutcome::Aborted, 0, 0},
      {true, IDYES, ReadOutcome::Aborted, 0, 1},
      {true, IDNO, ReadOutcome::Continue, 5, 1},  // the second item is read again
  };
  for (const auto& c : cases) {
    ReaderFixture f;
    f.settings.showRenameErrors = c.ask;
    int polls = 0;
    f.hooks.escapeDown = [&] { return ++polls == 2; };  // held while the first child is read
    if (c.answer) f.sink.Answer(c.answer);
    const ReadResult result = f.Drop({temp / L"D", temp / L"D\\1"});
    EXPECT_EQ(c.outcome, result.outcome);
    EXPECT_EQ(c.rows, f.list.Count());
    ASSERT_EQ(c.questions, f.sink.requests.size());
    if (c.questions) {
      EXPECT_EQ(L"Abort", f.sink.requests[0].caption);
      EXPECT_EQ(L"読み込みを中止します。", f.sink.requests[0].text);
      EXPECT_EQ(IDYES, StopAnswerOf(f.sink.requests[0])) << "a close of the window while it asks stops the read";
    }
  }
}

TEST(ReadDroppedModes, UndoModeAndFolderTargetAskFirst) {
  TempFolder temp;
  MakeTree(temp, {L"a.txt"});
  ReaderFixture declined;
  declined.list.undoMode = true;
  declined.sink.Answer(IDNO);
  EXPECT_FALSE(declined.Drop({temp / L"a.txt"}).read);
  EXPECT_TRUE(declined.list.Empty());
  ASSERT_EQ(1u, declined.sink.requests.size());
  EXPECT_EQ(L"Stop this mode?", declined.sink.requests[0].caption);
  EXPECT_EQ(L"変更UnDoモードを中止しないとファイルを読み込めません。\r\n\r\n変更UnDoモードを中止しますか。",
            declined.sink.requests[0].text);

  ReaderFixture accepted;
  FillRows(accepted.list, 3);
  accepted.list.undoMode = true;
  accepted.Drop({temp / L"a.txt"});
  EXPECT_FALSE(accepted.list.undoMode);
  EXPECT_EQ(std::vector<std::wstring>{L"a.txt"}, RowsUnder(accepted.list, temp));

  ReaderFixture folders;
  FillRows(folders.list, 2);
  folders.settings.fileDir = 1;
  folders.Drop({temp / L"a.txt"});
  EXPECT_EQ(0, folders.settings.fileDir);
  EXPECT_EQ(std::vector<std::wstring>{L"a.txt"}, RowsUnder(folders.list, temp));
  ASSERT_EQ(1u, folders.sink.requests.size());
  EXPECT_EQ(L"フォルダ名変更モードを変更しないとファイルを読み込めません。\r\n\r\nフォルダ名変更モードを変更しますか。",
            folders.sink.requests[0].text);
}

}  // namespace
}  // namespace korval
