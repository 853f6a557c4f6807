#include "platform/volume_kinds.h"

#include <gtest/gtest.h>

#include <map>

namespace korval {
namespace {

// A machine of volumes whose answers a test changes as it goes: which volume each path lies on,
// what each volume is, and the clock.
struct Machine {
  std::map<std::wstring, std::wstring> mounts;  // folder prefix -> volume path (the longest wins)
  std::map<std::wstring, std::pair<DWORD, std::wstring>> volumes;  // volume path -> serial, file system
  std::map<std::wstring, bool> remoteDrives;
  ULONGLONG now = 1000;
  int questions = 0;

  VolumeQuestions Questions() {
    VolumeQuestions q;
    q.volumePathOf = [this](const std::wstring& path, std::wstring& volumePath) {
      ++questions;
      volumePath.clear();
      for (const auto& [prefix, volume] : mounts) {
        if (path.rfind(prefix, 0) == 0 && prefix.size() >= volumePath.size()) volumePath = volume;
      }
      return !volumePath.empty();
    };
    q.information = [this](const std::wstring& volumePath, DWORD& serial, std::wstring& fileSystem) {
      ++questions;
      const auto found = volumes.find(volumePath);
      if (found == volumes.end()) return false;
      serial = found->second.first;
      fileSystem = found->second.second;
      return true;
    };
    q.remoteDrive = [this](const std::wstring& root) {
      ++questions;
      return remoteDrives[root];
    };
    q.now = [this] { return now; };
    return q;
  }
};

struct VolumeCase {
  const char* what;
  std::function<void(Machine&)> before;  // the machine as the folder is first asked about
  std::function<void(Machine&)> change;  // what happens before it is asked again
  const wchar_t* folder;
  bool stampsTellFirst, stampsTellAfter;
  DWORD serialAfter;
  bool remote;
};

TEST(VolumeKinds, AskedPerVolumeAndAskedAgainAfterAWhile) {
  const VolumeCase cases[] = {
      {"a FAT card mounted in a folder of an NTFS volume", [](Machine&) {}, [](Machine&) {},
       L"C:\\mnt\\card\\photos\\", false, false, 7, false},
      {"a folder of the NTFS volume beside it", [](Machine&) {}, [](Machine&) {}, L"C:\\photos\\", true, true, 1,
       false},
      {"an NTFS card taken out and an exFAT card put in at the same letter",
       [](Machine& m) { m.volumes[L"E:\\"] = {5, L"NTFS"}; },
       [](Machine& m) {
         m.volumes[L"E:\\"] = {6, L"exFAT"};
         m.now += VolumeKinds::kKeptMs;
       },
       L"E:\\DCIM\\", true, false, 6, false},
      {"an exFAT card taken out and an NTFS card put in", [](Machine& m) { m.volumes[L"E:\\"] = {6, L"exFAT"}; },
       [](Machine& m) {
         m.volumes[L"E:\\"] = {5, L"NTFS"};
         m.now += VolumeKinds::kKeptMs;
       },
       L"E:\\DCIM\\", false, true, 5, false},
      {"a volume that cannot be read", [](Machine& m) { m.volumes.erase(L"C:\\"); }, [](Machine&) {}, L"C:\\x\\",
       false, false, 0, false},
      {"a network drive", [](Machine& m) { m.remoteDrives[L"Z:\\"] = true; }, [](Machine&) {}, L"Z:\\share\\", true,
       true, 9, true},
      {"a share by its server's name", [](Machine&) {}, [](Machine&) {}, L"\\\\server\\share\\x\\", true, true, 11,
       true},
  };
  for (const VolumeCase& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    m.mounts = {{L"C:\\", L"C:\\"}, {L"C:\\mnt\\card\\", L"C:\\mnt\\card\\"}, {L"E:\\", L"E:\\"}, {L"Z:\\", L"Z:\\"}};
    m.volumes = {{L"C:\\", {1, L"NTFS"}},
                 {L"C:\\mnt\\card\\", {7, L"FAT32"}},
                 {L"Z:\\", {9, L"NTFS"}},
                 {L"\\\\server\\share\\", {11, L"NTFS"}}};
    c.before(m);
    VolumeKinds kinds(m.Questions());
    EXPECT_EQ(c.stampsTellFirst, kinds.Of(c.folder).stampsTell);
    c.change(m);
    const VolumeKind& after = kinds.Of(c.folder);
    EXPECT_EQ(c.stampsTellAfter, after.stampsTell);
    EXPECT_EQ(c.serialAfter, after.serial);
    EXPECT_EQ(c.remote, kinds.Remote(c.folder));
  }
}

// Within the while an answer is kept, the folders of a volume ask nothing more; a share is never
// asked for its volume's path (a question that would wait for its server).
TEST(VolumeKinds, KeptAnswersAskNothing) {
  Machine m;
  m.mounts = {{L"C:\\", L"C:\\"}};
  m.volumes = {{L"C:\\", {1, L"NTFS"}}, {L"\\\\server\\share\\", {2, L"NTFS"}}};
  VolumeKinds kinds(m.Questions());
  kinds.Of(L"C:\\a\\");
  kinds.Of(L"C:\\b\\");
  const int asked = m.questions;
  m.now += VolumeKinds::kKeptMs - 1;
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(kinds.Of(L"C:\\a\\").stampsTell);
    EXPECT_TRUE(kinds.Of(L"C:\\b\\").stampsTell);
  }
  EXPECT_EQ(asked, m.questions);
  // A folder that is no link lies on its parent's volume: the folders of a read ask nothing more.
  EXPECT_TRUE(kinds.Of(L"C:\\a\\b\\", true).stampsTell);
  EXPECT_EQ(asked, m.questions);
  // A mount point is no plain folder: it is asked for, and the folders below it lie on its volume.
  m.mounts[L"C:\\a\\m\\"] = L"C:\\a\\m\\";
  m.volumes[L"C:\\a\\m\\"] = {3, L"exFAT"};
  EXPECT_FALSE(kinds.Of(L"C:\\a\\m\\").stampsTell);
  const int afterMount = m.questions;
  EXPECT_FALSE(kinds.Of(L"C:\\a\\m\\x\\", true).stampsTell);
  EXPECT_EQ(afterMount, m.questions);
  m.questions = 0;
  EXPECT_TRUE(kinds.Remote(L"\\\\server\\share\\x\\"));
  EXPECT_TRUE(kinds.Of(L"\\\\server\\share\\x\\").stampsTell);
  EXPECT_EQ(1, m.questions) << "the share's information alone";
}

}  // namespace
}  // namespace korval
