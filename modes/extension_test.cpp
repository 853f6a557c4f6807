#include "modes/extension.h"

#include <gtest/gtest.h>

#include "platform/path_limits.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

TransformContext ContextWith(const ModeParams* params) {
  TransformContext ctx;
  ctx.params = params;
  return ctx;
}

struct ExtensionCase {
  const wchar_t* source;
  const wchar_t* text;
  int extadd;
  const wchar_t* target;
};

std::wstring Extended(const std::wstring& source, const std::wstring& text, int extadd) {
  ModeParams params;
  params.extensionText = text;
  params.extadd = extadd;
  std::wstring target = L"junk";
  ExtensionTransform(ContextWith(&params), source, target);
  return target;
}

TEST(Extension, ReplacesOrAppends) {
  const ExtensionCase cases[] = {
      {L"C:\\d\\a.b.c", L"txt", 0, L"C:\\d\\a.b.txt"},
      {L"C:\\d\\a.b.c", L"txt", 1, L"C:\\d\\a.b.c.txt"},
      {L"C:\\d\\a.b.c", L"", 0, L"C:\\d\\a.b"},
      {L"C:\\d\\a.b.c", L"", 1, L"C:\\d\\a.b.c"},
      {L"C:\\d\\a.b.c", L".txt", 0, L"C:\\d\\a.b..txt"},
      {L"C:\\d\\noext", L"txt", 0, L"C:\\d\\noext.txt"},
      {L"C:\\d.x\\name", L"txt", 0, L"C:\\d.x\\name.txt"},
      {L"C:\\d\\.profile", L"txt", 0, L"C:\\d\\.txt"},
      {L"C:\\d\\v1.2 final", L"txt", 0, L"C:\\d\\v1.2 final.txt"},  // a space after the dot: no extension
      {L"C:\\d\\写真.JPG", L"jpg", 0, L"C:\\d\\写真.jpg"},
      {L"", L"txt", 0, L".txt"},
  };
  for (const ExtensionCase& c : cases) {
    EXPECT_EQ(std::wstring(c.target), Extended(c.source, c.text, c.extadd)) << Utf8(c.source);
  }
}

TEST(Extension, ANameTooLongForAPathIsBuiltWholeAndARunawayOneLeftAsItWas) {
  const std::wstring fits = L"C:\\" + std::wstring(252, L'a');  // 255 characters
  EXPECT_EQ(fits + L".txt", Extended(fits, L"txt", 0));
  const std::wstring tooLong = fits + L"b";
  EXPECT_EQ(tooLong + L".txt", Extended(tooLong, L"txt", 0));
  EXPECT_EQ(tooLong + L".txt", Extended(tooLong, L"txt", 1));
  const std::wstring atTheBound = L"C:\\" + std::wstring(kMaxBuiltPath - 5, L'a');
  EXPECT_EQ(atTheBound, Extended(atTheBound, L"txt", 0));
  ModeParams* none = nullptr;
  std::wstring target;
  ExtensionTransform(ContextWith(none), L"C:\\x.y", target);
  EXPECT_EQ(L"C:\\x.y", target);
}

}  // namespace
}  // namespace korval
