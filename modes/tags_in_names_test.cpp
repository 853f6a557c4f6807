#include "modes/tags_in_names.h"

#include <gtest/gtest.h>

#include "modes/sequence_expansion.h"
#include "modes/serial_number.h"
#include "platform/utf8.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

TEST(WrittenTag, WhatIsATagAndWhatStaysText) {
  const struct {
    const wchar_t* text;
    bool tag;
    Tag expected;
    int digits;
    const wchar_t* fallback;  // null: none
    size_t length;
  } cases[] = {
      {L"<:Title>", true, Tag::Title, 0, nullptr, 8},
      {L"<:albumartist>", true, Tag::AlbumArtist, 0, nullptr, 14},
      {L"<:Track:2>", true, Tag::Track, 2, nullptr, 10},
      {L"<:Artist|不明>", true, Tag::Artist, 0, L"不明", 12},
      {L"<:Track:3|0>", true, Tag::Track, 3, L"0", 12},
      {L"<:Artist|>", true, Tag::Artist, 0, L"", 10},
      {L"<:sha256>", true, Tag::Sha256, 0, nullptr, 9},
      {L"<:Titles>", false, Tag::Title, 0, nullptr, 0},     // no such tag
      {L"<:Title", false, Tag::Title, 0, nullptr, 0},       // not closed
      {L"<:Track:>", false, Tag::Title, 0, nullptr, 0},     // no digits
      {L"<:Track:33>", false, Tag::Title, 0, nullptr, 0},   // more digits than a name can want
      {L"<:Track:2x>", false, Tag::Title, 0, nullptr, 0},
      {L"< :Title>", false, Tag::Title, 0, nullptr, 0},
      {L"<Title>", false, Tag::Title, 0, nullptr, 0},
      {L"<:>", false, Tag::Title, 0, nullptr, 0},
  };
  for (const auto& c : cases) {
    WrittenTag written;
    ASSERT_EQ(c.tag, ParseWrittenTag(c.text, 0, written)) << Utf8(c.text);
    if (!c.tag) continue;
    EXPECT_EQ(c.expected, written.tag) << Utf8(c.text);
    EXPECT_EQ(c.digits, written.digits) << Utf8(c.text);
    EXPECT_EQ(c.fallback != nullptr, written.hasFallback) << Utf8(c.text);
    if (c.fallback) {
      EXPECT_EQ(c.fallback, written.fallback);
    }
    EXPECT_EQ(c.length, written.length) << Utf8(c.text);
  }
  TagSet both = TagSet::Of(Tag::Track);
  both.Add(Tag::Title);
  EXPECT_EQ(both, TagsInText(L"<:Track:2> - <:Title> <:Nothing> <:title|x>"));
}

TEST(TagValueForName, ValuesFitForAName) {
  const struct {
    Tag tag;
    const wchar_t* raw;
    int digits;
    const wchar_t* expected;
  } cases[] = {
      {Tag::Track, L"3/12", 0, L"3"},
      {Tag::Track, L"03", 0, L"3"},
      {Tag::Track, L"3/12", 2, L"03"},
      {Tag::Track, L"0", 2, L"00"},
      {Tag::Track, L"A1", 0, L""},
      {Tag::Disc, L" 2 of 3", 0, L"2"},
      {Tag::Year, L"2024-03-15T10:00", 0, L"2024"},
      {Tag::Year, L"March 1999", 0, L"1999"},
      {Tag::Year, L"12345", 0, L""},
      {Tag::Year, L"99", 0, L""},
      {Tag::Title, L"AC/DC: Live? \"Best\" <1> | *x* \\", 0, L"AC／DC： Live？ ＂Best＂ ＜1＞ ｜ ＊x＊ ＼"},
      {Tag::Title, L"  Tab\tand\x7F bell\x85 ", 0, L"Taband bell"},
      {Tag::Title, L"\x3000Intro...  ", 0, L"Intro"},
      {Tag::Title, L"...", 0, L""},
      {Tag::Artist, L"Pokémon, Motörhead", 0, L"Pokémon, Motörhead"},
      {Tag::Iso, L"400", 5, L"00400"},
      {Tag::FNumber, L"2.8", 2, L"02.8"},
      {Tag::Model, L"X100V", 3, L"X100V"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, TagValueForName(c.tag, c.raw, c.digits)) << Utf8(c.raw);
  }
}

// Tags are expanded with the special sequences, once: a value is never read again as a tag or a
// sequence; a file without the tag leaves it written and names it; a fallback stands in.
TEST(TagExpansion, ValuesOnceMissingNamedFallbacksInstead) {
  TempFolder folder;
  const std::wstring file = folder.WriteFile(L"song.txt", "abc");
  const struct {
    const wchar_t* text;
    int form;
    const wchar_t* expected;
    bool missing;
  } cases[] = {
      {L"<:CRC32>_\\e", kSequencesPlain, L"352441c2_txt", false},
      {L"<:md5>", kSequencesPlain, L"900150983cd24fb0d6963f7d28e17f72", false},
      {L"<:Artist> - x", kSequencesPlain, L"<:Artist> - x", true},
      {L"<:Artist|不明> - x", kSequencesPlain, L"不明 - x", false},
      {L"<:Artist|<:CRC32>>", kSequencesPlain, L"<:CRC32>", false},  // the fallback is text, not read again
      {L"<:Track:2|1>", kSequencesPlain, L"1", false},
      {L"\\\\e <:CRC32>", kSequencesProtected, L"\\e 352441c2", false},
      {L"<:SHA1>", kSequencesDoubled, L"a9993e364706816aba3e25717850c26c9cd0d89d", false},
  };
  for (const auto& c : cases) {
    RowTags tags;
    tags.StartRow(file);
    std::wstring text = c.text;
    ExpandSpecialSequences(text, file, c.form, SystemFileSystem(), &tags);
    EXPECT_EQ(c.expected, text) << Utf8(c.text);
    EXPECT_EQ(c.missing, tags.Missing().has_value()) << Utf8(c.text);
  }
  std::wstring untouched = L"<:CRC32>";
  ExpandSpecialSequences(untouched, file, kSequencesPlain, SystemFileSystem());
  EXPECT_EQ(L"<:CRC32>", untouched) << "without the row's tags a tag stays as written";
}

// In a serial template the tags take no part in finding the field: neither their brackets nor the
// digits of their names or values.
TEST(TagExpansion, SerialTemplatesSetTagsAside) {
  const struct {
    const wchar_t* templateText;
    const wchar_t* expected;  // row 2, tags still written
  } cases[] = {
      {L"<:Track:2> - <001>", L"<:Track:2> - 003"},
      {L"<:SHA256>_<a>", L"<:SHA256>_c"},
      {L"<:CRC32>_07", L"<:CRC32>_09"},
      {L"x<:MD5>", L"x<:MD5>3"},
  };
  for (const auto& c : cases) {
    std::wstring text = c.templateText;
    std::vector<std::wstring> aside;
    SetTagsAside(text, aside);
    std::wstring serial = SerialText(ParseSerialTemplate(text), 2);
    PutTagsBack(serial, aside);
    EXPECT_EQ(c.expected, serial) << Utf8(c.templateText);
  }
}

}  // namespace
}  // namespace korval
