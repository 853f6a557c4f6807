#include "engine/change_log.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "platform/path_limits.h"
#include "testing/faulty_file_system.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

// "FF FE 22 00" -> the bytes.
std::string Hex(const char* text) {
  std::string bytes;
  for (const char* p = text; *p;) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    bytes.push_back(static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16)));
    p += 2;
  }
  return bytes;
}

// UTF-16LE bytes of a wide text, for building expected files and test inputs.
std::string Utf16(const std::wstring& text, bool mark = false) {
  std::string bytes = mark ? std::string("\xFF\xFE", 2) : std::string();
  for (const wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

SYSTEMTIME Calendar(int year, int month, int day, int hour, int minute, int second) {
  return SYSTEMTIME{static_cast<WORD>(year), static_cast<WORD>(month),  0, static_cast<WORD>(day),
                    static_cast<WORD>(hour), static_cast<WORD>(minute), static_cast<WORD>(second), 0};
}

std::wstring Slot(int slot) { return ChangeLogPath(L"", slot); }

// Writes one finished run whose only line names the run.
void WriteRun(const std::wstring& folder, int run, FileSystem& fs = SystemFileSystem()) {
  ChangeLog log(fs);
  ASSERT_TRUE(log.Open(folder));
  ASSERT_TRUE(log.AppendRename(L"C:\\run" + std::to_wstring(run), L"C:\\x"));
  ASSERT_TRUE(log.Close());
}

std::string RunFile(int run) {
  return Utf16(L"\"C:\\run" + std::to_wstring(run) + L"\",\"C:\\x\",\"<NORMAL>\"\r\n", true);
}

TEST(ChangeLogWriter, RenameLineLiteralBytes) {
  TempFolder dir;
  ChangeLog log;
  ASSERT_TRUE(log.Open(dir.Path()));
  ASSERT_TRUE(log.AppendRename(L"C:\\a", L"C:\\b"));
  ASSERT_TRUE(log.Close());
  EXPECT_EQ(Hex("FF FE 22 00 43 00 3A 00 5C 00 61 00 22 00 2C 00 22 00 43 00 3A 00 5C 00 62 00 22 00 2C 00"
                "22 00 3C 00 4E 00 4F 00 52 00 4D 00 41 00 4C 00 3E 00 22 00 0D 00 0A 00"),
            dir.ReadFile(Slot(1)));
  EXPECT_FALSE(dir.Exists(Slot(0)));
}

TEST(ChangeLogWriter, TheThreeLineFormatsByteForByte) {
  TempFolder dir;
  OldFileTimes times;
  times.reported = kTimesBoth;
  times.localCreation = Calendar(2019, 3, 4, 5, 6, 7);
  times.localModification = Calendar(2020, 12, 31, 23, 59, 58);
  ChangeLog log;
  ASSERT_TRUE(log.Open(dir.Path()));
  ASSERT_TRUE(log.AppendRename(L"C:\\d\\旧名.txt", L"C:\\d\\新名.txt"));
  ASSERT_TRUE(log.AppendTimestamp(L"C:\\d\\x.txt", times));
  ASSERT_TRUE(log.AppendAttributes(L"C:\\d\\y", AttributeFlags{L'Y', L'N', L'Y', L'N'}));
  EXPECT_TRUE(log.Written());
  ASSERT_TRUE(log.Close());
  const std::string file = dir.ReadFile(Slot(1));
  EXPECT_EQ(Utf16(L"\"C:\\d\\旧名.txt\",\"C:\\d\\新名.txt\",\"<NORMAL>\"\r\n"
                  L"\"C:\\d\\x.txt\",\"<作成：2019/03/04 05:06:07, 更新：2020/12/31 23:59:58>\",\"<TIMESTAMP>\"\r\n"
                  L"\"C:\\d\\y\",\"<読：Y, 隠：N, ア：Y, シ：N>\",\"<ATTRIBUTE>\"\r\n",
                  true),
            file);
  // The labels with their full-width colon, as literal bytes: "<作成：".
  EXPECT_NE(std::string::npos, file.find(Hex("3C 00 5C 4F 10 62 1A FF")));
}

TEST(ChangeLogWriter, DatesAndFlagsSitWhereTheUndoReadsThem) {
  OldFileTimes times;
  times.reported = kTimesBoth;
  times.localCreation = Calendar(1601, 1, 1, 0, 0, 0);
  times.localModification = Calendar(9999, 12, 31, 23, 59, 59);
  const std::vector<ChangeLogEntry> entries = ParseChangeLog(
      FormatTimestampLine(L"C:\\t", times) + FormatAttributeLine(L"C:\\a", AttributeFlags{L'N', L'Y', L'N', L'Y'}));
  ASSERT_EQ(2u, entries.size());
  EXPECT_EQ(L"1601/01/01 00:00:00", entries[0].after.substr(4, 19));
  EXPECT_EQ(L"9999/12/31 23:59:59", entries[0].after.substr(28, 19));
  const std::wstring& flags = entries[1].after;
  EXPECT_EQ(L"NYNY", std::wstring({flags[3], flags[8], flags[13], flags[18]}));
}

TEST(ChangeLogWriter, RefusesLinesTheReaderCouldNotReadBack) {
  const std::wstring longest(kMaxLongPathChars, L'x');
  OldFileTimes onlyOne;
  onlyOne.reported = kTimesModification;
  EXPECT_FALSE(FormatRenameLine(longest, longest).empty());
  EXPECT_TRUE(FormatRenameLine(longest + L"x", L"C:\\b").empty());
  EXPECT_TRUE(FormatRenameLine(L"C:\\a", longest + L"x").empty());
  EXPECT_TRUE(FormatRenameLine(L"C:\\a\"b", L"C:\\b").empty());
  EXPECT_TRUE(FormatRenameLine(L"C:\\a\nb", L"C:\\b").empty());
  EXPECT_TRUE(FormatTimestampLine(L"C:\\a", onlyOne).empty());
  EXPECT_TRUE(FormatAttributeLine(longest + L"x", AttributeFlags{L'Y', L'Y', L'Y', L'Y'}).empty());

  TempFolder dir;
  ChangeLog log;
  ASSERT_TRUE(log.Open(dir.Path()));
  EXPECT_FALSE(log.AppendRename(longest + L"x", L"C:\\b"));
  EXPECT_FALSE(log.Written());
  EXPECT_TRUE(log.IsOpen());  // nothing reached the file, so the log goes on
  EXPECT_TRUE(log.AppendRename(L"", L""));
  ASSERT_TRUE(log.Close());
  EXPECT_EQ(Utf16(L"\"\",\"\",\"<NORMAL>\"\r\n", true), dir.ReadFile(Slot(1)));
}

TEST(ChangeLogWriter, EachLineIsInTheFileBeforeTheRunEnds) {
  TempFolder dir;
  ChangeLog log;
  ASSERT_TRUE(log.Open(dir.Path()));
  EXPECT_EQ(Hex("FF FE"), dir.ReadFile(Slot(0)));
  ASSERT_TRUE(log.AppendRename(L"C:\\a", L"C:\\b"));
  EXPECT_EQ(Utf16(L"\"C:\\a\",\"C:\\b\",\"<NORMAL>\"\r\n", true), dir.ReadFile(Slot(0)));
}

TEST(ChangeLogWriter, ALogLeftOpenIsClosedWhenTheWriterGoes) {
  TempFolder dir;
  {
    ChangeLog log;
    ASSERT_TRUE(log.Open(dir.Path()));
    ASSERT_TRUE(log.AppendRename(L"C:\\a", L"C:\\b"));
  }
  EXPECT_FALSE(dir.Exists(Slot(0)));
  EXPECT_TRUE(dir.Exists(Slot(1)));
  {
    ChangeLog log;
    ASSERT_TRUE(log.Open(dir.Path()));
  }
  EXPECT_FALSE(dir.Exists(Slot(0)));
  EXPECT_FALSE(dir.Exists(Slot(2)));
}

TEST(ChangeLogRotation, TenRunsLeaveNineSlots) {
  TempFolder dir;
  for (int run = 1; run <= 10; ++run) WriteRun(dir.Path(), run);
  EXPECT_FALSE(dir.Exists(Slot(0)));
  for (int slot = 1; slot <= 9; ++slot) EXPECT_EQ(RunFile(11 - slot), dir.ReadFile(Slot(slot))) << slot;
  EXPECT_FALSE(dir.Exists(Slot(10)));
}

TEST(ChangeLogRotation, ARunThatWroteNothingLeavesTheSlotsAlone) {
  TempFolder dir;
  for (int run = 1; run <= 3; ++run) WriteRun(dir.Path(), run);
  ChangeLog log;
  ASSERT_TRUE(log.Open(dir.Path()));
  EXPECT_TRUE(dir.Exists(Slot(0)));
  EXPECT_TRUE(log.Close());
  EXPECT_FALSE(dir.Exists(Slot(0)));
  for (int slot = 1; slot <= 3; ++slot) EXPECT_EQ(RunFile(4 - slot), dir.ReadFile(Slot(slot)));
  EXPECT_FALSE(dir.Exists(Slot(4)));
}

TEST(ChangeLogRotation, GapsAndAReadOnlyOldestSlot) {
  TempFolder dir;
  dir.WriteFile(Slot(2), "two");
  dir.WriteFile(Slot(5), "five");
  const std::wstring oldest = dir.WriteFile(Slot(9), "nine");
  ASSERT_TRUE(SetFileAttributesW(oldest.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  WriteRun(dir.Path(), 1);
  EXPECT_EQ(RunFile(1), dir.ReadFile(Slot(1)));
  EXPECT_EQ("two", dir.ReadFile(Slot(3)));
  EXPECT_EQ("five", dir.ReadFile(Slot(6)));
  EXPECT_FALSE(dir.Exists(Slot(2)));
  EXPECT_FALSE(dir.Exists(Slot(5)));
  EXPECT_FALSE(dir.Exists(Slot(9)));
}

TEST(ChangeLogFaults, SlotZeroCannotBeCreated) {
  TempFolder dir;
  WriteRun(dir.Path(), 1);
  for (const FsCall call : {FsCall::CreateAppendFile, FsCall::Append}) {
    FaultyFileSystem fs;
    fs.FailNth(call, 1, ERROR_DISK_FULL);
    ChangeLog log(fs);
    EXPECT_FALSE(log.Open(dir.Path()));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_FALSE(log.AppendRename(L"C:\\a", L"C:\\b"));
    EXPECT_TRUE(log.Close());
    EXPECT_FALSE(dir.Exists(Slot(0)));
    EXPECT_EQ(RunFile(1), dir.ReadFile(Slot(1)));
    EXPECT_FALSE(dir.Exists(Slot(2)));
  }
}

TEST(ChangeLogFaults, AFailedAppendEndsTheLogAndKeepsWhatWasWritten) {
  TempFolder dir;
  FaultyFileSystem fs;
  fs.FailNth(FsCall::Append, 3, ERROR_DISK_FULL);  // the mark, the first line, then the second line
  ChangeLog log(fs);
  ASSERT_TRUE(log.Open(dir.Path()));
  EXPECT_TRUE(log.AppendRename(L"C:\\a", L"C:\\b"));
  EXPECT_FALSE(log.AppendRename(L"C:\\c", L"C:\\d"));
  EXPECT_FALSE(log.IsOpen());
  EXPECT_FALSE(log.AppendRename(L"C:\\e", L"C:\\f"));
  EXPECT_EQ(3, fs.CountOf(FsCall::Append));
  EXPECT_TRUE(log.Close());
  EXPECT_EQ(Utf16(L"\"C:\\a\",\"C:\\b\",\"<NORMAL>\"\r\n", true), dir.ReadFile(Slot(1)));
  EXPECT_FALSE(dir.Exists(Slot(0)));
}

TEST(ChangeLogFaults, AFailedRotationLeavesSlotZeroForTheNextRun) {
  TempFolder dir;
  FaultyFileSystem fs;
  const std::wstring slot0 = dir / Slot(0);
  fs.FailWhen([&](const FsCallRecord& r) { return r.call == FsCall::Move && r.path == slot0; }, ERROR_ACCESS_DENIED);
  ChangeLog log(fs);
  ASSERT_TRUE(log.Open(dir.Path()));
  ASSERT_TRUE(log.AppendRename(L"C:\\a", L"C:\\b"));
  EXPECT_FALSE(log.Close());
  EXPECT_TRUE(dir.Exists(Slot(0)));
  WriteRun(dir.Path(), 2);  // rescues the first run, then logs its own
  EXPECT_EQ(RunFile(2), dir.ReadFile(Slot(1)));
  EXPECT_EQ(Utf16(L"\"C:\\a\",\"C:\\b\",\"<NORMAL>\"\r\n", true), dir.ReadFile(Slot(2)));
}

TEST(ChangeLogRecovery, AnInterruptedRunBecomesSlotOne) {
  TempFolder dir;
  WriteRun(dir.Path(), 1);
  WriteRun(dir.Path(), 2);
  // Cut short in the middle of its second line.
  const std::string orphan = Utf16(L"\"C:\\p\",\"C:\\q\",\"<NORMAL>\"\r\n\"C:\\r\",\"C:", true);
  dir.WriteFile(Slot(0), orphan);
  EXPECT_EQ(OrphanedLog::Rotated, RecoverOrphanedLog(dir.Path()));
  EXPECT_FALSE(dir.Exists(Slot(0)));
  EXPECT_EQ(orphan, dir.ReadFile(Slot(1)));
  EXPECT_EQ(RunFile(2), dir.ReadFile(Slot(2)));
  EXPECT_EQ(RunFile(1), dir.ReadFile(Slot(3)));
  EXPECT_EQ(OrphanedLog::None, RecoverOrphanedLog(dir.Path()));
}

TEST(ChangeLogRecovery, OpeningTheNextLogRescuesIt) {
  TempFolder dir;
  const std::string orphan = Utf16(L"\"C:\\p\",\"C:\\q\",\"<NORMAL>\"\r\n", true);
  dir.WriteFile(Slot(0), orphan);
  WriteRun(dir.Path(), 7);
  EXPECT_EQ(RunFile(7), dir.ReadFile(Slot(1)));
  EXPECT_EQ(orphan, dir.ReadFile(Slot(2)));
}

TEST(ChangeLogRecovery, NothingCompleteIsDeleted) {
  const std::string remnants[] = {"", Hex("FF FE"), Utf16(L"\"C:\\p\",\"C:\\q\",\"<NORMAL>\"", true),
                                  Utf16(L"no quotes here\r\n", true)};
  for (const std::string& remnant : remnants) {
    TempFolder dir;
    WriteRun(dir.Path(), 1);
    dir.WriteFile(Slot(0), remnant);
    EXPECT_EQ(OrphanedLog::Deleted, RecoverOrphanedLog(dir.Path())) << remnant.size();
    EXPECT_FALSE(dir.Exists(Slot(0)));
    EXPECT_EQ(RunFile(1), dir.ReadFile(Slot(1)));
    EXPECT_FALSE(dir.Exists(Slot(2)));
  }
}

// A log that cannot be moved, or read (its read goes through the file-system seam too).
TEST(ChangeLogRecovery, ALogThatCannotBeMovedIsNeverDeleted) {
  for (const FsCall failing : {FsCall::Move, FsCall::ReadHead}) {
    TempFolder dir;
    const std::string orphan = Utf16(L"\"C:\\p\",\"C:\\q\",\"<NORMAL>\"\r\n", true);
    dir.WriteFile(Slot(0), orphan);
    FaultyFileSystem fs;
    fs.FailWhen([failing](const FsCallRecord& r) { return r.call == failing; }, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(OrphanedLog::Kept, RecoverOrphanedLog(dir.Path(), fs));
    ChangeLog log(fs);
    EXPECT_FALSE(log.Open(dir.Path()));  // this run goes without a log rather than lose that one
    EXPECT_EQ(orphan, dir.ReadFile(Slot(0)));
    EXPECT_EQ(0, fs.CountOf(FsCall::Delete));
  }
}

TEST(ChangeLogRecovery, ALogStillBeingWrittenIsLeftAlone) {
  TempFolder dir;
  ChangeLog writing;
  ASSERT_TRUE(writing.Open(dir.Path()));
  ASSERT_TRUE(writing.AppendRename(L"C:\\a", L"C:\\b"));
  EXPECT_EQ(OrphanedLog::Kept, RecoverOrphanedLog(dir.Path()));
  EXPECT_FALSE(dir.Exists(Slot(1)));
  EXPECT_TRUE(writing.Close());
  EXPECT_TRUE(dir.Exists(Slot(1)));
}

// Two runs of one program folder: the second waits for the first to rotate its log, then writes
// its own; each run's lines land in a slot of their own.
TEST(ChangeLogRecovery, TwoRunsTakeTurnsOnTheLog) {
  TempFolder dir;
  ChangeLog first;
  ASSERT_TRUE(first.Open(dir.Path()));
  ASSERT_TRUE(first.AppendRename(L"C:\\run1", L"C:\\x"));
  bool secondOpened = false;
  std::thread second([&] {
    ChangeLog log;
    secondOpened = log.Open(dir.Path());
    if (secondOpened) log.AppendRename(L"C:\\run2", L"C:\\x");
  });
  Sleep(200);
  EXPECT_FALSE(dir.Exists(Slot(1)));  // the second run has not rotated anything under the first
  EXPECT_TRUE(first.Close());
  second.join();
  EXPECT_TRUE(secondOpened);
  EXPECT_EQ(RunFile(2), dir.ReadFile(Slot(1)));
  EXPECT_EQ(RunFile(1), dir.ReadFile(Slot(2)));
}

// A line whose change did not happen is taken back; the run that took back its only line leaves
// the slots alone.
TEST(ChangeLogWriter, TheLastLineCanBeTakenBack) {
  TempFolder dir;
  ChangeLog log;
  ASSERT_TRUE(log.Open(dir.Path()));
  ASSERT_TRUE(log.AppendRename(L"C:\\a", L"C:\\b"));
  ASSERT_TRUE(log.AppendRename(L"C:\\c", L"C:\\d"));
  EXPECT_TRUE(log.TakeBackLastLine());
  EXPECT_FALSE(log.TakeBackLastLine());  // only the line appended last
  EXPECT_TRUE(log.Close());
  EXPECT_EQ(Utf16(L"\"C:\\a\",\"C:\\b\",\"<NORMAL>\"\r\n", true), dir.ReadFile(Slot(1)));
  ASSERT_TRUE(log.Open(dir.Path()));
  ASSERT_TRUE(log.AppendRename(L"C:\\e", L"C:\\f"));
  EXPECT_TRUE(log.TakeBackLastLine());
  EXPECT_TRUE(log.Close());
  EXPECT_FALSE(dir.Exists(Slot(0)));
  EXPECT_FALSE(dir.Exists(Slot(2)));
}

TEST(ChangeLogReader, Decoding) {
  const struct {
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"", L""},
      {Hex("FF FE"), L""},
      {Hex("FF FE 41 00 0D 00 0A 00 42 00 0D 00"), L"A\nB\r"},  // CR LF becomes LF, a lone CR stays
      {Hex("41 00 0A 00 0D 00 0D 00 0A 00"), L"A\n\r\n"},          // no mark: UTF-16LE all the same
      {Hex("FF FE 41 00 42"), L"A"},                               // an odd last byte
      {Hex("EF BB BF E4 BD 9C 0D 0A 61"), L"作\na"},               // UTF-8 with its mark
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.text, DecodeLogText(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size()))
        << c.bytes.size();
  }
  EXPECT_EQ(L"", DecodeLogText(nullptr, 10));
}

TEST(ChangeLogReader, Lines) {
  const std::wstring field259(kMaxLongPathChars, L'f');
  const size_t line = kMaxLogLineChars;
  const struct {
    std::wstring text;
    std::vector<std::wstring> fields;  // before, after, tag of each entry read
  } cases[] = {
      {L"\"a\",\"b\",\"<NORMAL>\"\n", {L"a", L"b", L"<NORMAL>"}},
      {L"x\"a\"y\"b\"z\"t\"w\"ignored\"\n", {L"a", L"b", L"t"}},  // text outside the quotes is ignored
      {L"\"a\",\"b\"\n\"c\",\"d\",\"e\"\n", {L"c", L"d", L"e"}},  // four quotes: passed over
      {L"\"a\",\"b\",\"c\"", {}},                                // no "\n": the end of the file
      {L"\"a\",\"b\",\"c\"\n\"d\",\"e\",\"f\"", {L"a", L"b", L"c"}},
      {L"\"\",\"\",\"\"\n", {L"", L"", L""}},
      {L"\n\n\"a\",\"b\",\"c\"\n", {L"a", L"b", L"c"}},
      {L"\"" + field259 + L"\",\"b\",\"c\"\n", {field259, L"b", L"c"}},
      {L"\"" + field259 + L"f\",\"b\",\"c\"\n\"d\",\"e\",\"f\"\n", {L"d", L"e", L"f"}},  // a field too long
      {L"\"a\",\"b\",\"c\"" + std::wstring(line - 1 - 11, L' ') + L"\n\"d\",\"e\",\"f\"\n",
       {L"a", L"b", L"c", L"d", L"e", L"f"}},  // a line at the longest, its "\n" included
      {L"\"a\",\"b\",\"c\"" + std::wstring(line - 11, L' ') + L"\n\"d\",\"e\",\"f\"\n", {}},  // one more ends it
  };
  for (const auto& c : cases) {
    std::vector<std::wstring> fields;
    for (const ChangeLogEntry& e : ParseChangeLog(c.text)) fields.insert(fields.end(), {e.before, e.after, e.tag});
    EXPECT_EQ(c.fields, fields) << Utf8(c.text.substr(0, 60));
  }
}

TEST(ChangeLogReader, AtMostFiftyThousandLines) {
  std::wstring text;
  for (int i = 0; i < 50001; ++i) text += L"\"" + std::to_wstring(i) + L"\",\"b\",\"<NORMAL>\"\n";
  const std::vector<ChangeLogEntry> entries = ParseChangeLog(text);
  ASSERT_EQ(50000u, entries.size());
  EXPECT_EQ(L"49999", entries.back().before);
  // Lines passed over count as lines read.
  EXPECT_EQ(49999u, ParseChangeLog(L"skipped\n" + text).size());
}

TEST(ChangeLogReader, RandomAndMutatedInput) {
  std::mt19937 random(12345);
  const std::string valid = Utf16(L"\"C:\\a\\b.txt\",\"C:\\a\\c.txt\",\"<NORMAL>\"\r\n"
                                  L"\"C:\\t\",\"<作成：2019/03/04 05:06:07, 更新：2020/12/31 23:59:58>\",\"<TIMESTAMP>\"\r\n",
                                  true);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    if (round % 2 == 0) {
      bytes.resize(random() % 5000);
      for (char& b : bytes) b = static_cast<char>(random() % 8 == 0 ? '"' : random());
    } else {
      bytes = valid + valid;
      for (int flips = 1 + static_cast<int>(random() % 8); flips > 0; --flips) {
        bytes[random() % bytes.size()] = static_cast<char>(random());
      }
      bytes.resize(random() % (bytes.size() + 1));
    }
    const std::wstring text = DecodeLogText(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    ASSERT_LE(text.size(), bytes.size());
    for (const ChangeLogEntry& e : ParseChangeLog(text)) {
      ASSERT_LE(e.before.size(), 259u);
      ASSERT_LE(e.after.size(), 259u);
      ASSERT_LE(e.tag.size(), 259u);
    }
  }
}

}  // namespace
}  // namespace korval
