#include "engine/transform_name.h"

#include <gtest/gtest.h>

#include "modes/change_mode.h"
#include "modes/serial_number.h"
#include "testing/temp_folder.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

// What a row's buffer holds after the name is taken in, starting from an earlier name.
std::wstring NameBehindFolder(const std::wstring& target, const std::wstring& folder) {
  std::wstring name = L"earlier.txt";
  AssignNameBehindFolder(name, target, folder);
  return name;
}

struct DispatchCase {
  int mode;
  const wchar_t* newName;  // the expected new name behind the folder
};

TEST(TransformName, EveryModeReachesItsTransform) {
  TempFolder dir;
  dir.WriteFile(L"My Photo.jpeg", "x");
  ModeParams params;
  params.extensionText = L"png";
  params.renbanstr = L"<01>";
  params.numinspos = 3;
  params.bigsmall = 1;
  params.zenorhan = 1;
  params.widthLetters = 1;
  params.addstr = L"new_";
  params.deltype = 8;  // characters from the front of the stem
  params.dellen = 3;
  params.positionText = L"My Photo.jpeg";
  params.replaceFromItems = {L"Photo"};
  params.replaceToItems = {L"Picture"};
  params.datefrom = 7;
  params.dateins = 0;
  params.whichdate = 1;
  TransformContext ctx;
  ctx.params = &params;
  const std::wstring source = dir / L"My Photo.jpeg";
  const DispatchCase cases[] = {
      {kModePositionEdit, L"My Photo.jpeg"},
      {kModeExtension, L"My Photo.png"},
      {kModeSerialNumber, L"01"},
      {kModeLetterCase, L"MY PHOTO.JPEG"},
      {kModeCharWidth, L"\uFF2D\uFF59 \uFF30\uFF48\uFF4F\uFF54\uFF4F.jpeg"},
      {kModeAddText, L"new_My Photo.jpeg"},
      {kModeDeleteText, L"Photo.jpeg"},
      {kModeReplace, L"My Picture.jpeg"},
      {kModeMacro, L"My Photo.jpeg"},
      {kModeCsvNames, L"kept"},  // no transform: the buffer stays as it came
      {16, L"kept"},
  };
  for (const DispatchCase& c : cases) {
    std::wstring target = dir.Path() + L"kept";
    TransformName(target, source, c.mode, 0, ctx);
    EXPECT_EQ(std::wstring(c.newName), NameBehindFolder(target, dir.Path())) << "mode " << c.mode;
  }
  std::wstring dated = dir.Path();
  TransformName(dated, source, kModeDateTime, 0, ctx);
  const std::wstring datedName = NameBehindFolder(dated, dir.Path());
  EXPECT_EQ(8u + 5u, datedName.size()) << Utf8(datedName);  // YYYYMMDD + the extension
  EXPECT_EQ(L"20", datedName.substr(0, 2));
  params.attributes = {1, 2, 0, 2};
  std::wstring described = L"unchanged";
  TransformName(described, source, kModeAttribute, 0, ctx);
  EXPECT_EQ(L"<読：Y, 隠：-, ア：N, シ：->", described);
  std::wstring shortTarget;
  TransformName(shortTarget, source, kModeShortName, 0, ctx);
  EXPECT_NE(std::wstring::npos, shortTarget.find(L'~')) << Utf8(shortTarget);
  std::wstring random;
  params.rndext = 0;
  TransformName(random, source, kModeRandomName, 0, ctx);
  EXPECT_EQ(dir.Path().size() + 8 + 5, random.size()) << Utf8(random);
}

TEST(TransformName, TheRowCounterNumbersTheRows) {
  ModeParams params;
  params.renbanstr = L"IMG_<001>";
  params.numinspos = 4;
  TransformContext ctx;
  ctx.params = &params;
  std::wstring target;
  TransformName(target, L"C:\\d\\x.jpg", kModeSerialNumber, 41, ctx);
  EXPECT_EQ(L"C:\\d\\IMG_042.jpg", target);
}

TEST(TransformName, NewNameIsTakenBehindTheFolderByLength) {
  EXPECT_EQ(L"b.txt", NameBehindFolder(L"C:\\a\\b.txt", L"C:\\a\\"));
  EXPECT_EQ(L"", NameBehindFolder(L"C:\\a", L"C:\\a\\"));
  EXPECT_EQ(L"", NameBehindFolder(L"", L""));
}

TEST(TransformName, TargetsStayWithinTheBoundOfBuiltNames) {
  ModeParams params;
  params.addstr = std::wstring(100, L'a');
  TransformContext ctx;
  ctx.params = &params;
  const std::wstring source = L"C:\\" + std::wstring(200, L'd') + L"\\" + std::wstring(kMaxBuiltPath, L'n') + L".txt";
  for (int mode : {1, 2, 3, 4, 5, 7, 8, 12, 19}) {
    std::wstring target;
    TransformName(target, source, mode, 0, ctx);
    EXPECT_LE(target.size(), kMaxBuiltPath) << "mode " << mode;
  }
}

}  // namespace
}  // namespace korval
