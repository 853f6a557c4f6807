#include "modes/serial_number.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/path_limits.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

struct SequenceCase {
  const wchar_t* text;
  std::vector<int64_t> indexes;
  std::vector<const wchar_t*> serials;
};

TEST(SerialTemplate, NumbersFromMarkedAndUnmarkedTemplates) {
  const SequenceCase cases[] = {
      {L"IMG_001", {0, 1, 9}, {L"IMG_001", L"IMG_002", L"IMG_010"}},
      {L"IMG_099", {0, 1}, {L"IMG_099", L"IMG_100"}},
      {L"a1b22c", {0, 1}, {L"a1b22c", L"a1b23c"}},
      {L"<0050-1>", {0, 1, 50, 51}, {L"0050", L"0049", L"0000", L"0000"}},
      {L"<100-1>", {0, 1, 2}, {L"100", L"099", L"098"}},
      {L"<3-2>", {0, 1, 2}, {L"3", L"1", L"0"}},
      {L"<7->", {0, 1}, {L"7", L"6"}},
      {L"<a>", {0, 25, 26, 27}, {L"a", L"z", L"aa", L"ab"}},
      {L"<Z+2>", {0, 1, 2}, {L"Z", L"AB", L"AD"}},
      {L"<b-1>", {0, 1, 2}, {L"b", L"a", L""}},
      {L"<aB>", {0, 1}, {L"aB", L"bB"}},
      {L"<abcdefghijk>", {0, 1}, {L"abcdefghijk", L"abcdefghijl"}},
      {L"<>", {0, 1, 2}, {L"1", L"2", L"3"}},
      {L"a<+3>b", {0, 1}, {L"a1b", L"a4b"}},
      {L"", {0, 1}, {L"1", L"2"}},
      {L"file", {0, 1}, {L"file1", L"file2"}},
      {L"a>b<c", {0}, {L"a>b<c1"}},
      {L"ab<12", {1}, {L"ab<13"}},
      {L"p>q<3>r>s", {0}, {L"pq3rs"}},
      {L"<12x+3>", {1}, {L"13x+3"}},
      {L"<5+0>", {0, 7}, {L"5", L"5"}},
      {L"x<5+123456>y", {0, 1}, {L"x56y", L"x123506y"}},
      {L"x<08+10>y", {0, 1}, {L"x08y", L"x18y"}},
      {L"123456789012", {0, 1}, {L"123456789012", L"123456789013"}},
      {L"<999999999>", {1}, {L"1000000000"}},
  };
  for (const SequenceCase& c : cases) {
    const SerialTemplate t = ParseSerialTemplate(c.text);
    for (size_t i = 0; i < c.indexes.size(); ++i) {
      EXPECT_EQ(std::wstring(c.serials[i]), SerialText(t, c.indexes[i])) << Utf8(c.text) << " #" << c.indexes[i];
    }
  }
  const SerialTemplate twelve = ParseSerialTemplate(L"123456789012");
  EXPECT_EQ(L"123", twelve.prefix);
  EXPECT_EQ(456789012, twelve.start);
}

TEST(SerialNumber, LettersAreBijectiveBase26) {
  EXPECT_EQ(L"", SerialLetters(0, false));
  EXPECT_EQ(L"", SerialLetters(-5, false));
  EXPECT_EQ(L"z", SerialLetters(26, false));
  EXPECT_EQ(L"ZZ", SerialLetters(702, true));
  EXPECT_EQ(L"aaa", SerialLetters(703, false));
  EXPECT_LE(SerialLetters(INT64_MAX, false).size(), kMaxSerialLetters);
}

TEST(SerialNumber, PlacesTheTextByInsertPosition) {
  const PathParts parts = SplitPath(L"C:\\d\\photo.jpg");
  const wchar_t* expected[] = {L"01photo.jpg", L"photo01.jpg", L"photo.jpg01", L"01", L"01.jpg"};
  for (int pos = 0; pos < 5; ++pos) EXPECT_EQ(std::wstring(expected[pos]), PlaceSerialText(parts, L"01", pos));
  EXPECT_EQ(L"01.jpg", PlaceSerialText(parts, L"01", 9));
  EXPECT_EQ(L"01photo.jpg", PlaceSerialText(parts, L"01", -1));
}

