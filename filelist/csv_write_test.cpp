#include "filelist/csv_write.h"

#include <gtest/gtest.h>

#include "platform/ansi_escape.h"

namespace korval {
namespace {

RenameList TwoRows() {
  RenameList list;
  list.Append({L"old.txt", L".txt", L"C:\\dir\\", L"new.txt", L"", L"", ItemStatus::None, true});
  list.Append({L"写真.jpg", L".jpg", L"D:\\写真\\", L"", L"", L"", ItemStatus::None, false});
  return list;
}

struct GoldenCase {
  CsvLayout layout;
  bool tab;
  bool clipboard;
  CsvRows rows;
  const char* bytes;  // the file's bytes: Shift_JIS, CR LF, no terminator
};

TEST(CsvWrite, EveryLayoutWithEitherSeparatorWritesTheseBytes) {
  const GoldenCase cases[] = {
      {CsvLayout::Standard, false, false, CsvRows::All,
       "# \x95\xCF\x8D\x58\x91\x4F,\x95\xCF\x8D\x58\x8C\xE3,\x83\x74\x83\x48\x83\x8B\x83\x5F\x96\xBC\r\n"
       "\"old.txt\",\"new.txt\",\"C:\\dir\\\"\r\n"
       "\"\x8E\xCA\x90\x5E.jpg\",\"\",\"D:\\\x8E\xCA\x90\x5E\\\"\r\n"},
      {CsvLayout::Standard, true, false, CsvRows::All,
       "# \x95\xCF\x8D\x58\x91\x4F,\x95\xCF\x8D\x58\x8C\xE3,\x83\x74\x83\x48\x83\x8B\x83\x5F\x96\xBC\r\n"
       "\"old.txt\"\t\"new.txt\"\t\"C:\\dir\\\"\r\n"
       "\"\x8E\xCA\x90\x5E.jpg\"\t\"\"\t\"D:\\\x8E\xCA\x90\x5E\\\"\r\n"},
      {CsvLayout::OldFullPath, false, false, CsvRows::All,
       "C:\\dir\\old.txt\r\n"
       "D:\\\x8E\xCA\x90\x5E\\\x8E\xCA\x90\x5E.jpg\r\n"},
      {CsvLayout::OldFullPath, true, false, CsvRows::All,
       "C:\\dir\\old.txt\r\n"
       "D:\\\x8E\xCA\x90\x5E\\\x8E\xCA\x90\x5E.jpg\r\n"},
      {CsvLayout::OldFullPathAndNew, false, false, CsvRows::All,
       "# \x95\xCF\x8D\x58\x91\x4F\x83\x74\x83\x8B\x83\x70\x83\x58\x96\xBC,"
       "\x95\xCF\x8D\x58\x8C\xE3\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC\r\n"
       "\"C:\\dir\\old.txt\",\"new.txt\"\r\n"
       "\"D:\\\x8E\xCA\x90\x5E\\\x8E\xCA\x90\x5E.jpg\",\"\"\r\n"},
      {CsvLayout::OldFullPathAndNew, true, false, CsvRows::All,
       "# \x95\xCF\x8D\x58\x91\x4F\x83\x74\x83\x8B\x83\x70\x83\x58\x96\xBC,"
       "\x95\xCF\x8D\x58\x8C\xE3\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC\r\n"
       "\"C:\\dir\\old.txt\"\t\"new.txt\"\r\n"
       "\"D:\\\x8E\xCA\x90\x5E\\\x8E\xCA\x90\x5E.jpg\"\t\"\"\r\n"},
      // The selection only; the clipboard gets no header.
      {CsvLayout::Standard, false, false, CsvRows::Selected,
       "# \x95\xCF\x8D\x58\x91\x4F,\x95\xCF\x8D\x58\x8C\xE3,\x83\x74\x83\x48\x83\x8B\x83\x5F\x96\xBC\r\n"
       "\"old.txt\",\"new.txt\",\"C:\\dir\\\"\r\n"},
      {CsvLayout::Standard, true, true, CsvRows::Selected, "\"old.txt\"\t\"new.txt\"\t\"C:\\dir\\\"\r\n"},
  };
  const RenameList list = TwoRows();
  for (const GoldenCase& c : cases) {
    const std::wstring text = BuildCsvText(list, c.rows, {c.layout, c.tab, c.clipboard});
    EXPECT_EQ(CsvFileBytes(text), std::string(c.bytes))
        << "layout " << static_cast<int>(c.layout) << " tab " << c.tab << " clipboard " << c.clipboard;
  }
}

TEST(CsvWrite, TheSettingPicksTheLayout) {
  const std::pair<int, CsvLayout> cases[] = {{0, CsvLayout::Standard},          {1, CsvLayout::OldFullPath},
                                             {2, CsvLayout::OldFullPathAndNew}, {3, CsvLayout::Standard},
                                             {-1, CsvLayout::Standard}};
  for (const auto& [setting, layout] : cases) EXPECT_EQ(CsvLayoutFromSetting(setting), layout) << setting;
}

TEST(CsvWrite, NamesOutsideTheCodePageAreEscapedWhateverTheirNumber) {
  // Every character of the longest path escaped: six bytes each, none cut.
  const std::wstring hangul(250, L'\uD55C');
  RenameList list;
  list.Append({hangul, L"", L"C:\\a\\", hangul, L"", L"", ItemStatus::None, false});
  const std::string bytes = CsvFileBytes(BuildCsvText(list, CsvRows::All, {CsvLayout::Standard, false, false}));
  std::string escaped;
  for (int i = 0; i < 250; ++i) escaped += "\\ud55c";
  EXPECT_EQ(bytes.substr(bytes.find("\r\n") + 2),
            "\"" + escaped + "\",\"" + escaped + "\",\"C:\\a\\\"\r\n");
  EXPECT_EQ(CsvFileBytes(L""), "");
}

}  // namespace
}  // namespace korval
