// The CSV commands in the real window: saving through the file dialog with its "書式" box, reading
// a file into the CSV mode, and cut, copy and paste of rows in the list.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/change_log.h"
#include "filelist/csv_read.h"
#include "filelist/csv_write.h"
#include "filelist/list_reader.h"
#include "modes/change_mode.h"
#include "platform/clipboard.h"
#include "platform/utf8.h"
#include "resources/resource.h"
#include "testing/main_window_test_fixture.h"

namespace korval {
namespace {

// The file dialog's question whether an existing file may be replaced: Yes.
bool ReplaceTheFile(HWND question) { return !HasControl(question, 0x480) && PressButton(IDYES)(question); }

class CsvCommandTest : public MainWindowTest {
 protected:
  void OpenWithTwoFiles() {
    files.WriteFile(L"a_1.txt", "1");
    files.WriteFile(L"a_2.txt", "2");
    Open({files.Path()});
    FocusList();
  }
  void Command(int id) { SendMessageW(window, WM_COMMAND, id, 0); }
};

struct SaveCase {
  int format;
  int cliptsv;
  CsvLayout layout;
  const wchar_t* typed;  // "saved" gets its extension from the program
  bool replaces;         // "saved.csv" is there already: the dialog asks first
};

TEST_F(CsvCommandTest, SavingAllRowsWritesTheLayoutChosenInTheDialog) {
  OpenWithTwoFiles();
  const SaveCase cases[] = {{0, 0, CsvLayout::Standard, L"saved", false},
                            {1, 1, CsvLayout::OldFullPath, L"saved.csv", true},
                            {2, 1, CsvLayout::OldFullPathAndNew, L"saved", false},
                            {0, 1, CsvLayout::Standard, L"saved.csv", true}};
  for (const SaveCase& c : cases) {
    Work().settings.cliptsv = c.cliptsv;
    if (!c.replaces) DeleteFileW((files / L"saved.csv").c_str());
    {
      DialogAnswers answer;
      answer.Expect(L"the save dialog", ChooseFileInDialog(files / c.typed, c.format));
      if (c.replaces) answer.Expect(L"the question to replace saved.csv", ReplaceTheFile);
      Command(IDM_SAVE_ALL);
    }
    EXPECT_EQ(Work().settings.savecsvfmt, c.format);
    const std::string expected =
        CsvFileBytes(BuildCsvText(Work().list, CsvRows::All, {c.layout, c.cliptsv != 0, false}));
    EXPECT_EQ(files.ReadFile(L"saved.csv"), expected) << c.format;
    EXPECT_NE(expected.find("a_2.txt"), std::string::npos);
  }
}

TEST_F(CsvCommandTest, AFileSavedIsReadBackIntoTheCsvMode) {
  OpenWithTwoFiles();
  // Ctrl+O from another mode: the CSV mode's panel has not been shown yet.
  Click(IDC_MODE_BUTTON_FIRST);
  Work().list.Row(0).newName = L"b_1.txt";
  SaveAllAndReadBack(files / L"list.csv");
  EXPECT_EQ(kModeCsvNames, Work().Mode());
  EXPECT_EQ(L"a_1.txt>b_1.txt|a_2.txt>|", Rows());
  EXPECT_EQ(files.Path(), Work().list.Row(1).folder);
}

TEST_F(CsvCommandTest, ACsvFileDroppedInTheCsvModeGivesItsRows) {
  OpenWithTwoFiles();
  const std::string folder(files.Path().begin(), files.Path().end());  // an ASCII temporary folder
  const std::wstring csv = files.WriteFile(L"names.CSV", "\"a_2.txt\",\"c.txt\",\"" + folder + "\"\r\n");
  // In another mode the file is a row like any other.
  Drop({csv});
  EXPECT_EQ(L"a_1.txt>|a_2.txt>|names.CSV>|", Rows());
  Settle();  // the busy flag of the drop
  Click(IDC_MODE_BUTTON_FIRST + kModeCsvNames - 1);
  ASSERT_EQ(kModeCsvNames, Work().Mode());
  Drop({csv});
  EXPECT_EQ(L"a_2.txt>c.txt|", Rows());
  // Two files dropped are rows again (a drop empties the new names, as every read does).
  Settle();
  Drop({csv, files / L"a_1.txt"});
  EXPECT_EQ(L"a_2.txt>|names.CSV>|a_1.txt>|", Rows());
}

TEST_F(CsvCommandTest, AFileThatCannotBeReadWholeLeavesTheListAsItWas) {
  OpenWithTwoFiles();
  const std::pair<std::string, const wchar_t*> cases[] = {
      {"\"x.txt\",\"y.txt\",\"C:\\d\\\"\r\nnot a row\r\n", L"CSV Line Error"},
      {std::string("\xFF\xFE\"\0x\0", 6), L"Not CSV Text"},
      {std::string(MaxRowsFor(Work().settings.maxfilenum) * 1560 + 1, 'a'), L"Too Large CSV File"},
  };
  for (const auto& [bytes, caption] : cases) {
    const std::wstring path = files.WriteFile(L"bad.csv", bytes);
    {
      DialogAnswers answer;
      answer.Expect(L"the open dialog", ChooseFileInDialog(path));
      Key('O', true);
    }
    ASSERT_FALSE(sink.requests.empty());
    EXPECT_EQ(caption, sink.requests.back().caption);
    EXPECT_EQ(L"a_1.txt>|a_2.txt>|", Rows());
  }
}

TEST_F(CsvCommandTest, CopyAndPasteRestoreTheRowsAtTheFocusedRow) {
  OpenWithTwoFiles();
  ListView_SetItemState(Parts().list, -1, 0, LVIS_SELECTED);
  ListView_SetItemState(Parts().list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Pump(50);
  Key('C', true);
  EXPECT_EQ(L"a_1.txt>|a_2.txt>|", Rows());
  // Pasted before the focused second row.
  Key('V', true);
  EXPECT_EQ(L"a_1.txt>|a_2.txt>|a_2.txt>|", Rows());
  // Cut takes the selected rows away; pasting them with the first row focused appends them.
  ListView_SetItemState(Parts().list, -1, 0, LVIS_SELECTED);
  ListView_SetItemState(Parts().list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Pump(50);
  Key('X', true);
  EXPECT_EQ(L"a_2.txt>|a_2.txt>|", Rows());
  ListView_SetItemState(Parts().list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
  Key('V', true);
  EXPECT_EQ(L"a_2.txt>|a_2.txt>|a_1.txt>|", Rows());
}

struct LimitCase {
  int answer;    // to "Too Many Files!"
  size_t added;  // of five pasted rows
};

TEST_F(CsvCommandTest, PastingAtTheRowLimitAsksToRaiseIt) {
  const LimitCase cases[] = {{IDNO, 3}, {IDYES, 5}};
  for (const LimitCase& c : cases) {
    Open();
    Work().settings.maxfilenum = 0;
    const size_t limit = static_cast<size_t>(MaxRowsFor(0));
    for (size_t i = 0; i + 3 < limit; ++i) {
      Work().list.Append({L"f" + std::to_wstring(i), L"", L"C:\\", L"", L"", L"", ItemStatus::None, false});
    }
    std::wstring text;
    for (int i = 0; i < 5; ++i) text += L"\"p" + std::to_wstring(i) + L".txt\",\"\",\"C:\\\"\r\n";
    ASSERT_TRUE(PutOnClipboard(window, text));
    sink.requests.clear();
    sink.Answer(c.answer);
    FocusList();
    Key('V', true);
    ASSERT_EQ(sink.requests.size(), 1u);
    EXPECT_EQ(L"Too Many Files!", sink.requests.back().caption);
    EXPECT_EQ(Work().list.Count(), limit - 3 + c.added);
    EXPECT_EQ(Work().settings.maxfilenum, c.answer == IDYES ? 1 : 0);
    Close();
  }
}

// A file read at the row limit says how much of it was left out; a file too large says to raise
// the row limit only where that would let it be read.
TEST_F(CsvCommandTest, AFileReadInPartSaysSoAndNoMessageAdvisesTheImpossible) {
  const struct {
    const char* what;
    int maxfilenum;
    size_t rows;          // rows of the file; zero: a file one byte over its limit, of no rows
    int answer;           // to "Too Many Files!"
    const wchar_t* caption;
    const wchar_t* says;  // a part of the last message
    size_t listed;
  } cases[] = {
      {"rows beyond the limit", 0, 1003, IDNO, L"CSV Rows Left Out", L"1003 行のうち 1000 行だけ", 1000},
      {"the limit raised", 0, 1003, IDYES, L"", L"", 1003},
      {"too large for this limit", 0, 0, IDOK, L"Too Large CSV File", L"オプションで増やすと読み込めます", 2},
      {"too large for the highest limit", kMaxRowChoices - 1, 0, IDOK, L"Too Large CSV File", L"MB までです", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    OpenWithTwoFiles();
    Click(IDC_MODE_BUTTON_FIRST + kModeCsvNames - 1);
    Work().settings.maxfilenum = c.maxfilenum;
    const std::wstring path = files / L"many.csv";
    if (c.rows) {
      std::string text;
      for (size_t i = 0; i < c.rows; ++i) text += "\"r" + std::to_string(i) + ".txt\",\"\",\"C:\\\"\r\n";
      files.WriteFile(L"many.csv", text);
    } else {
      // As large as the limit allows and one byte more, without writing every byte.
      HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(INVALID_HANDLE_VALUE, file);
      LARGE_INTEGER size{};
      size.QuadPart = static_cast<LONGLONG>(CsvFileByteLimit(static_cast<size_t>(MaxRowsFor(c.maxfilenum))) + 1);
      SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
      SetEndOfFile(file);
      CloseHandle(file);
    }
    sink.requests.clear();
    sink.Answer(c.answer);
    {
      DialogAnswers answer;
      answer.Expect(L"the open dialog", ChooseFileInDialog(path));
      Key('O', true);
    }
    EXPECT_EQ(c.listed, Work().list.Count());
    if (*c.caption) {
      ASSERT_FALSE(sink.requests.empty());
      EXPECT_EQ(c.caption, sink.requests.back().caption);
      EXPECT_NE(std::wstring::npos, sink.requests.back().text.find(c.says)) << Utf8(sink.requests.back().text);
    } else {
      for (const auto& request : sink.requests) EXPECT_NE(L"CSV Rows Left Out", request.caption);
    }
    if (c.maxfilenum == kMaxRowChoices - 1) {
      for (const auto& request : sink.requests) {
        EXPECT_EQ(std::wstring::npos, request.text.find(L"増やす")) << "the limit is at its highest: " << Utf8(request.text);
      }
    }
    Close();
    DeleteFileW(path.c_str());
  }
}

struct GuardCase {
  int command;
  bool emptyList;
  const wchar_t* caption;
};

TEST_F(CsvCommandTest, SavesRefuseAnEmptyListAndAMissingLog) {
  Open();
  const GuardCase cases[] = {
      {IDM_SAVE_ALL, true, L"Empty List"},
      {IDM_SAVE_SELECTION, true, L"Empty List"},
      {IDM_SAVE_LAST_LOG, true, L"No Log!"},
  };
  for (const GuardCase& c : cases) {
    sink.requests.clear();
    Command(c.command);
    ASSERT_EQ(sink.requests.size(), 1u);
    EXPECT_EQ(c.caption, sink.requests.back().caption);
  }
}

struct ChooserCase {
  int button;
  bool selectFirst;
  const wchar_t* refusal;  // the caption of the refusal, or null when the file is saved
  const char* firstLine;   // of the saved file
};

TEST_F(CsvCommandTest, TheChooserOfCtrlSSavesWhatItsButtonNames) {
  OpenWithTwoFiles();
  const ChooserCase cases[] = {
      {IDC_CHOOSE_SELECTION, false, L"No Selected File", nullptr},
      {IDC_CHOOSE_LAST_LOG, false, L"No Last Rename Record", nullptr},
      {IDC_CHOOSE_SELECTION, true, nullptr, "\"a_1.txt\""},
      {IDC_CHOOSE_ALL, false, nullptr, "\"a_1.txt\""},
  };
  Work().settings.savecsvfmt = 2;
  for (const ChooserCase& c : cases) {
    ListView_SetItemState(Parts().list, -1, 0, LVIS_SELECTED);
    if (c.selectFirst) ListView_SetItemState(Parts().list, 0, LVIS_SELECTED, LVIS_SELECTED);
    Pump(50);
    sink.requests.clear();
    std::wstring chooserTitle;
    {
      DialogAnswers answer;
      answer.Expect(L"the chooser", [&](HWND dialog) {
        if (!HasControl(dialog, IDC_CHOOSE_ALL)) return false;
        chooserTitle = DialogTitle(dialog);
        return PressButton(c.button)(dialog);
      });
      if (!c.refusal) answer.Expect(L"the save dialog", ChooseFileInDialog(files / L"chosen.csv", 0));
      Key('S', true);
    }
    EXPECT_EQ(L"CSV形式で保存", chooserTitle);
    if (c.refusal) {
      ASSERT_EQ(sink.requests.size(), 1u);
      EXPECT_EQ(c.refusal, sink.requests.back().caption);
      EXPECT_FALSE(files.Exists(L"chosen.csv"));
      continue;
    }
    const std::string saved = files.ReadFile(L"chosen.csv");
    const size_t header = saved.find("\r\n") + 2;
    EXPECT_EQ(saved.substr(header, std::string(c.firstLine).size()), c.firstLine);
    const size_t rows = std::count(saved.begin(), saved.end(), '\n') - 1;
    EXPECT_EQ(rows, c.button == IDC_CHOOSE_ALL ? 2u : 1u);
    EXPECT_EQ(Work().settings.savecsvfmt, 0);
    DeleteFileW((files / L"chosen.csv").c_str());
  }
}

TEST_F(CsvCommandTest, TheLastLogIsSavedByteForByte) {
  Open();
  const std::string log("\xFF\xFE\"\0C\0", 6);
  program.WriteFile(L"rename1.log", log);
  {
    DialogAnswers answer;
    answer.Expect(L"the save dialog", ChooseFileInDialog(files / L"last"));
    Command(IDM_SAVE_LAST_LOG);
  }
  EXPECT_EQ(files.ReadFile(L"last.csv"), log);
}

}  // namespace
}  // namespace korval
