// Every step code of a macro file, played unattended on real files: each case writes its macro byte
// by byte, runs "/autofile=" on a work folder and checks the names the files end up with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "platform/data_files.h"
#include "platform/scoped_handle.h"
#include "testing/temp_folder.h"
#include "tests/macro_bytes.h"
#include "testing/program_runner.h"

namespace korval {
namespace {

// Shift_JIS bytes of the few Japanese characters the macros carry.
const std::string kSjisYear = "\x94\x4e";   // 年
const std::string kSjisCopy = "\x8e\xca";   // 写
const std::string kSjisGeta = "\x81\xac";   // 〓, the separator mark of a date pattern

// One position-map entry: value + 1 as two hexadecimal digits, or from 256 on "+" and one digit.
std::string MapEntry(int value, bool upperHex) {
  const int stored = value + 1;
  char text[8];
  if (stored >= 256) {
    std::snprintf(text, sizeof text, "+%d", stored - 256);
  } else {
    std::snprintf(text, sizeof text, upperHex ? "%02X" : "%02x", stored);
  }
  return text;
}

// The entries for positions 0 to count - 1; position(i) gives the unedited position or -1 (typed).
template <typename Position>
std::string MapEntries(int count, Position position, bool upperHex) {
  std::string map;
  for (int i = 0; i < count; ++i) map += MapEntry(position(i), upperHex);
  return map;
}

// "EDT", 518 map bytes, the extension flag, '0', a space, the edited sample text, NUL, LF.
std::string PositionRecord(const std::string& map, char flag, const std::string& text) {
  return "EDT" + map + flag + "0 " + Stored(text) + std::string(1, '\0') + "\n";
}

// Sample "abcdef" edited to "XXabcef": two characters typed in front, the "d" deleted.
int TypedFrontDeletedD(int i) { return i < 2 ? -1 : i < 5 ? i - 2 : i - 1; }
// Sample "abcdefghijkl.txt" edited to "acdefghijkl.txt": the second character deleted.
int SecondDeleted(int i) { return i == 0 ? 0 : i + 1; }

const std::string kHeader = "KV150\n";

enum class Check {
  Exact,              // the names on disk are exactly the expected ones
  ShortNamesLower,    // each name became its short name in lower case
  LettersThenDigits,  // random stems of 4 to 8 characters, letters then digits, a random extension
};

struct CodeCase {
  const char* name;
  std::string macro;
  std::vector<std::wstring> files;
  std::vector<std::wstring> expected{};
  Check check = Check::Exact;
  std::wstring beforeShortName{};  // what a later step puts in front of each short name
  bool regex = false;    // the wide regular expression library beside the program
  bool stamped = false;  // the files' modification time set to 2021-03-04 05:06:07, Tokyo time
};

const std::vector<CodeCase>& Cases() {
  static const std::vector<CodeCase> cases = {
      {"ExtensionAppended", kHeader + Record("EXT", "100", "bak", ""), {L"a.txt", L"noext"},
       {L"a.txt.bak", L"noext.bak"}},
      {"SerialNewNamePlusOldExtension", kHeader + Record("123", "400", "IMG_<08+10>", ""), {L"b.jpg", L"a.png"},
       {L"IMG_08.png", L"IMG_18.jpg"}},
      {"LetterCaseWordStartsFullWidthToo", kHeader + Record("Aa ", "410", "", ""),
       {L"my_file-name.txt", L"don't stop.txt", L"ｆｕｌｌ ｗｉｄｔｈ.txt"},
       {L"Don't Stop.txt", L"My_File-Name.txt", L"Ｆｕｌｌ Ｗｉｄｔｈ.txt"}},
      // Mask 13 (':' + 3): digits, katakana and symbols, but not letters.
      {"CharWidthToFullByClassMask", kHeader + Record("ZH ", "1=0", "", ""), {L"ｶﾞｷﾞ 12ab_(x).txt"},
       {L"ガギ　１２ab＿（x）.txt"}},
      // The short name in lower case, then an "x" in front of it.
      {.name = "ShortNameThenAddText",
       .macro = kHeader + Record("8_3", "200", "", "") + Record("ADD", "000", "x", ""),
       .files = {L"Long File Name Here.text", L"Another long name.jpeg"},
       .check = Check::ShortNamesLower,
       .beforeShortName = L"x"},
      // Counted from the back; the text holds Shift_JIS bytes and an escaped character outside the code page.
      {"AddTextFromTheBack", kHeader + Record("ADD", "102", "_" + kSjisCopy + "\\u2603", ""),
       {L"abcdef.txt", L"a.txt"}, {L"abcd_写☃ef.txt", L"a.txt"}},
      // Type 10 (':'): 3 characters after the first 12; a stem no longer than the count stays.
      {"DeleteAfterCount", kHeader + Record("DEL", ":12", "3", ""), {L"abcdefghijklmnop.txt", L"short.txt"},
       {L"abcdefghijklp.txt", L"short.txt"}},
      // A separator beginning with 年 switches the unit characters on.
      {.name = "DateFixedFormatAtTheHead",
       .macro = kHeader + Record("TIM", "173", kSjisYear + "_", ""),
       .files = {L"photo.txt", L"memo.txt"},
       .expected = {L"2021年03月04日_memo.txt", L"2021年03月04日_photo.txt"},
       .stamped = true},
      {.name = "DateFreeFormatAtTheEnd",
       .macro = kHeader + Record("TIM", "194", "-", "YYYY" + kSjisGeta + "MM" + kSjisGeta + "DD_hhmmss_www"),
       .files = {L"photo.txt"},
       .expected = {L"photo-2021-03-04_050607_Thu.txt"},
       .stamped = true},
      // The last occurrence, any case, the extension included.
      {"ReplaceLastAnyCaseWithExtension", kHeader + Record("REP", "201", "a", "-"), {L"a_b_A.dat", L"bA_.txt"},
       {L"a_b_A.d-t", L"b-_.txt"}},
      // All matches, case-sensitive, the extension included.
      {.name = "ReplaceRegularExpression",
       .macro = kHeader + Record("REP", "013", "([a-z])(\\d)", "$2$1"),
       .files = {L"a1b2.x3", L"A1.txt"},
       .expected = {L"1a2b.3x", L"A1.txt"},
       .regex = true},
      // The CSV step keeps the names the step before gave, and the macro goes on after it.
      {"CsvStepKeepsTheNames",
       kHeader + Record("REP", "000", "_", "-") + Record("dmy", "000", "", "") + Record("EXT", "000", "md", ""),
       {L"a_b.txt"}, {L"a-b.md"}},
      {"RandomLettersThenDigits", kHeader + Record("RND", "212", "", ""), {L"one.txt", L"two.txt", L"three.txt"}, {},
       Check::LettersThenDigits},
      // The extension is not edited: each row keeps its own, and a short stem ends early.
      {"PositionEditStemOnly",
       kHeader + PositionRecord(MapEntries(259, TypedFrontDeletedD, false), '1', "XXabcef"),
       {L"123456.txt", L"ab.txt", L"abcdefgh.jpg"}, {L"XX12356.txt", L"XXab.txt", L"XXabcefgh.jpg"}},
      // Version 12: one byte more before the map, whose last entry reaches into the flag.
      {"PositionEditVersion12MapOneByteLater",
       "KV120\n" + PositionRecord("0" + MapEntries(258, SecondDeleted, true) + "0", '0', "acdefghijkl.txt"),
       {L"0123456789AB.txt", L"xy.z"}, {L"023456789AB.txt", L"x.z"}},
      // '<' is one above the limit ';' of the deletion type: the replacement runs, the case change does not.
      {"DigitBeyondItsLimitEndsTheMacro",
       kHeader + Record("REP", "000", "_", "-") + Record("DEL", "<02", "1", "") + Record("Aa ", "100", "", ""),
       {L"a_b.txt"}, {L"a-b.txt"}},
  };
  return cases;
}

// Cases where a step meets what it does not carry: the settings' exception words, and an item's
// own short name as the final name.
const std::vector<CodeCase>& SettingsCases() {
  static const std::vector<CodeCase> cases = {
      // The exception words are those of the settings (by default "a an and at by for in into of on
      // or the to with"), not the record's text: "LORD" is not applied, "of" and "the" are.
      {"LetterCaseKeepsTheSettingsExceptionWords", kHeader + Record("Aa ", "400", "LORD", ""),
       {L"the lord of the rings.avi"}, {L"The Lord of the Rings.avi"}},
      // A file renamed to its own short name: the short name is the file itself, not another file
      // in the way, so no serial number is added.
      {"ShortNameAlone", kHeader + Record("8_3", "200", "", ""),
       {L"Long File Name Here.text", L"Another long name.jpeg"}, {}, Check::ShortNamesLower},
  };
  return cases;
}

void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }

bool AsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool AsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Pattern 2 draws letters for the positions below half the length, digits from there on; the
// random extension is the first three characters of a second draw of the same kind.
testing::AssertionResult LettersThenDigits(const std::wstring& name) {
  const size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return testing::AssertionFailure() << Utf8(name) << " has no extension";
  const std::wstring stem = name.substr(0, dot), extension = name.substr(dot + 1);
  const size_t half = stem.size() / 2;
  if (stem.size() < 4 || stem.size() > 8 || extension.size() != 3) {
    return testing::AssertionFailure() << Utf8(name) << ": stem or extension of the wrong length";
  }
  for (size_t i = 0; i < stem.size(); ++i) {
    if (i < half ? !AsciiLetter(stem[i]) : !AsciiDigit(stem[i])) return testing::AssertionFailure() << Utf8(name);
  }
  for (size_t i = 0; i < extension.size(); ++i) {
    if (i < half ? !AsciiLetter(extension[i]) : !AsciiDigit(extension[i])) {
      return testing::AssertionFailure() << Utf8(name) << ": extension";
    }
  }
  return testing::AssertionSuccess();
}

class MacroCodeTest : public testing::TestWithParam<CodeCase> {
 protected:
  void SetUp() override {
    program_.WriteFile(L"use.ini", "");
    program_.WriteFile(L"korvalith.ini", "[Base]\r\n_version=4231201\r\n_count=5\r\nmacromsec=0\r\n");
    work_ = program_ / L"work";
    ASSERT_TRUE(CreateDirectoryW(work_.c_str(), nullptr));
  }

