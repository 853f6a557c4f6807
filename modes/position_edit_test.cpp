#include "modes/position_edit.h"

#include <gtest/gtest.h>

#include "testing/temp_folder.h"

namespace korval {
namespace {

constexpr int T = kTypedPosition;

// The sample is set, edited to each text in turn, and the resulting map replayed on the row.
std::wstring Replay(const std::wstring& sample, std::initializer_list<std::wstring> edits,
                    const std::wstring& row, int posedtnoext = 0) {
  PositionMapState state;
  SetPositionSample(state, sample);
  for (const std::wstring& edit : edits) UpdatePositionMap(state, edit);
  ModeParams params;
  params.posedtnoext = posedtnoext;
  params.positionText = state.previousText;
  params.positionMap = state.map;
  TransformContext ctx;
  ctx.params = &params;
  std::wstring target;
  PositionEditTransform(ctx, L"C:\\dir\\" + row, target);
  return target.substr(0, 7) == L"C:\\dir\\" ? target.substr(7) : L"<folder lost> " + target;
}

TEST(PositionEdit, ReplaysTheSampleEditOnEachRow) {
  struct Case { const wchar_t* sample; std::initializer_list<std::wstring> edits; const wchar_t* row; int noext; const wchar_t* out; };
  const Case cases[] = {
      {L"abcdef.txt", {L"XXabcdef.txt"}, L"123456.txt", 0, L"XX123456.txt"},
      {L"abcdef.txt", {L"abcef.txt"}, L"123456.txt", 0, L"12356.txt"},
      {L"abcdef.txt", {L"abcdef.txt"}, L"12.txt", 0, L"12.txt"},
      {L"abcdef.txt", {L"XXabcdef.txt"}, L"123456.jpg", 1, L"XX123456.jpg"},
      {L"abcdef.txt", {L"abcdef_1.txt"}, L"ab.c", 0, L"ab.c"},
      {L"abcdef.txt", {L"XXabcdef.txt", L"XXabcde.txt"}, L"123456.txt", 0, L"XX12345.txt"},
      {L"aaa", {L"aaaa"}, L"xyz", 0, L"axyz"},
      {L"abcdef", {L""}, L"123456", 0, L""},
      {L"", {}, L"", 0, L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::wstring(c.out), Replay(c.sample, c.edits, c.row, c.noext)) << Utf8(c.sample) << " " << Utf8(c.row);
  }
}

TEST(PositionEdit, TypedPositionsPastTheEditedTextFillWithHashUpToTheRowLength) {
  ModeParams params;
  params.positionMap.fill(T);
  params.positionMap[0] = 300;  // outside 0..259 counts as typed too
  params.positionText = L"ab";
  TransformContext ctx;
  ctx.params = &params;
  std::wstring target;
  PositionEditTransform(ctx, L"C:\\12345", target);
  EXPECT_EQ(L"C:\\ab####", target);
}

TEST(PositionEdit, ResultIsBuiltFromTheWholeName) {
  const std::wstring name(259, L'n');
  EXPECT_EQ(259u, Replay(name, {}, name).size());
  // The edited text and its map hold 259 characters, so a typed character pushes the last one out.
  EXPECT_EQ(L"X" + std::wstring(258, L'n'), Replay(name, {L"X" + name}, name));
}

TEST(PositionMap, SampleGivesTheIdentity) {
  PositionMapState state;
  SetPositionSample(state, std::wstring(300, L's'));
  EXPECT_EQ(259u, state.previousText.size());
  EXPECT_EQ(259, state.uneditedLength);
  for (int i = 0; i < kPositionMapSize; ++i) ASSERT_EQ(i, state.map[i]);
  EXPECT_FALSE(UpdatePositionMap(state, std::wstring(300, L's')));
}

TEST(PositionMap, KeepsUnchangedEndsAndMarksTheEditedMiddle) {
  struct Case { const wchar_t* edit; std::vector<int> head; };
  const Case cases[] = {
      {L"abcXdef", {0, 1, 2, T, 3, 4, 5}},  // one typed character in the middle
      {L"abcef", {0, 1, 2, 4, 5}},
      {L"abXYef", {0, 1, T, T, 4, 5}},
      {L"aXcYef", {0, T, T, T, 4, 5}},      // the head search stops at its first difference
      {L"Zabcdef", {T, 0, 1, 2, 3, 4, 5}},
      {L"", {}},
  };
  for (const Case& c : cases) {
    PositionMapState state;
    SetPositionSample(state, L"abcdef");
    ASSERT_TRUE(UpdatePositionMap(state, c.edit));
    EXPECT_FALSE(UpdatePositionMap(state, c.edit));
    EXPECT_EQ(c.edit, state.previousText);
    const int length = static_cast<int>(c.head.size());
    for (int i = 0; i < length; ++i) EXPECT_EQ(c.head[i], state.map[i]) << Utf8(c.edit) << " " << i;
    for (int i = length; i < kPositionMapSize; ++i) ASSERT_EQ(i + 6 - length, state.map[i]) << Utf8(c.edit);
  }
}

TEST(PositionMap, OverlongTextIsCutAndAnEmptyStartTypesEverything) {
  PositionMapState state;
  SetPositionSample(state, L"abc");
  EXPECT_TRUE(UpdatePositionMap(state, std::wstring(300, L'x')));
  EXPECT_EQ(259u, state.previousText.size());
  EXPECT_EQ(T, state.map[258]);
  EXPECT_EQ(259 + 3 - 259, state.map[259]);

  PositionMapState fresh;
  EXPECT_TRUE(UpdatePositionMap(fresh, L"ab"));
  EXPECT_EQ(T, fresh.map[0]);
  EXPECT_EQ(T, fresh.map[1]);
  EXPECT_EQ(0, fresh.map[2]);
}

}  // namespace
}  // namespace korval
