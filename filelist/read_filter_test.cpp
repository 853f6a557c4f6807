#include "filelist/read_filter.h"

#include <gtest/gtest.h>

#include "testing/temp_folder.h"

namespace korval {
namespace {

TEST(ReadFilterExtensions, ListBuiltFromTheText) {
  const struct {
    const wchar_t* text;
    ExtensionFilterList list;
  } cases[] = {
      {L"", {}},
      {L"jpg", {L".jpg"}},
      {L"jpg png", {L".jpg", L".png"}},
      {L".jpg .png", {L".jpg", L".png"}},
      {L"jpg  png", {L".jpg"}},  // the empty entry between the spaces ends the list
      {L" jpg", {}},
      {L"jpg ", {L".jpg"}},
      {L"tar.gz", {L".tar.gz"}},
      {L"a b c d e f g h i j k l m n o p q", {L".a", L".b", L".c", L".d", L".e", L".f", L".g", L".h", L".i", L".j",
                                              L".k", L".l", L".m", L".n", L".o"}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.list, BuildExtensionFilterList(c.text)) << Utf8(c.text);
}

TEST(ReadFilterExtensions, CharactersOutsideTheCodePageTravelAsEscapes) {
  EXPECT_EQ(ExtensionFilterList{L".\\u00e9"}, BuildExtensionFilterList(L"\u00e9"));
  EXPECT_EQ(ExtensionFilterList{L".画像"}, BuildExtensionFilterList(L"画像"));
}

TEST(ReadFilterExtensions, OnlyAndAllBut) {
  const struct {
    const wchar_t* text;
    bool exclude;
    const wchar_t* extension;
    bool kept;
  } cases[] = {
      {L"jpg png", false, L".JPG", true},     {L"jpg png", false, L".png", true},
      {L"jpg png", false, L".gif", false},    {L"jpg png", false, L"", false},
      {L"jpg  png", false, L".jpg", true},    {L"jpg  png", false, L".png", false},
      {L"jpg png", true, L".Jpg", false},     {L"jpg png", true, L".gif", true},
      {L"jpg png", true, L"", true},          {L"", false, L".jpg", false},  // "のみ" with no list keeps nothing
      {L"", true, L".jpg", true},             {L"jpg", false, L".jpeg", false},
      {L"jpg", false, L".jp", false},         {L"abcdefghijklmnopq", false, L".abcdefghijklmnopq", true},
      {L"abcdefghijklmnopq", false, L".abcdefghijklmn", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.kept, ExtensionPasses(BuildExtensionFilterList(c.text), c.exclude, c.extension))
        << Utf8(c.text) << " " << c.exclude << " " << Utf8(c.extension);
  }
}

FilterSettings SizeFilter(const wchar_t* lower, const wchar_t* upper, bool exclude) {
  FilterSettings f;
  f.filterfsize1 = lower;
  f.filterfsize2 = upper;
  f.sizeExclude = exclude;
  return f;
}

TEST(ReadFilterSize, BoundsInKbRoundedUp) {
  const struct {
    const wchar_t* lower;
    const wchar_t* upper;
    bool exclude;
    std::uint64_t bytes;
    bool kept;
  } cases[] = {
      {L"10", L"999999999", false, 0, true},  // the default upper bound switches the filter off
      {L"10", L"999999999", true, 50000, true},
      {L"10", L"100", false, 10 * 1024, true},
      {L"10", L"100", false, 9 * 1024 + 1, true},  // rounds up to 10 KB
      {L"10", L"100", false, 9 * 1024, false},
      {L"10", L"100", false, 100 * 1024, true},
      {L"10", L"100", false, 100 * 1024 + 1, false},
      {L"10", L"100", true, 100 * 1024 + 1, true},
      {L"10", L"100", true, 50 * 1024, false},
      {L"1", L"1", false, 1, true},  // a 1-byte file counts as 1 KB
      {L"1", L"1", false, 0, false}, // an empty one as 0 KB
      {L"", L"0", false, 0, true},
      {L"", L"0", false, 1, false},
      {L"5", L"", false, 1, true},   // an empty upper text is the default: no filter
      {L"abc", L"2", false, 2048, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.kept, SizePasses(SizeFilter(c.lower, c.upper, c.exclude), c.bytes))
        << Utf8(c.lower) << ".." << Utf8(c.upper) << " " << c.exclude << " " << c.bytes;
  }
}

TEST(ReadFilterSize, DefaultBoundsForTheAutomaticSkip) {
  EXPECT_TRUE(SizeBoundsAtDefaults(SizeFilter(L"0", L"999999999", false)));
  EXPECT_FALSE(SizeBoundsAtDefaults(SizeFilter(L"", L"999999999", false)));
  EXPECT_FALSE(SizeBoundsAtDefaults(SizeFilter(L"0", L"", false)));
  EXPECT_FALSE(SizeBoundsAtDefaults(SizeFilter(L"1", L"999999999", false)));
  EXPECT_FALSE(SizeBoundsAtDefaults(SizeFilter(L"0", L"100", false)));
}

TEST(ReadFilterAttributes, EachSwitchDropsItsKind) {
  const struct {
    bool readOnly, hidden, system;
    DWORD attributes;
    bool kept;
  } cases[] = {
      {true, true, true, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true},
      {false, true, true, FILE_ATTRIBUTE_READONLY, false},
      {false, true, true, FILE_ATTRIBUTE_HIDDEN, true},
      {true, false, true, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, false},
      {true, false, true, FILE_ATTRIBUTE_SYSTEM, true},
      {true, true, false, FILE_ATTRIBUTE_SYSTEM, false},
      {false, false, false, FILE_ATTRIBUTE_NORMAL, true},
      {false, false, false, INVALID_FILE_ATTRIBUTES, true},  // unreadable attributes keep the item
  };
  for (const auto& c : cases) {
    FilterSettings f;
    f.readReadOnly = c.readOnly, f.readHidden = c.hidden, f.readSystem = c.system;
    EXPECT_EQ(c.kept, AttributesPass(f, c.attributes)) << c.readOnly << c.hidden << c.system << " " << c.attributes;
    EXPECT_EQ(!(c.readOnly && c.hidden && c.system), AttributeFilterActive(f));
  }
}

}  // namespace
}  // namespace korval
