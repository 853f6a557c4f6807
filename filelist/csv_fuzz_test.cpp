// Truncated, mutated, oversized, binary and random CSV files, each placed right before (or after)
// an inaccessible page so that a read outside the bytes crashes the test instead of passing.
#include <gtest/gtest.h>

#include <random>

#include "filelist/csv_read.h"
#include "filelist/csv_write.h"
#include "testing/guarded_bytes.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

std::string ValidFile() {
  RenameList list;
  list.Append({L"写真.jpg", L".jpg", L"C:\\写真\\", L"new \uD55C.jpg", L"", L"", ItemStatus::None, false});
  list.Append({L"a b.txt", L".txt", L"D:\\d\\", L"", L"", L"", ItemStatus::None, false});
  list.Append({L"x", L"", L"E:\\", L"\u00e9.txt", L"", L"", ItemStatus::None, false});
  std::string file;
  for (CsvLayout layout : {CsvLayout::Standard, CsvLayout::OldFullPathAndNew, CsvLayout::OldFullPath}) {
    file += CsvFileBytes(BuildCsvText(list, CsvRows::All, {layout, layout == CsvLayout::OldFullPathAndNew, false}));
  }
  return file;
}

// The whole read of one file, fenced on both sides; every row it gives fits the list.
size_t ReadFenced(const std::string& input) {
  size_t rows = 0;
  for (auto fence : {GuardedBytes::Fence::kAfterEnd, GuardedBytes::Fence::kBeforeStart}) {
    GuardedBytes guarded(reinterpret_cast<const unsigned char*>(input.data()), input.size(), fence);
    EXPECT_TRUE(guarded.Valid());
    const std::string_view bytes(reinterpret_cast<const char*>(guarded.Data()), guarded.Size());
    const CsvFileText file = DecodeCsvFileBytes(bytes, CsvFileByteLimit(2));
    if (file.problem != CsvFileProblem::None) {
      EXPECT_TRUE(file.text.empty());
      continue;
    }
    const CsvImport import = ParseCsvText(file.text);
    for (const RenameItem& row : import.rows) {
      EXPECT_FALSE(row.oldName.empty());
      EXPECT_LE(row.SourcePath().size(), kMaxLongPathChars);
      EXPECT_LE(row.newName.size(), kMaxLongPathChars);
      EXPECT_EQ(row.folder.back(), L'\\');
    }
    rows = import.rows.size();
  }
  return rows;
}

TEST(CsvFuzz, EveryCutOfAValidFileReadsTheRowsBeforeTheCut) {
  const std::string file = ValidFile();
  const size_t all = ReadFenced(file);
  EXPECT_EQ(all, 9u);
  size_t previous = 0;
  for (size_t cut = 0; cut <= file.size(); ++cut) {
    const size_t rows = ReadFenced(file.substr(0, cut));
    EXPECT_LE(rows, all) << "cut at " << cut;
    if (HasFailure()) return;
    previous = rows;
  }
  EXPECT_EQ(previous, all);
}

TEST(CsvFuzz, MutatedFilesNeverReadOutsideTheirBytes) {
  const std::string valid = ValidFile();
  std::mt19937 random(1313);
  for (int round = 0; round < 2000; ++round) {
    std::string input = valid;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const size_t at = input.empty() ? 0 : random() % input.size();
      switch (random() % 5) {
        case 0: input.resize(at); break;
        case 1: if (!input.empty()) input[at] = static_cast<char>(input[at] ^ (1 << (random() % 8))); break;
        case 2: input.insert(at, std::string(1 + random() % 8, "\",\t\r\n\\#<:"[random() % 10])); break;
        case 3: input.insert(at, std::string(1 + random() % 300, static_cast<char>(random()))); break;
        default: input.erase(at, random() % 200); break;
      }
    }
    ReadFenced(input);
    if (HasFailure()) return;
  }
}

TEST(CsvFuzz, RandomAndOversizedBytesNeverReadOutsideTheirBytes) {
  std::mt19937 random(4242);
  for (int round = 0; round < 1500; ++round) {
    std::string input(random() % 4000, '\0');
    for (char& c : input) {
      // Mostly the characters that steer the reader, so that its deeper paths are reached.
      c = random() % 2 == 0 ? "\",\t\r\n\\:.<>#u0aC"[random() % 16] : static_cast<char>(random());
    }
    ReadFenced(input);
    if (HasFailure()) return;
  }
  ReadFenced("");
  EXPECT_EQ(ReadFenced(std::string(CsvFileByteLimit(2) + 1, 'a')), 0u);
}

}  // namespace
}  // namespace korval