TEST(FolderCounter, CountsEachFolderFromZeroInOrderOfFirstAppearance) {
  FolderCounterTable table(10);
  EXPECT_EQ(0, table.Next(L"C:\\A\\"));
  EXPECT_EQ(0, table.Next(L"C:\\B\\"));
  EXPECT_EQ(1, table.Next(L"C:\\A\\"));
  EXPECT_EQ(2, table.Next(L"C:\\A\\"));
  EXPECT_EQ(1, table.Next(L"C:\\B\\"));
  EXPECT_EQ((std::vector<std::wstring>{L"C:\\A\\", L"C:\\B\\"}), table.Folders());
  EXPECT_FALSE(table.Overflowed());
}

TEST(FolderCounter, NewFoldersBeyondTheCapacityShareOneCounter) {
  FolderCounterTable table(1);
  EXPECT_EQ(0, table.Next(L"A"));
  EXPECT_EQ(0, table.Next(L"B"));
  EXPECT_EQ(1, table.Next(L"C"));
  EXPECT_EQ(1, table.Next(L"A"));
  EXPECT_EQ(2, table.Next(L"B"));
  EXPECT_TRUE(table.Overflowed());
  EXPECT_EQ(1u, table.Folders().size());
}

class SerialNumberTransformTest : public testing::Test {
 protected:
  std::wstring Run(const std::wstring& source, int row) {
    std::wstring target = L"junk";
    SerialNumberTransform(ctx, source, row, target);
    return target;
  }
  ModeParams params;
  TransformContext ctx = [this] {
    TransformContext context;
    context.params = &params;
    return context;
  }();
};

TEST_F(SerialNumberTransformTest, NumbersEveryFolderFromTheStartValue) {
  params.renbanstr = L"<01>_";
  params.dirrenreset = 1;
  FolderCounterTable table(3);
  ctx.folderCounters = &table;
  EXPECT_EQ(L"C:\\A\\01_x.txt", Run(L"C:\\A\\x.txt", 0));
  EXPECT_EQ(L"C:\\B\\01_y.txt", Run(L"C:\\B\\y.txt", 1));
  EXPECT_EQ(L"C:\\A\\02_z.txt", Run(L"C:\\A\\z.txt", 2));
}

TEST_F(SerialNumberTransformTest, WithoutATableFallsBackToTheRowCounter) {
  params.renbanstr = L"01";
  params.dirrenreset = 1;
  EXPECT_EQ(L"C:\\A\\01x.txt", Run(L"C:\\A\\x.txt", 0));
  EXPECT_EQ(L"C:\\B\\02y.txt", Run(L"C:\\B\\y.txt", 1));
  EXPECT_EQ(L"C:\\A\\01x.txt", Run(L"C:\\A\\x.txt", -3));
}

TEST_F(SerialNumberTransformTest, FolderModePlacesTheNumberByThePlainSplit) {
  params.renbanstr = L"_1";
  for (const int fileDir : {0, 1}) {
    ctx.fileDir = fileDir;
    params.numinspos = 1;
    EXPECT_EQ(L"C:\\d\\my_1.dir", Run(L"C:\\d\\my.dir", 0)) << fileDir;
    params.numinspos = 4;
    EXPECT_EQ(L"C:\\d\\_1.dir", Run(L"C:\\d\\my.dir", 0)) << fileDir;
  }
}

TEST_F(SerialNumberTransformTest, ExpandsSequencesInThePlainForm) {
  params.renbanstr = L"\\f_<01>.\\e";
  params.numinspos = 3;
  EXPECT_EQ(L"C:\\photos\\photos_03.jpg", Run(L"C:\\photos\\img.jpg", 2));
}

TEST_F(SerialNumberTransformTest, ANameTooLongForAPathIsBuiltWhole) {
  params.renbanstr = L"0001";
  params.numinspos = 2;
  const std::wstring source = L"C:\\" + std::wstring(252, L'a') + L".txt";  // 259 characters
  EXPECT_EQ(source + L"0001", Run(source, 0));
  EXPECT_EQ(L"0001", Run(L"", 0));
  ctx.params = nullptr;
  EXPECT_EQ(L"C:\\x.txt", Run(L"C:\\x.txt", 0));
}

}  // namespace
}  // namespace korval