  std::wstring PathOf(const std::wstring& name) const { return work_ + L"\\" + name; }

  void StampModificationTime(const std::wstring& name) {
    const SYSTEMTIME utc = {2021, 3, 0, 3, 20, 6, 7, 0};  // 2021-03-04 05:06:07 in Tokyo
    FILETIME time;
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &time));
    ScopedHandle<FileHandleTraits> file(CreateFileW(PathOf(name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.Valid()) << Utf8(name);
    ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &time));
  }

  std::wstring LowerShortName(const std::wstring& name) const {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetShortPathNameW(PathOf(name).c_str(), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return name;
    std::wstring shortName(buffer, length);
    shortName = shortName.substr(shortName.rfind(L'\\') + 1);
    for (wchar_t& c : shortName) {
      if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return shortName;
  }

  TempFolder program_;
  std::wstring work_;
};

TEST_P(MacroCodeTest, PlayedStepRenamesTheFiles) {
  const CodeCase& c = GetParam();
  for (const std::wstring& name : c.files) {
    program_.WriteFile(L"work\\" + name, "x");
    if (c.stamped) StampModificationTime(name);
  }
  if (c.regex) {
    ASSERT_TRUE(CopyFileW((ProgramFolder() + L"bregonig.dll").c_str(), (program_ / L"bregonig.dll").c_str(), FALSE));
  }
  std::vector<std::wstring> expected = c.expected;
  if (c.check == Check::ShortNamesLower) {
    for (const std::wstring& name : c.files) {
      const std::wstring shortName = LowerShortName(name);
      ASSERT_NE(name, shortName) << "no short name to take";
      expected.push_back(c.beforeShortName + shortName);
    }
  }
  std::sort(expected.begin(), expected.end());
  program_.WriteFile(L"codes.bin", c.macro);

  // Sorted by name, so that serial numbers follow the names rather than the folder's order.
  ProgramRunner runner(program_, L"korvalith.exe", L"/sort /autofile=codes \"" + work_ + L"\"");
  ASSERT_EQ(0, runner.WaitForExit());

  const std::vector<std::wstring> names = SortedNames(work_);
  if (c.check == Check::LettersThenDigits) {
    ASSERT_EQ(c.files.size(), names.size());
    for (const std::wstring& name : names) EXPECT_TRUE(LettersThenDigits(name));
    return;
  }
  EXPECT_EQ(expected, names);
}

INSTANTIATE_TEST_SUITE_P(MacroCode, MacroCodeTest, testing::ValuesIn(Cases()));
INSTANTIATE_TEST_SUITE_P(MacroCodeSettings, MacroCodeTest, testing::ValuesIn(SettingsCases()));

}  // namespace
}  // namespace korval
