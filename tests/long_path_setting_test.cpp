// The renamer started unattended with the system's long-path setting off and on: the registry value
// of the test prefix, which every program started meanwhile would see, so these tests run alone.
// Off, a new path of 256 or more is a スキップ row and a rename that makes a long path short goes
// through; on, both go through, down to a file 4,000 characters deep; undo brings every name back.
#include <gtest/gtest.h>

#include <string>

#include "platform/data_files.h"
#include "platform/utf8.h"
#include "testing/deep_tree.h"
#include "testing/program_runner.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

constexpr wchar_t kFileSystemKey[] = L"SYSTEM\\CurrentControlSet\\Control\\FileSystem";

// Sets LongPathsEnabled for as long as it lives, then takes the value away: the prefix's other
// tests expect the system's default, no value at all.
class LongPathsSetting {
 public:
  explicit LongPathsSetting(bool on) {
    const DWORD value = on ? 1 : 0;
    set_ = RegSetKeyValueW(HKEY_LOCAL_MACHINE, kFileSystemKey, L"LongPathsEnabled", REG_DWORD, &value,
                           sizeof(value)) == ERROR_SUCCESS;
  }
  ~LongPathsSetting() { RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kFileSystemKey, L"LongPathsEnabled"); }
  bool Set() const { return set_; }

 private:
  bool set_ = false;
};

class LongPathSettingTest : public testing::Test {
 protected:
  void SetUp() override {
    program_.WriteFile(L"use.ini", "");
    CopyFileW((ProgramFolder() + L"bregonig.dll").c_str(), (program_ / L"bregonig.dll").c_str(), FALSE);
  }
  int Run(const std::wstring& arguments) {
    ProgramRunner run(program_, L"korvalith.exe", arguments);
    return run.WaitForExit(60000);
  }
  // Renames the files of the folder (which ends with a backslash) by the pattern; the exit code.
  int Rename(const std::wstring& pattern, const std::wstring& folder, const std::wstring& options = L"") {
    const std::wstring quoted = L"\"" + folder.substr(0, folder.size() - 1) + L"\"";
    return Run(options + L"\"" + pattern + L"\" \"/report=" + program_ / L"report.csv" + L"\" " + quoted);
  }

  TempFolder program_;
};

struct SettingCase {
  bool on;
  size_t newNameChars;  // the new name's characters before ".txt", in a folder of 200
  bool renamed;
};

TEST_F(LongPathSettingTest, ANewPathOf256OrMoreNeedsTheSettingAndAShorterOneNever) {
  // The old path (200 + 64) is long in every case; new paths of 204 + 40 and 204 + 100.
  const SettingCase cases[] = {{false, 40, true}, {false, 100, false}, {true, 40, true}, {true, 100, true}};
  for (const SettingCase& c : cases) {
    const std::string what = std::string(c.on ? "on, " : "off, ") + std::to_string(c.newNameChars);
    LongPathsSetting setting(c.on);
    ASSERT_TRUE(setting.Set());
    TempFolder files;
    const std::wstring folder = MakeDeepFolder(files.Path(), 200, L'd', 50);
    const std::wstring oldName = std::wstring(60, L'n') + L".txt";
    const std::wstring newName = std::wstring(c.newNameChars, L'm') + L".txt";
    ASSERT_TRUE(MakeFile(folder + oldName));
    EXPECT_EQ(c.renamed ? 0 : 1, Rename(L"s/^n+/" + std::wstring(c.newNameChars, L'm') + L"/", folder)) << what;
    EXPECT_EQ(c.renamed, ExistsAt(folder + newName)) << what;
    EXPECT_NE(c.renamed, ExistsAt(folder + oldName)) << what;
    const std::string report = program_.ReadFile(L"report.csv");
    EXPECT_NE(std::string::npos, report.find(Utf8(oldName) + "," + Utf8(newName) + ",")) << what;
    EXPECT_EQ(!c.renamed, report.find("絶対パスを含めたファイル名の長さが256文字以上") != std::string::npos) << what;
    if (!c.renamed) continue;
    EXPECT_EQ(0, Run(L"/undo")) << what;
    EXPECT_TRUE(ExistsAt(folder + oldName)) << what;
    EXPECT_FALSE(ExistsAt(folder + newName)) << what;
  }
}

// As deep as the Linux side of the drive lets a path go (4,096 bytes): a file 4,000 characters deep.
TEST_F(LongPathSettingTest, AFileFourThousandCharactersDeepIsRenamedAndUndone) {
  LongPathsSetting setting(true);
  ASSERT_TRUE(setting.Set());
  TempFolder files;
  const std::wstring top = files / L"t\\";
  ASSERT_TRUE(CreateDirectoryW(top.c_str(), nullptr));
  const std::wstring deep = MakeDeepFolder(top, 4000 - 10, L'd', 200);
  ASSERT_EQ(3990u, deep.size());
  ASSERT_TRUE(MakeFile(deep + L"old_ab.txt"));
  ASSERT_EQ(4000u, (deep + L"old_ab.txt").size());
  EXPECT_EQ(0, Rename(L"s/^old_/new_/", top, L"/subfolder10 "));
  EXPECT_TRUE(ExistsAt(deep + L"new_ab.txt"));
  EXPECT_FALSE(ExistsAt(deep + L"old_ab.txt"));
  EXPECT_EQ(0, Run(L"/undo"));
  EXPECT_TRUE(ExistsAt(deep + L"old_ab.txt"));
  EXPECT_FALSE(ExistsAt(deep + L"new_ab.txt"));
}

}  // namespace
}  // namespace korval
