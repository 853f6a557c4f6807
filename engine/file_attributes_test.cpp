#include "engine/file_attributes.h"

#include <gtest/gtest.h>

#include "engine/memory_file_system_test.h"
#include "platform/faulty_file_system.h"
#include "platform/temp_folder.h"

namespace korval {
namespace {

constexpr DWORD RO = FILE_ATTRIBUTE_READONLY, HID = FILE_ATTRIBUTE_HIDDEN, ARC = FILE_ATTRIBUTE_ARCHIVE,
                SYS = FILE_ATTRIBUTE_SYSTEM;
constexpr int kSet = kAttributeSet, kClear = kAttributeClear, kLeave = kAttributeLeave;

std::wstring Flags(const AttributeFlags& flags) { return std::wstring(flags.begin(), flags.end()); }

// Wine always reports the archive attribute and cannot clear it, so the bits are checked on the
// in-memory double, which keeps them as Windows does.
TEST(FileAttributes, ChoicesSetClearAndLeave) {
  const struct {
    DWORD before;
    AttributeChoices choices;
    DWORD after;
    const wchar_t* oldFlags;
  } cases[] = {
      {HID | ARC, {kSet, kLeave, kClear, kLeave}, RO | HID, L"NYYN"},
      {RO | HID | ARC | SYS, {kClear, kClear, kClear, kClear}, 0, L"YYYY"},
      {0, {kSet, kSet, kSet, kSet}, RO | HID | ARC | SYS, L"NNNN"},
      {RO | SYS, {kLeave, kLeave, kLeave, kLeave}, RO | SYS, L"YNNY"},
      {HID, {7, -1, kLeave, 3}, HID, L"NYNN"},  // unknown choices leave
      {ARC | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, {kLeave, kSet, kLeave, kLeave},
       ARC | HID | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, L"NNYN"},
  };
  for (const auto& c : cases) {
    MemoryFileSystem fs;
    MemoryFileSystem::Item& item = fs.AddFile(L"C:\\f.txt", c.before);
    AttributeFlags old{};
    EXPECT_EQ(0, FileAttributes(c.choices, L"C:\\f.txt", &old, fs));
    EXPECT_EQ(c.after, item.attributes) << Utf8(c.oldFlags);
    EXPECT_EQ(c.oldFlags, Flags(old));
  }
}

TEST(FileAttributes, FolderKeepsBeingAFolder) {
  MemoryFileSystem fs;
  MemoryFileSystem::Item& item = fs.AddFolder(L"C:\\dir");
  item.attributes |= HID;
  AttributeFlags old{};
  EXPECT_EQ(0, FileAttributes({kLeave, kClear, kLeave, kLeave}, L"C:\\dir", &old, fs));
  // The directory bit is not something to write back; nothing left means "normal".
  EXPECT_EQ((std::vector<DWORD>{FILE_ATTRIBUTE_NORMAL}), fs.attributesWritten);
  EXPECT_EQ(L"NYNN", Flags(old));
}

TEST(FileAttributes, RealFileHiddenSystemReadOnly) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"a.txt", "a");
  EXPECT_EQ(0, FileAttributes({kSet, kSet, kLeave, kSet}, path, nullptr));
  DWORD now = GetFileAttributesW(path.c_str());
  EXPECT_EQ(RO | HID | SYS, now & (RO | HID | SYS));
  AttributeFlags old{};
  EXPECT_EQ(0, FileAttributes({kClear, kLeave, kLeave, kClear}, path, &old));
  now = GetFileAttributesW(path.c_str());
  EXPECT_EQ(HID, now & (RO | HID | SYS));
  EXPECT_EQ(L'Y', old[0]);
  EXPECT_EQ(L'Y', old[1]);
  EXPECT_EQ(L'Y', old[3]);

  const std::wstring folder = dir / L"sub";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  EXPECT_EQ(0, FileAttributes({kLeave, kSet, kLeave, kLeave}, folder, nullptr));
  now = GetFileAttributesW(folder.c_str());
  EXPECT_TRUE(now & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_TRUE(now & HID);
}

TEST(FileAttributes, FailuresAreReported) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"a.txt", "a");
  FaultyFileSystem fs;
  EXPECT_EQ(1, FileAttributes({kSet, kLeave, kLeave, kLeave}, dir / L"missing.txt", nullptr, fs));
  EXPECT_EQ(1, FileAttributes({kSet, kLeave, kLeave, kLeave}, L"", nullptr, fs));
  EXPECT_EQ(0, fs.CountOf(FsCall::SetAttributes));

  fs.FailNth(FsCall::SetAttributes, 1, ERROR_WRITE_PROTECT);
  AttributeFlags old{};
  EXPECT_EQ(1, FileAttributes({kLeave, kSet, kLeave, kLeave}, path, &old, fs));
  EXPECT_FALSE(GetFileAttributesW(path.c_str()) & HID);

  FaultyFileSystem unreadable;
  unreadable.FailNth(FsCall::GetAttributes, 1, ERROR_ACCESS_DENIED);
  EXPECT_EQ(1, FileAttributes({kLeave, kSet, kLeave, kLeave}, path, &old, unreadable));
  EXPECT_EQ(0, unreadable.CountOf(FsCall::SetAttributes));
}

}  // namespace
}  // namespace korval
