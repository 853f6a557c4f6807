#include "platform/probe_file_system.h"

#include <gtest/gtest.h>

#include <vector>

#include "testing/refusing_file_system.h"
#include "testing/faulty_file_system.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

// Answers only the volume question, with a chosen name, and records the roots asked.
class VolumeNameDouble final : public RefusingFileSystem {
 public:
  explicit VolumeNameDouble(std::wstring name) : name_(std::move(name)) {}
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
      {L"UDF", kFsOther}, {L"", kFsOther},     {L"fat32", kFsOther},  // the name is compared as it is
  };
  for (const auto& c : cases) {
    VolumeNameDouble fs(c.volume);
    EXPECT_EQ(c.kind, ProbeFileSystem(L"E:\\photos\\img.jpg", fs)) << Utf8(c.volume);
    EXPECT_EQ(std::vector<std::wstring>{L"E:\\"}, fs.roots);
  }
  VolumeNameDouble fat(L"FAT32");
  FaultyFileSystem failing(fat);
  failing.FailNth(FsCall::VolumeFileSystemName, 1, ERROR_NOT_READY);
  EXPECT_EQ(kFsOther, ProbeFileSystem(L"A:\\disk.img", failing));
}

TEST(ProbeFileSystem, OnlyDrivePathsAreProbed) {
  const std::wstring deep = L"D:\\" + std::wstring(250, L'a') + L"\\bbbbb";  // 259 characters
  const struct {
    std::wstring path;
    bool probed;
  } cases[] = {
      {L"C:\\file.txt", true}, {L"C:\\", true},    {deep, true},     {deep + L"c", true},
      {L"C:", false},          {L"C:file", false}, {L"", false},     {L"\\\\server\\share\\file.txt", false},
      {L"C/\\x", false},
  };
  for (const auto& c : cases) {
    VolumeNameDouble fs(L"FAT32");
    EXPECT_EQ(c.probed ? kFsFat : kFsOther, ProbeFileSystem(c.path, fs)) << Utf8(c.path);
    EXPECT_EQ(c.probed ? std::vector<std::wstring>{c.path.substr(0, 3)} : std::vector<std::wstring>{}, fs.roots);
  }
  // The real seam answers for the drive of a temporary folder.
  TempFolder dir;
  const int kind = ProbeFileSystem(dir.WriteFile(L"a.txt", "a"));
  EXPECT_TRUE(kind == kFsNtfs || kind == kFsFat) << kind;
}

}  // namespace
}  // namespace korval
