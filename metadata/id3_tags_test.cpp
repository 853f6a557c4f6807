#include <gtest/gtest.h>

#include "metadata/tag_readers.h"
#include "testing/found_tags.h"
#include "testing/music_samples.h"

namespace korval {
namespace {

using namespace music_samples;

std::wstring Found(const TagValues& values) { return FoundTags(values); }

std::wstring Id3v2(const std::string& bytes, uint64_t* size = nullptr) {
  MemoryByteSource source(bytes);
  TagValues values;
  const uint64_t read = ReadId3v2Tags(source, 0, values);
  if (size != nullptr) *size = read;
  return Found(values);
}

std::wstring W(const wchar_t* text, size_t length) { return std::wstring(text, length); }

TEST(Id3v2Tags, ReadsEachVersionAndEncoding) {
  const std::string shiftJis("\0\x93\xFA\x96\x7B\x8C\xEA", 7);  // "日本語" declared Latin-1
  struct Row {
    const char* what;
    std::string bytes;
    std::wstring want;
  } rows[] = {
      {"2.2 three-letter ids",
       Id3Tag(2, Id3Text(2, "TT2", kLatin1, L"Two") + Id3Text(2, "TP1", kUtf16, L"Artist") +
                     Id3Text(2, "TAL", kLatin1, L"Album") + Id3Text(2, "TP2", kLatin1, L"Band") +
                     Id3Text(2, "TRK", kLatin1, L"3/12") + Id3Text(2, "TPA", kLatin1, L"1/2") +
                     Id3Text(2, "TYE", kLatin1, L"1987") + Id3Text(2, "TCO", kLatin1, L"(17)") +
                     Id3Text(2, "TCM", kLatin1, L"Writer")),
       L"Title=Two|Artist=Artist|Album=Album|AlbumArtist=Band|Track=3/12|Disc=1/2|Year=1987|Genre=Rock|Composer=Writer"},
      {"2.3 utf-16 with either mark, no mark is little-endian",
       Id3Tag(3, Id3Text(3, "TIT2", kUtf16, L"Kéあ") + Id3Frame(3, "TPE1", "\x01\xFE\xFF" + Utf16Bytes(L"Big", true)) +
                     Id3Frame(3, "TALB", "\x01" + Utf16Bytes(L"Plain", false))),
       L"Title=Kéあ|Artist=Big|Album=Plain"},
      {"2.4 utf-8, utf-16be and several values",
       Id3Tag(4, Id3Text(4, "TIT2", kUtf8, L"曲名") + Id3Text(4, "TPE1", kUtf16Be, W(L"A\0B", 3)) +
                     Id3Text(4, "TCOM", kUtf16, W(L"X\0Y\0", 4)) + Id3Text(4, "TPE2", kLatin1, W(L"P\0Q", 3))),
       L"Title=曲名|Artist=A, B|AlbumArtist=P, Q|Composer=X, Y"},
      {"2.4 utf-16 values after the first keep its order",
       Id3Tag(4, Id3Frame(4, "TPE1", "\x01\xFE\xFF" + Utf16Bytes(L"A", true) + std::string(2, '\0') + Utf16Bytes(L"B", true))),
       L"Artist=A, B"},
      {"2.3 holds one value", Id3Tag(3, Id3Text(3, "TPE1", kLatin1, W(L"A\0B", 3))), L"Artist=A"},
      {"Latin-1 stays Latin-1", Id3Tag(3, Id3Text(3, "TPE1", kLatin1, L"Mot\xF6rhead")), L"Artist=Motörhead"},
      {"Shift-JIS in a Latin-1 frame", Id3Tag(3, Id3Frame(3, "TIT2", shiftJis)), L"Title=日本語"},
      {"recording time beats the year", Id3Tag(4, Id3Text(4, "TYER", kLatin1, L"1990") + Id3Text(4, "TDRC", kLatin1, L"2004-05-06T10:00")),
       L"Year=2004"},
      {"year beats the original year", Id3Tag(3, Id3Text(3, "TORY", kLatin1, L"1970") + Id3Text(3, "TYER", kLatin1, L"1990")),
       L"Year=1990"},
      {"original release alone", Id3Tag(4, Id3Text(4, "TDOR", kLatin1, L"1970-01")), L"Year=1970"},
      {"length in milliseconds", Id3Tag(3, Id3Text(3, "TLEN", kLatin1, L"205000")), L"Duration=3-25"},
      {"length that is no number", Id3Tag(3, Id3Text(3, "TLEN", kLatin1, L"3:25")), L""},
      {"unknown encoding, empty text", Id3Tag(3, Id3Frame(3, "TIT2", "\x07Title") + Id3Frame(3, "TPE1", std::string(1, '\0'))), L""},
  };
  for (const Row& row : rows) EXPECT_EQ(row.want, Id3v2(row.bytes)) << row.what;
}

TEST(Id3v2Tags, ResolvesGenreReferences) {
  const std::pair<std::wstring, std::wstring> rows[] = {
      {L"(13)", L"Pop"},          {L"13", L"Pop"},           {L"(13)Pop", L"Pop"},     {L"(4)Eurodisco", L"Eurodisco"},
      {L"(4)(13)", L"Disco, Pop"}, {L"(RX)", L"Remix"},       {L"(CR)", L"Cover"},      {L"RX", L"Remix"},
      {L"((Live)", L"(Live)"},    {L"(Live) set", L"(Live) set"}, {L"191", L"Psybient"}, {L"192", L""},
      {L"Shoegaze", L"Shoegaze"}, {L"(999)", L"(999)"},
  };
  for (const auto& [text, want] : rows) {
    EXPECT_EQ(want.empty() ? L"" : L"Genre=" + want, Id3v2(Id3Tag(3, Id3Text(3, "TCON", kLatin1, text))));
  }
  EXPECT_EQ(L"Genre=Pop, Eurodisco", Id3v2(Id3Tag(4, Id3Text(4, "TCON", kUtf8, W(L"13\0Eurodisco", 12)))));
}

TEST(Id3v2Tags, FollowsTheTagStructure) {
  constexpr uint64_t kWhole = UINT64_MAX;  // the reader returns the size of all the bytes
  const std::string title3 = Id3Text(3, "TIT2", kLatin1, L"T");
  const std::string artist3 = Id3Text(3, "TPE1", kLatin1, L"A");
  const std::string artist4 = Id3Text(4, "TPE1", kLatin1, L"A");
  // 300 bytes: a plain size (00 00 01 2C) that read as syncsafe (172) lands inside the text.
  const std::string longText = TextData(kLatin1, std::wstring(299, L'a'));
  const std::wstring longTitle = L"Title=" + std::wstring(299, L'a') + L"|Artist=A";
  const std::string yy = TextData(kUtf16, L"\xFF\xFF");  // holds 0xFF 0x00 pairs that unsynchronisation changes
  std::string cutUnsync = Id3Tag(3, Id3Text(3, "TIT2", kLatin1, L"a\xFF"), 0x80);
  cutUnsync.pop_back();  // the zero behind the last 0xFF is missing
  cutUnsync[9] = static_cast<char>(cutUnsync[9] - 1);
  const std::string head3("ID3\x03\0\0", 6);
  struct Row {
    const char* what;
    std::string bytes;
    std::wstring want;
    uint64_t size;  // what the reader returns
  } rows[] = {
      {"padding counts in the size", Id3Tag(3, title3, 0, 100), L"Title=T", kWhole},
      {"version 4 footer counts", Id3Tag(4, artist4, 0x10), L"Artist=A", kWhole},
      {"2.3 whole tag unsynchronised", Id3Tag(3, Id3Frame(3, "TIT2", yy) + artist3, 0x80), L"Title=ÿÿ|Artist=A", kWhole},
      {"2.2 whole tag unsynchronised", Id3Tag(2, Id3Frame(2, "TT2", yy) + Id3Text(2, "TP1", kLatin1, L"A"), 0x80),
       L"Title=ÿÿ|Artist=A", kWhole},
      {"2.4 frame unsynchronised with its data length",
       Id3Tag(4, Id3Frame(4, "TIT2", Syncsafe(static_cast<uint32_t>(yy.size())) + Unsynchronised(yy), 0x03) + artist4),
       L"Title=ÿÿ|Artist=A", kWhole},
      {"2.4 header flag unsynchronises frames", Id3Tag(4, Id3Frame(4, "TIT2", Unsynchronised(yy)), 0x80), L"Title=ÿÿ", kWhole},
      {"unsynchronised to the last byte", Id3Tag(3, Id3Text(3, "TIT2", kLatin1, L"a\xFF"), 0x80), L"Title=aÿ", kWhole},
      {"last zero missing", cutUnsync, L"Title=aÿ", kWhole},
      {"2.4 syncsafe size of a long frame", Id3Tag(4, Id3Frame(4, "TIT2", longText) + artist4), longTitle, kWhole},
      {"2.4 written with plain sizes", Id3Tag(4, Id3Frame(4, "TIT2", longText, 0, true) + artist4), longTitle, kWhole},
      {"2.4 plain size of the last frame before padding",
       Id3Tag(4, artist4 + Id3Frame(4, "TIT2", longText, 0, true), 0, 30), longTitle, kWhole},
      {"2.4 plain size of the last frame", Id3Tag(4, artist4 + Id3Frame(4, "TIT2", longText, 0, true)), longTitle, kWhole},
      {"2.3 extended header", Id3Tag(3, Be32(6) + std::string(6, '\0') + title3, 0x40), L"Title=T", kWhole},
      {"2.4 extended header", Id3Tag(4, Syncsafe(6) + std::string("\x01\x00", 2) + artist4, 0x40), L"Artist=A", kWhole},
      {"2.3 compressed and encrypted frames skipped",
       Id3Tag(3, Id3Frame(3, "TIT2", Be32(9) + "zzzz", 0x0080) + Id3Frame(3, "TALB", "\x01zzzz", 0x0040) + artist3),
       L"Artist=A", kWhole},
      {"2.3 group byte", Id3Tag(3, Id3Frame(3, "TIT2", "\x05" + TextData(kLatin1, L"G"), 0x0020)), L"Title=G", kWhole},
      {"2.4 compressed and encrypted frames skipped, group byte dropped",
       Id3Tag(4, Id3Frame(4, "TIT2", Be32(9) + "zzzz", 0x0009) + Id3Frame(4, "TALB", "\x01zzzz", 0x0004) +
                     Id3Frame(4, "TPE1", "\x05" + TextData(kLatin1, L"G"), 0x0040)),
       L"Artist=G", kWhole},
      {"2.2 compressed tag: size only", Id3Tag(2, Id3Text(2, "TT2", kLatin1, L"T"), 0x40), L"", kWhole},
      // Damaged and hostile tags.
      {"frame size 0xFFFFFFFF", Id3Tag(3, title3 + "TPE1" + Be32(0xFFFFFFFF) + std::string("\0\0\0A", 4)), L"Title=T", kWhole},
      {"2.4 frame size 0xFFFFFFFF", Id3Tag(4, artist4 + "TIT2" + Be32(0xFFFFFFFF) + std::string("\0\0\0A", 4)), L"Artist=A",
       kWhole},
      {"frame past the tag", Id3Tag(3, "TPE1" + Be32(20) + std::string("\0\0\0A", 4)) + std::string(30, 'x'), L"", 22},
      {"tag size past the end", head3 + Syncsafe(1000000) + title3, L"Title=T", 1000010},
      {"endless padding", head3 + Syncsafe(0x0FFFFFFF) + title3 + std::string(70000, '\0') + artist3, L"Title=T",
       0x0FFFFFFFull + 10},
      {"a broken frame id ends the walk", Id3Tag(3, title3 + "tpe1" + artist3.substr(4)), L"Title=T", kWhole},
      {"2.4 data length indicator without room", Id3Tag(4, Id3Frame(4, "TIT2", "\x01\x02", 0x0001) + artist4), L"Artist=A",
       kWhole},
      {"size not syncsafe: no tag", head3 + std::string("\0\0\x80\x10", 4) + title3, L"", 0},
      {"version 5: no tag", std::string("ID3\x05\0\0\0\0\0\x10", 10) + title3, L"", 0},
      {"cut header", std::string("ID3\x03\0", 5), L"", 0},
  };
  for (const Row& row : rows) {
    uint64_t size = 0;
    EXPECT_EQ(row.want, Id3v2(row.bytes, &size)) << row.what;
    EXPECT_EQ(row.size == kWhole ? row.bytes.size() : row.size, size) << row.what;
  }
}

TEST(Id3v2Tags, OnlyAskedTagsAreReadAndFoundOnesKept) {
  const std::string tag = Id3Tag(3, Id3Text(3, "TIT2", kLatin1, L"T") + Id3Text(3, "TPE1", kLatin1, L"A") +
                                        Id3Text(3, "TPE1", kLatin1, L"B"));
  MemoryByteSource source(tag);
  TagSet wanted = TagSet::Of(Tag::Artist);
  wanted.Add(Tag::Title);
  wanted.Add(Tag::Album);  // not in the tag: the walk goes on and meets the second artist frame
  TagValues values(wanted);
  values.Put(Tag::Title, L"Before");
  EXPECT_EQ(tag.size(), ReadId3v2Tags(source, 0, values));
  EXPECT_EQ(L"Title=Before|Artist=A, B", Found(values));
  // Once every tag asked for is found, the frames behind are not read.
  TagValues first(TagSet::Of(Tag::Artist));
  ReadId3v2Tags(source, 0, first);
  EXPECT_EQ(L"Artist=A", Found(first));
}

// What a reader of a tag at the end found, and whether it found a tag at all.
std::wstring EndTagOf(bool (*reader)(ByteSource&, TagValues&), const std::string& bytes, bool* had) {
  MemoryByteSource source(bytes);
  TagValues values;
  const bool found = reader(source, values);
  if (had != nullptr) *had = found;
  return Found(values);
}

struct EndTagRow {
  const char* what;
  std::string bytes;
  bool has;  // a tag stands there at all
  std::wstring want;
};

template <size_t N>
void ExpectEndTags(bool (*reader)(ByteSource&, TagValues&), const EndTagRow (&rows)[N]) {
  for (const EndTagRow& row : rows) {
    bool had = false;
    EXPECT_EQ(row.want, EndTagOf(reader, row.bytes, &had)) << row.what;
    EXPECT_EQ(row.has, had) << row.what;
  }
}

TEST(Id3v1Tags, ReadsTheFixedFields) {
  std::string spaces = Id3v1("Title   ", "Artist", "", "", 0, 255);
  const EndTagRow rows[] = {
      {"1.1 with a track", "audio" + Id3v1("Title", "Artist", "Album", "1999", 7, 17), true,
       L"Title=Title|Artist=Artist|Album=Album|Track=7|Year=1999|Genre=Rock"},
      {"1.0, no genre", Id3v1("Title", "", "", "", 0, 255), true, L"Title=Title"},
      {"trailing spaces dropped", spaces, true, L"Title=Title|Artist=Artist"},
      {"full fields", Id3v1(std::string(30, 'x'), "", "", "", 0, 191), true, L"Title=" + std::wstring(30, L'x') + L"|Genre=Psybient"},
      {"genre past the list", Id3v1("", "", "", "", 0, 192), true, L""},
      {"Shift-JIS title", Id3v1("\x93\xFA\x96\x7B", "Mot\xF6rhead", "", "", 0, 255), true, L"Title=日本|Artist=Motörhead"},
      {"no TAG", std::string(200, 'x'), false, L""},
      {"shorter than a tag", Id3v1("T", "", "", "", 0, 1).substr(1), false, L""},
  };
  ExpectEndTags(ReadId3v1Tags, rows);
}


TEST(ApeTags, ReadsItemsAtTheEndOrTheStart) {
  const std::string items = ApeItem("Title", "Song") + ApeItem("ARTIST", std::string("A\0B", 3)) +
                            ApeItem("album", "Album") + ApeItem("Album Artist", "Band") + ApeItem("Track", "3") +
                            ApeItem("Disc", "1/2") + ApeItem("Year", "1999") + ApeItem("Genre", "Pop") +
                            ApeItem("Composer", "Writer");
  const std::wstring allFound =
      L"Title=Song|Artist=A, B|Album=Album|AlbumArtist=Band|Track=3|Disc=1/2|Year=1999|Genre=Pop|Composer=Writer";
  const std::string title = ApeItem("Title", "T");
  std::string countLies = ApeTag(title, 1);
  countLies.replace(countLies.size() - 16, 4, Le32(0xFFFFFFFF));
  std::string sizeLies = "audio" + ApeTag(title, 1);
  sizeLies.replace(sizeLies.size() - 20, 4, Le32(100000));
  const EndTagRow rows[] = {
      {"footer at the end", "audio" + ApeTag(items, 9), true, allFound},
      {"header and footer before ID3v1", "audio" + ApeTag(items, 9, 2000, true) + Id3v1("v1", "", "", "", 0, 255), true, allFound},
      {"header at the start, no footer", ApeTag(items, 9, 2000, true, false) + "audio", true, allFound},
      {"version 1 is Latin-1", "audio" + ApeTag(ApeItem("Artist", "Mot\xF6rhead"), 1, 1000), true, L"Artist=Motörhead"},
      {"version 2 is UTF-8", "audio" + ApeTag(ApeItem("Artist", "Mot\xC3\xB6rhead"), 1), true, L"Artist=Motörhead"},
      {"AlbumArtist key", ApeTag(ApeItem("AlbumArtist", "Band"), 1), true, L"AlbumArtist=Band"},
      {"binary item skipped", ApeTag(ApeItem("Title", "\x01\x02", 2) + ApeItem("Artist", "A"), 2), true, L"Artist=A"},
      {"item past the tag", ApeTag(title + Le32(1000) + Le32(0) + "Artist" + '\0' + "A", 2), true, L"Title=T"},
      {"key without end", ApeTag(title + Le32(1) + Le32(0) + "Artist", 2), true, L"Title=T"},
      {"item count lies", countLies, true, L"Title=T"},
      {"tag size past the start", sizeLies, false, L""},
      {"TAG inside an item, no ID3v1", "audio" + ApeTag(ApeItem("Title", "T") + ApeItem("Artist", "TAG" + std::string(93, 'x')), 2),
       true, L"Title=T|Artist=TAG" + std::wstring(93, L'x')},
      {"no tag", std::string(300, 'x'), false, L""},
  };
  ExpectEndTags(ReadApeTags, rows);
}

}  // namespace
}  // namespace korval
