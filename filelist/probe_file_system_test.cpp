#include "filelist/probe_file_system.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/faulty_file_system.h"
#include "platform/temp_folder.h"

namespace korval {
namespace {

// Answers only the volume question, with a chosen name, and records the roots asked.
class VolumeNameDouble final : public FileSystem {
 public:
  explicit VolumeNameDouble(std::wstring name) : name_(std::move(name)) {}
  bool Move(const wchar_t*, const wchar_t*) override { return false; }
  bool Delete(const wchar_t*) override { return false; }
  DWORD GetAttributes(const wchar_t*) override { return INVALID_FILE_ATTRIBUTES; }
  bool SetAttributes(const wchar_t*, DWORD) override { return false; }
  bool GetTimes(const wchar_t*, FILETIME*, FILETIME*, FILETIME*) override { return false; }
  bool SetTimes(const wchar_t*, const FILETIME*, const FILETIME*, const FILETIME*) override { return false; }
  bool Find(const wchar_t*, WIN32_FIND_DATAW*) override { return false; }
  bool ShortPath(const wchar_t*, std::wstring&) override { return false; }
  bool ListFolder(const wchar_t*, const std::function<void(const WIN32_FIND_DATAW&)>&) override { return false; }
  bool VolumeFileSystemName(const wchar_t* root, std::wstring& name) override {
    roots.push_back(root);
    name = name_;
    return true;
  }
  std::vector<std::wstring> roots;

 private:
  std::wstring name_;
};

TEST(ProbeFileSystem, KindFromTheVolumeName) {
  const struct {
    const wchar_t* volume;
    int kind;
  } cases[] = {
      {L"FAT", kFsFat},   {L"FAT32", kFsFat},  {L"exFAT", kFsFat}, {L"NTFS", kFsNtfs}, {L"CDFS", kFsCdfs},
      {L"UDF", kFsOther}, {L"ReFS", kFsOther}, {L"", kFsOther},    {L"fat32", kFsOther},  // case counts
  };
  for (const auto& c : cases) {
    VolumeNameDouble fs(c.volume);
    EXPECT_EQ(c.kind, ProbeFileSystem(L"E:\\photos\\img.jpg", fs)) << Utf8(c.volume);
    ASSERT_EQ(1u, fs.roots.size());
    EXPECT_EQ(L"E:\\", fs.roots[0]);
  }
}

TEST(ProbeFileSystem, OnlyDrivePathsAreProbed) {
  const std::wstring deep = L"D:\\" + std::wstring(250, L'a') + L"\\" + std::wstring(5, L'b');  // 259 characters
  const struct {
    std::wstring path;
    bool probed;
  } cases[] = {
      {L"C:\\file.txt", true}, {L"C:\\", true},   {deep, true},           {deep + L"c", true},
      {L"C:", false},          {L"C:file", false}, {L"", false},           {L"file.txt", false},
      {L"\\\\server\\share\\file.txt", false},     {L"C/\\x", false},      {L"\\C:\\x", false},
  };
  for (const auto& c : cases) {
    VolumeNameDouble fs(L"FAT32");
    EXPECT_EQ(c.probed ? kFsFat : kFsOther, ProbeFileSystem(c.path, fs)) << Utf8(c.path);
    EXPECT_EQ(c.probed ? 1u : 0u, fs.roots.size()) << Utf8(c.path);
    if (c.probed && !fs.roots.empty()) {
      EXPECT_EQ(c.path.substr(0, 3), fs.roots[0]);
    }
  }
}

TEST(ProbeFileSystem, VolumeThatCannotBeAskedIsOther) {
  VolumeNameDouble fat(L"FAT32");
  FaultyFileSystem fs(fat);
  fs.FailNth(FsCall::VolumeFileSystemName, 1, ERROR_NOT_READY);
  EXPECT_EQ(kFsOther, ProbeFileSystem(L"A:\\disk.img", fs));
  EXPECT_EQ(kFsFat, ProbeFileSystem(L"A:\\disk.img", fs));
  EXPECT_EQ(2, fs.CountOf(FsCall::VolumeFileSystemName));
}

TEST(ProbeFileSystem, RealVolumeOfATemporaryFolder) {
  TempFolder dir;
  const std::wstring path = dir.WriteFile(L"a.txt", "a");
  std::wstring name;
  ASSERT_TRUE(SystemFileSystem().VolumeFileSystemName(path.substr(0, 3).c_str(), name));
  EXPECT_FALSE(name.empty());
  // A fixed disk of this machine (Windows or Wine) is NTFS or FAT.
  const int kind = ProbeFileSystem(path);
  EXPECT_TRUE(kind == kFsNtfs || kind == kFsFat) << Utf8(name);
  EXPECT_FALSE(SystemFileSystem().VolumeFileSystemName(L"Q:\\no\\such", name));
}

}  // namespace
}  // namespace korval
