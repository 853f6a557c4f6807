#include "metadata/tag_text.h"

#include <gtest/gtest.h>

#include "metadata/tag_values.h"

namespace korval {
namespace {

TEST(TagText, DecodesEachEncoding) {
  struct Case {
    const char* what;
    std::wstring got;
    std::wstring want;
  } cases[] = {
      {"utf-8 with mark, stops at NUL", TextFromUtf8("\xEF\xBB\xBFK\xC3\xA9\xE3\x81\x82\0tail"), L"Kéあ"},
      {"utf-8 four bytes", TextFromUtf8("\xF0\x9F\x8E\xB5"), L"\U0001F3B5"},
      {"utf-8 broken and overlong", TextFromUtf8("a\xC3" "b\xE0\x80\x80"), L"a\xFFFD" L"b\xFFFD\xFFFD\xFFFD"},
      {"utf-16 little endian", TextFromUtf16(std::string("A\0\x42\x30", 4), false), L"Aあ"},
      {"utf-16 big endian, odd byte", TextFromUtf16(std::string("\0A\x30\x42\x30", 5), true), L"Aあ"},
      {"utf-16 mark decides", TextFromUtf16WithMark(std::string("\xFE\xFF\0A", 4), false), L"A"},
      {"utf-16 without mark", TextFromUtf16WithMark(std::string("A\0", 2), false), L"A"},
      {"latin-1 letters stay", TextFromLatin1("Pok\xE9mon Mot\xF6rhead \xC5ngstr\xF6m"), L"Pokémon Motörhead Ångström"},
      {"shift-jis with a lead byte 0x81-0x9F", TextFromLatin1("\x93\xFA\x96\x7B\x8C\xEA"), L"日本語"},
      {"shift-jis half-width kana alone stays latin-1", TextFromLatin1("\xB1\xB2"), L"\xB1\xB2"},
      {"lead bytes 0xE0-0xEF only: latin-1", TextFromLatin1("\xE0\x40"), L"\xE0@"},
      {"user-defined character: latin-1", TextFromLatin1("\x93\xFA\xF0\x40"), L"\x93\xFA\xF0@"},
      {"broken trail: latin-1", TextFromLatin1("\x93\x20"), L"\x93 "},
      {"code page 932", TextFromCodePage("\x82\xA0", 932), L"あ"},
      {"code page utf-16", TextFromCodePage(std::string("A\0\0\0", 4), 1200), L"A"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.want, c.got) << c.what;
}

TEST(TagValues, JoinsMergesAndFormats) {
  TagSet wanted = TagSet::Of(Tag::Artist);
  wanted.Add(Tag::Title);
  wanted.Add(Tag::Duration);
  TagValues values(wanted);
  values.Put(Tag::Artist, L"A");
  values.Put(Tag::Artist, L"B");
  values.Put(Tag::Artist, L"A");
  values.Put(Tag::Album, L"not asked");
  values.Put(Tag::Title, L"");
  EXPECT_EQ(L"A, B", *values.Find(Tag::Artist));
  EXPECT_EQ(nullptr, values.Find(Tag::Album));
  EXPECT_TRUE(values.Wants(Tag::Title));

  TagValues lower(wanted);
  lower.Put(Tag::Artist, L"C");
  lower.Put(Tag::Title, L"T");
  values.MergeMissing(lower);
  EXPECT_EQ(L"A, B", *values.Find(Tag::Artist));
  EXPECT_EQ(L"T", *values.Find(Tag::Title));

  const std::pair<double, const wchar_t*> durations[] = {{0, L"0-00"}, {205.4, L"3-25"}, {3723, L"1-02-03"}};
  for (const auto& [seconds, text] : durations) {
    TagValues d(wanted);
    d.PutDuration(seconds);
    EXPECT_EQ(text, *d.Find(Tag::Duration));
  }
  Tag tag{};
  EXPECT_TRUE(TagFromName(L"albumARTIST", tag));
  EXPECT_EQ(Tag::AlbumArtist, tag);
  EXPECT_FALSE(TagFromName(L"Artis", tag));
}

}  // namespace
}  // namespace korval
