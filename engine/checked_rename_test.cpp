#include "engine/checked_rename.h"

#include <gtest/gtest.h>

#include <map>

#include "testing/case_twin.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

using Files = std::map<std::wstring, std::string>;

Files FilesIn(const TempFolder& dir) {
  Files files;
  for (const std::wstring& name : SortedNames(dir.Path())) files[name] = dir.ReadFile(name);
  return files;
}

// A folder that tells case apart holds abc.txt and ABC.txt. Every lookup of either name may find the
// other file: a rename that parked one of them under its temporary name could neither finish nor
// come back, so it is refused before its first step, and nothing is ever left under that name.
TEST(CheckedRename, ATwinInLetterCaseIsNeverStrandedUnderTheTemporaryName) {
  const Files kUntouched = {{L"ABC.txt", "upper"}, {L"abc.txt", "lower"}, {L"other.txt", "o"}};
  const struct {
    const char* name;
    const wchar_t* from;
    const wchar_t* to;
    bool twoSteps;
    bool renamed;
    Files after;
  } cases[] = {
      {"OntoTheTwinsSpelling", L"abc.txt", L"ABC.txt", false, false, kUntouched},
      {"ToAThirdSpelling", L"ABC.txt", L"ABC.TXT", false, false, kUntouched},
      {"TheOtherOneToAThirdSpelling", L"abc.txt", L"Abc.txt", false, false,
       kUntouched},
      // Two steps (8.3 names) could not move the file back if the second step failed.
      {"TwoStepsAwayFromATwin", L"abc.txt", L"x.txt", true, false, kUntouched},
      {"ANameWithoutTwinChangesItsCase", L"other.txt", L"OTHER.txt", false, true,
       {{L"ABC.txt", "upper"}, {L"OTHER.txt", "o"}, {L"abc.txt", "lower"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    dir.WriteFile(L"abc.txt", "lower");
    if (!WriteCaseTwin(dir.Path(), L"ABC.txt", "upper")) GTEST_SKIP() << "case twins need Wine";
    dir.WriteFile(L"other.txt", "o");
    std::wstring parkedAt;
    EXPECT_EQ(c.renamed, RenameChecked(SystemFileSystem(), dir / c.from, dir / c.to, c.twoSteps, &parkedAt));
    if (!c.renamed) {
      EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    }
    EXPECT_TRUE(parkedAt.empty()) << Utf8(parkedAt);
    EXPECT_EQ(c.after, FilesIn(dir));
  }
}

}  // namespace
}  // namespace korval
