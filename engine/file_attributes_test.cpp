#include "engine/file_attributes.h"

#include <gtest/gtest.h>

#include "testing/memory_file_system.h"
#include "testing/faulty_file_system.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

constexpr DWORD RO = FILE_ATTRIBUTE_READONLY, HID = FILE_ATTRIBUTE_HIDDEN, ARC = FILE_ATTRIBUTE_ARCHIVE,
                SYS = FILE_ATTRIBUTE_SYSTEM;

// Wine always reports the archive attribute and cannot clear it, so the bits are checked on the
// in-memory double, which keeps them as Windows does.
TEST(FileAttributes, ChoicesSetClearAndLeave) {
  const struct {
    DWORD before;
    AttributeChoices choices;
    DWORD after;
    const wchar_t* oldFlags;
  } cases[] = {
      {HID | ARC, {1, 2, 0, 2}, RO | HID, L"NYYN"},
      {RO | HID | ARC | SYS, {0, 0, 0, 0}, 0, L"YYYY"},
      {0, {1, 1, 1, 1}, RO | HID | ARC | SYS, L"NNNN"},
      {HID, {7, -1, 2, 3}, HID, L"NYNN"},  // unknown choices leave
      {ARC | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, {2, 1, 2, 2}, ARC | HID | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, L"NNYN"},
  };
  for (const auto& c : cases) {
    MemoryFileSystem fs;
    MemoryFileSystem::Item& item = fs.AddFile(L"C:\\f.txt", c.before);
    AttributeFlags old{};
    EXPECT_EQ(0, FileAttributes(c.choices, L"C:\\f.txt", &old, fs));
    EXPECT_EQ(c.after, item.attributes) << Utf8(c.oldFlags);
    EXPECT_EQ(c.oldFlags, std::wstring(old.begin(), old.end()));
  }
  // A folder's directory bit is no attribute to write back; nothing left is written as "normal".
  MemoryFileSystem fs;
  fs.AddFile(L"C:\\dir", FILE_ATTRIBUTE_DIRECTORY | HID);
  EXPECT_EQ(0, FileAttributes({2, 0, 2, 2}, L"C:\\dir", nullptr, fs));
  EXPECT_EQ((std::vector<DWORD>{FILE_ATTRIBUTE_NORMAL}), fs.attributesWritten);
}

TEST(FileAttributes, RealFilesAndFailures) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"a.txt", "a");
  EXPECT_EQ(0, FileAttributes({1, 1, 2, 1}, path, nullptr));
  EXPECT_EQ(RO | HID | SYS, GetFileAttributesW(path.c_str()) & (RO | HID | SYS));
  AttributeFlags old{};
  EXPECT_EQ(0, FileAttributes({0, 2, 2, 0}, path, &old));
  EXPECT_EQ(HID, GetFileAttributesW(path.c_str()) & (RO | HID | SYS));
  EXPECT_EQ(L"YYY", std::wstring({old[0], old[1], old[3]}));

  FaultyFileSystem fs;
  EXPECT_EQ(1, FileAttributes({1, 2, 2, 2}, dir / L"missing.txt", nullptr, fs));
  EXPECT_EQ(1, FileAttributes({1, 2, 2, 2}, L"", nullptr, fs));
  EXPECT_EQ(0, fs.CountOf(FsCall::SetAttributes));
  fs.FailNth(FsCall::SetAttributes, 1, ERROR_WRITE_PROTECT);
  EXPECT_EQ(1, FileAttributes({2, 0, 2, 2}, path, nullptr, fs));
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & HID);
}

}  // namespace
}  // namespace korval
