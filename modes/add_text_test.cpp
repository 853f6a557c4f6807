#include "modes/add_text.h"

#include <gtest/gtest.h>

#include "platform/path_limits.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

struct AddCase {
  const wchar_t* source;
  const wchar_t* text;
  int position;
  int fromBack;
  int fileDir;
  const wchar_t* target;
};

std::wstring Added(const std::wstring& source, const std::wstring& text, int position, int fromBack, int fileDir = 0) {
  ModeParams params;
  params.addstr = text;
  params.addlen = position;
  params.addprepost = fromBack;
  TransformContext ctx;
  ctx.params = &params;
  ctx.fileDir = fileDir;
  std::wstring target = L"junk";
  AddTextTransform(ctx, source, target);
  return target;
}

TEST(AddText, InsertsCountingFromTheFrontOrTheBack) {
  const wchar_t* abcd = L"C:\\d\\abcd.txt";
  const AddCase cases[] = {
      {abcd, L"X", 2, 0, 0, L"C:\\d\\abXcd.txt"},
      {abcd, L"X", 2, 1, 0, L"C:\\d\\abXcd.txt"},
      {abcd, L"X", 5, 0, 0, L"C:\\d\\abcd.txt"},
      {abcd, L"X", 5, 1, 0, L"C:\\d\\abcd.txt"},
      {abcd, L"X", 4, 1, 0, L"C:\\d\\Xabcd.txt"},
      {abcd, L"X", 4, 0, 0, L"C:\\d\\abcdX.txt"},
      {abcd, L"X", 0, 0, 0, L"C:\\d\\Xabcd.txt"},
      {abcd, L"X", 0, 1, 0, L"C:\\d\\abcdX.txt"},
      {abcd, L"", 1, 0, 0, L"C:\\d\\abcd.txt"},
      {L"C:\\d\\my.dir", L"X", 0, 1, 1, L"C:\\d\\my.dirX"},
      {L"C:\\d\\my.dir", L"X", 0, 1, 0, L"C:\\d\\myX.dir"},
      {L"C:\\photos\\abc.txt", L"\\f_", 0, 0, 0, L"C:\\photos\\photos_abc.txt"},
      {L"C:\\photos\\abc.txt", L"\\\\f_", 0, 0, 0, L"C:\\photos\\\\f_abc.txt"},
      {L"C:\\photos\\abc.txt", L"_\\e", 0, 1, 0, L"C:\\photos\\abc_txt.txt"},
      {L"", L"X", 0, 0, 0, L"X"},
  };
  for (const AddCase& c : cases) {
    EXPECT_EQ(std::wstring(c.target), Added(c.source, c.text, c.position, c.fromBack, c.fileDir))
        << Utf8(c.source) << " " << Utf8(c.text) << " at " << c.position;
  }
}

TEST(AddText, InsertsTheItemSize) {
  TempFolder folder;
  const std::wstring file = folder.WriteFile(L"a.bin", std::string(77, 'x'));
  EXPECT_EQ(folder / L"a_77.bin", Added(file, L"_\\s", 0, 1));
}

TEST(AddText, ANameTooLongForAPathIsBuiltWhole) {
  const std::wstring directory = L"C:\\" + std::wstring(250, L'd') + L"\\";
  EXPECT_EQ(directory + L"aXXXXXXXXb.txt", Added(directory + L"ab.txt", L"XXXXXXXX", 1, 0));
  const std::wstring full = L"C:\\" + std::wstring(kMaxBuiltPath - 3, L'n');
  EXPECT_EQ(L"C:\\X" + std::wstring(kMaxBuiltPath - 4, L'n'), Added(full, L"X", 0, 0));
}

}  // namespace
}  // namespace korval
