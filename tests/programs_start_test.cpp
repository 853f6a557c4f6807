// Both programs start under Wine, show their windows with the documented class and title, and the
// renamer reads and writes its settings in the ini file of its folder.
#include <gtest/gtest.h>

#include "testing/dialog_answers.h"
#include "testing/temp_folder.h"
#include "testing/program_runner.h"

namespace korval {
namespace {

TEST(ProgramStart, RenamerShowsItsJapaneseTitleAndFillsTheIniAtExit) {
  TempFolder folder;
  folder.WriteFile(L"use.ini", "");
  folder.WriteFile(L"korvalith.ini", "");
  ProgramRunner program(folder, L"korvalith.exe");
  ASSERT_TRUE(program.Started());
  // The very first start asks about the display name first; OK keeps the Japanese one.
  DialogAnswers answers(program.ProcessId());
  answers.Expect(L"the first-start dialog", PressButtonOf(L"初回起動", IDOK));
  ASSERT_TRUE(answers.Wait());
  HWND window = program.WaitForWindow();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(L"Korvalith", WindowClass(window));
  EXPECT_EQ(L"こ～ばりす～ず ", WindowText(window));
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(815, r.right - r.left);
  EXPECT_EQ(437, r.bottom - r.top);
  ASSERT_EQ(0, program.Close());

  const std::string ini = folder.ReadFile(L"korvalith.ini");
  EXPECT_EQ(0u, ini.find("[Base]\r\n_count=1\r\n_version=4231201\r\noption1=528433\r\n")) << ini;
  EXPECT_NE(std::string::npos, ini.find("\r\nwwidth=815\r\n")) << ini;
  EXPECT_NE(std::string::npos, ini.find("\r\nautoaddopt=\"/file /subfolder0\"\r\n")) << ini;
}

TEST(ProgramStart, RenamerUsesTheProductNameAndTheSavedPlace) {
  TempFolder folder;
  folder.WriteFile(L"use.ini", "");
  folder.WriteFile(L"korvalith.ini",
                   "[Base]\r\n_version=4231201\r\n_count=5\r\nusejpname=0\r\n"
                   "wleft=40\r\nwtop=30\r\nwwidth=800\r\nwheight=500\r\n");
  ProgramRunner program(folder, L"korvalith.exe");
  HWND window = program.WaitForWindow();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(L"Korvalith ", WindowText(window));
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(40, r.left);
  EXPECT_EQ(30, r.top);
  EXPECT_EQ(800, r.right - r.left);
  EXPECT_EQ(500, r.bottom - r.top);
  ASSERT_EQ(0, program.Close());
  EXPECT_NE(std::string::npos, folder.ReadFile(L"korvalith.ini").find("_count=6\r\n"));
}

TEST(ProgramStart, TheLogOfAnInterruptedRunBecomesUndoableAtStart) {
  TempFolder folder;
  folder.WriteFile(L"use.ini", "");
  const std::string bom = "\xFF\xFE";
  std::string line;
  for (wchar_t c : std::wstring(L"\"C:\\a.txt\",\"C:\\b.txt\",\"<NORMAL>\"\r\n")) {
    line += static_cast<char>(c & 0xFF);
    line += static_cast<char>(c >> 8);
  }
  folder.WriteFile(L"rename0.log", bom + line);
  folder.WriteFile(L"rename1.log", "older");
  folder.WriteFile(L"korvalith.ini", "[Base]\r\n_version=4231201\r\n_count=5\r\n");
  ProgramRunner program(folder, L"korvalith.exe");
  ASSERT_NE(nullptr, program.WaitForWindow());
  ASSERT_EQ(0, program.Close());
  EXPECT_FALSE(folder.Exists(L"rename0.log"));
  EXPECT_EQ(bom + line, folder.ReadFile(L"rename1.log"));
  EXPECT_EQ("older", folder.ReadFile(L"rename2.log"));
}

TEST(ProgramStart, MacroEditorShowsItsWindow) {
  TempFolder folder;
  ProgramRunner program(folder, L"korvalmacroedit.exe", L"/macro3");
  ASSERT_TRUE(program.Started());
  HWND window = program.WaitForWindow();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(L"Korvalith Macro Editor", WindowClass(window));
  EXPECT_EQ(L"マクロエディタ", WindowText(window));
  EXPECT_EQ(0, program.Close());
}

}  // namespace
}  // namespace korval
