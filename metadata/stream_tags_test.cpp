// The FLAC, Vorbis comment, Ogg, ASF and Matroska tag readers over built files, good, damaged and
// hostile, and all the music and movie readers over mutated samples.
#include <gtest/gtest.h>

#include <random>

#include "metadata/tag_readers.h"
#include "testing/byte_mutation.h"
#include "testing/found_tags.h"
#include "testing/media_samples.h"

namespace korval {
namespace {

using namespace media;
using Reader = void (*)(ByteSource&, TagValues&);

// The found values in tag order, "Name=value|...".
std::wstring Describe(const TagValues& values) {
  return FoundTags(values);
}

std::wstring Found(Reader reader, const std::string& bytes, TagSet wanted = TagSet::All()) {
  MemoryByteSource source(bytes);
  TagValues values(wanted);
  reader(source, values);
  return Describe(values);
}

struct Case {
  const char* what;
  std::string bytes;
  std::wstring want;
};

const std::vector<std::string> kComments = {"TITLE=Song",    "ARTIST=Singer", "ALBUM=Record", "TRACKNUMBER=3",
                                            "TRACKTOTAL=12", "DATE=2021",     "GENRE=Pop",    "COMPOSER=Writer"};
const std::wstring kCommentValues =
    L"Title=Song|Artist=Singer|Album=Record|Track=3/12|Year=2021|Genre=Pop|Composer=Writer";

TEST(VorbisComment, ReadsEntries) {
  const Case cases[] = {
      {"keys in any case, repeated keys", VorbisComment("v", {"artist=A", "Artist=B", "ARTIST=A", "title=T"}),
       L"Title=T|Artist=A, B"},
      {"album artist spellings", VorbisComment("v", {"ALBUM ARTIST=X", "ALBUM_ARTIST=Y", "ALBUMARTIST=X"}),
       L"AlbumArtist=X, Y"},
      {"totals joined to lone numbers",
       VorbisComment("v", {"TOTALTRACKS=9", "TRACKNUMBER=3", "DISCNUMBER=1/2", "DISCTOTAL=2"}), L"Track=3/9|Disc=1/2"},
      {"year from YEAR, UTF-8", VorbisComment("v", {"YEAR=1999", "GENRE=\xE6\xBC\x94\xE6\xAD\x8C"}),
       L"Year=1999|Genre=\x6F14\x6B4C"},
      {"entries without '=' or with unknown keys", VorbisComment("v", {"TITLE", "MOOD=calm", "=x", "COMPOSER=C"}),
       L"Composer=C"},
      {"count of 0xFFFFFFFF", VorbisComment("v", {"TITLE=T", "ARTIST=A"}).replace(5, 4, Le32(0xFFFFFFFF)),
       L"Title=T|Artist=A"},
      {"vendor longer than the block", VorbisComment("v", {"TITLE=T"}).replace(0, 4, Le32(100)), L""},
      {"entry longer than the block", VorbisComment("v", {"TITLE=T", "ARTIST=A"}).replace(20, 4, Le32(9)), L"Title=T"},
      {"block cut in a length", VorbisComment("v", {"TITLE=T"}).substr(0, 11), L""},
      {"empty block", "", L""},
  };
  for (const Case& c : cases) {
    TagValues values;
    ReadVorbisComment(c.bytes, values);
    EXPECT_EQ(c.want, Describe(values)) << c.what;
  }
}

TEST(FlacTags, ReadsEachLayout) {
  const std::string flac = MediaSamples()[2];
  std::string badId3 = MediaSamples()[3];
  badId3[7] = '\x80';
  const Case cases[] = {
      {"comments and stream information", flac, kCommentValues + L"|Duration=1-35"},
      {"behind an ID3v2 tag with a footer", MediaSamples()[3], L"Title=Tagged|Duration=0-10"},
      {"ID3v2 size that is not syncsafe", badId3, L""},
      {"comment block past the end", flac.substr(0, 4 + 38 + 20), L"Duration=1-35"},
      {"invalid block type ends the walk", "fLaC" + FlacBlock(127, "", false) + flac.substr(4), L""},
      {"stream information cut short",
       "fLaC" + FlacBlock(0, std::string(20, '\x01'), false) + FlacBlock(4, VorbisComment("v", {"TITLE=T"}), true),
       L"Title=T"},
      {"sample rate of zero", "fLaC" + FlacBlock(0, FlacStreamInfo(0, 1000), true), L""},
      {"no mark", "fLaX" + flac.substr(4), L""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.want, Found(ReadFlacTags, c.bytes)) << c.what;
}

TEST(OggTags, ReadsEachLayout) {
  const std::vector<std::string> s = MediaSamples();
  const std::string vorbis = s[4];
  std::string badChecksum = vorbis;
  badChecksum[vorbis.find("TITLE")] = 'X';
  const std::string id = VorbisIdentification(44100);
  const std::string idPage = OggPage(2, 0, 7, 0, {static_cast<uint8_t>(id.size())}, id);
  const std::string comment = VorbisCommentPacket({"TITLE=Lying"});
  // The lacing value promises 255 bytes more than the page and the file hold.
  const std::string lying = idPage + OggPage(0, 0, 7, 1, {static_cast<uint8_t>(comment.size()), 255}, comment);
  const std::string theora = std::string("\x80theora", 7) + std::string(35, '\0');
  const std::string multiplexed = OggPage(2, 0, 9, 0, {static_cast<uint8_t>(theora.size())}, theora) +
                                  OggPage(2, 0, 7, 0, {static_cast<uint8_t>(id.size())}, id) +
                                  OggPage(0, 0, 9, 1, {3}, "abc") + OggStream(7, {comment}, 3, 44100 * 3) +
                                  OggPage(4, 44100 * 600, 9, 2, {3}, "abc");
  std::string longTitle = "TITLE=" + std::string(2000, 'x');
  std::string bigComment =
      VorbisCommentPacket({"TITLE=Big", "COVER=" + std::string((1 << 20) + 5000, 'c'), "ARTIST=After"});
  const Case cases[] = {
      {"vorbis", vorbis, kCommentValues + L"|Duration=1-01"},
      {"opus, less its pre-skip", s[5], kCommentValues + L"|Duration=0-30"},
      {"speex", s[6], kCommentValues + L"|Duration=0-05"},
      {"flac", s[7], kCommentValues + L"|Duration=0-07"},
      {"comment packet across pages", OggFile(id, VorbisCommentPacket({longTitle, "ARTIST=A"}), 44100 * 2),
       L"Title=" + std::wstring(2000, L'x') + L"|Artist=A|Duration=0-02"},
      {"a page whose checksum does not match", badChecksum, L"Duration=1-01"},
      {"a lacing value past the end", lying, L"Duration=0-00"},
      {"second stream of a known codec; last page of another stream", multiplexed, L"Title=Lying|Duration=0-03"},
      {"last page without a finished packet", vorbis + OggPage(4, UINT64_MAX, 0x1234, 99, {10}, std::string(10, '\0')),
       kCommentValues + L"|Duration=1-01"},
      {"opus ending before its pre-skip", OggFile(OpusHead(5000), "OpusTags" + VorbisComment("o", {}), 100), L""},
      {"comment larger than the bound: the entries that fit", OggFile(id, bigComment, 0), L"Title=Big|Duration=0-00"},
      {"no stream start", vorbis.substr(id.size() + 28), L""},
      {"not Ogg", "OggX" + vorbis.substr(4), L""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.want, Found(ReadOggTags, c.bytes)) << c.what;
}

TEST(AsfTags, ReadsEachLayout) {
  const std::vector<std::string> s = MediaSamples();
  const std::string extended = AsfExtendedContent({{"WM/AlbumArtist", 0, Utf16Le("Band", true)},
                                                   {"WM/TrackNumber", 5, Le16(7)},
                                                   {"WM/PartOfSet", 0, Utf16Le("1/2", true)},
                                                   {"WM/Genre", 0, Utf16Le("Pop", true)},
                                                   {"WM/Composer", 0, Utf16Le("Writer", true)},
                                                   {"WM/Track", 3, Le32(9)}});
  const std::string zeroBased = AsfExtendedContent({{"WM/Track", 3, Le32(4)}});
  std::string valuePastEnd = AsfExtendedContent({{"WM/Year", 0, Utf16Le("2001", true)}, {"WM/Genre", 0, Utf16Le("G")}});
  valuePastEnd.replace(valuePastEnd.size() - 4, 2, Le16(40));
  std::string lengthsPastEnd = AsfContentDescription("T", "A");
  lengthsPastEnd.replace(24, 2, Le16(200));
  std::string sizeZero = AsfContentDescription("T", "A");
  sizeZero.replace(16, 8, Le64(0));
  std::string libraryPastEnd = AsfHeaderExtension({{"WM/Track", 3, Le32(1)}, {"WM/Genre", 0, Utf16Le("G")}});
  libraryPastEnd.replace(libraryPastEnd.find(Utf16Le("WM/Genre")) - 4, 4, Le32(1000));
  std::string headerPastEnd = s[8];
  headerPastEnd.replace(16, 8, Le64(1 << 20));
  const Case cases[] = {
      {"music, with the metadata library", s[8],
       L"Title=Song|Artist=Singer|Album=Record|Track=3|Year=2021|Genre=Pop|Composer=Writer|Duration=3-22"},
      {"zero-based track in the metadata library, a record past its object", AsfFile({libraryPastEnd}), L"Track=2"},
      {"movie", s[9], L"Title=Clip|Width=1280|Height=720|Duration=1-00"},
      {"attributes of each kind", AsfFile({extended}), L"AlbumArtist=Band|Track=7|Disc=1/2|Genre=Pop|Composer=Writer"},
      {"zero-based track alone", AsfFile({zeroBased}), L"Track=5"},
      {"attribute value past its object", AsfFile({valuePastEnd}), L"Year=2001"},
      {"content description lengths past its object", AsfFile({lengthsPastEnd, AsfFileProperties(10000000, 0)}),
       L"Duration=0-01"},
      {"object size 0 ends the walk", AsfFile({AsfFileProperties(10000000, 0), sizeZero, AsfVideoStream(2, 2)}),
       L"Duration=0-01"},
      {"header past the end", headerPastEnd, L""},
      {"broadcast: no duration", AsfFile({AsfFileProperties(10000000, 0, 1)}), L""},
      {"preroll longer than the play", AsfFile({AsfFileProperties(10000000, 2000)}), L""},
      {"not ASF", "X" + s[8].substr(1), L""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.want, Found(ReadAsfTags, c.bytes)) << c.what;
}

TEST(MatroskaTags, ReadsEachLayout) {
  const std::vector<std::string> s = MediaSamples();
  const std::string info = MatroskaInfo("Info title", 65000.0);
  const std::string cluster = EbmlElement(0x1F43B675, EbmlUnsigned(0xE7, 0) + EbmlElement(0xA3, std::string(100, 'z')));
  const std::string tags = EbmlElement(0x1254C367, MatroskaTag(30, {{"artist", "Singer"}, {"DATE_RELEASED", "2020"}}) +
                                                       MatroskaTag(50, {{"TITLE", "Record"}, {"GENRE", "Pop"}}));
  const std::string oneLevel =
      EbmlElement(0x1254C367, MatroskaTag(0, {{"TITLE", "Song"}, {"ARTIST", "Singer"}, {"COMPOSER", "Writer"}}));
  auto seekHead = [&](uint64_t position) {
    return EbmlElement(0x114D9B74,
                       EbmlElement(0x4DBB, EbmlElement(0x53AB, EbmlId(0x1254C367)) + EbmlUnsigned(0x53AC, position)));
  };
  const size_t seekSize = seekHead(0x1000).size();  // positions below are two bytes long too
  const std::string afterClusters = info + cluster + cluster;
  const std::string sought = seekHead(seekSize + afterClusters.size()) + afterClusters + tags;
  const std::string wrongSeek = seekHead(seekSize) + afterClusters + tags;
  const std::string unknownCluster = EbmlId(0x1F43B675) + std::string(1, '\xFF') + EbmlUnsigned(0xE7, 0);
  const std::string allOnesInfo =
      EbmlId(0x1549A966) + std::string("\x01\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8) + info.substr(5);
  std::string deep = MatroskaSimpleTag("TITLE", "Deep");
  for (int i = 0; i < 300; ++i) deep = EbmlElement(0x67C8, EbmlElement(0x45A3, "X") + deep);
  const std::string deepTags = EbmlElement(0x1254C367, EbmlElement(0x7373, deep + MatroskaSimpleTag("ARTIST", "A")));
  std::string childPastParent = MatroskaVideoTrack(640, 480);
  childPastParent.replace(childPastParent.find('\xE0') + 1, 1, "\x9F");
  const Case cases[] = {
      {"album and track levels; the segment's title wins", s[10],
       L"Title=Movie|Artist=Singer|Album=Record|AlbumArtist=Band|Track=3|Width=1920|Height=800|Duration=1-35"},
      {"webm of unknown size", s[11], L"Width=640|Height=360|Duration=0-01"},
      {"one level only; the segment's title wins", MatroskaFile("matroska", oneLevel + info),
       L"Title=Info title|Artist=Singer|Composer=Writer|Duration=1-05"},
      {"a track-level title where the segment has none", MatroskaFile("matroska", oneLevel),
       L"Title=Song|Artist=Singer|Composer=Writer"},
      {"segment title without a track-level title", MatroskaFile("matroska", info + tags),
       L"Title=Info title|Artist=Singer|Album=Record|Year=2020|Genre=Pop|Duration=1-05"},
      {"tags behind clusters, through the seek head", MatroskaFile("matroska", sought),
       L"Title=Info title|Artist=Singer|Album=Record|Year=2020|Genre=Pop|Duration=1-05"},
      {"tags behind clusters, stepped over by size", MatroskaFile("matroska", afterClusters + tags),
       L"Title=Info title|Artist=Singer|Album=Record|Year=2020|Genre=Pop|Duration=1-05"},
      {"a seek to the wrong element", MatroskaFile("matroska", wrongSeek), L"Title=Info title|Duration=1-05"},
      {"tags behind a cluster of unknown size", MatroskaFile("matroska", info + unknownCluster + tags),
       L"Title=Info title|Duration=1-05"},
      {"scale in seconds, four-byte duration",
       MatroskaFile("webm",
                    EbmlElement(0x1549A966, EbmlUnsigned(0x2AD7B1, 1000000000) + EbmlFloat(0x4489, 125, false))),
       L"Duration=2-05"},
      {"eight-byte size of all ones on Info", MatroskaFile("matroska", allOnesInfo), L""},
      {"deeply nested simple tags", MatroskaFile("matroska", deepTags), L"Artist=A"},
      {"video settings past their track", MatroskaFile("matroska", EbmlElement(0x1654AE6B, childPastParent)), L""},
      {"not Matroska", "\x1A\x45\xDF\xA4" + s[10].substr(4), L""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.want, Found(ReadMatroskaTags, c.bytes)) << c.what;
}

// A found value must be text the file really held: never empty, no NUL, numbers for the sizes and a
// duration made by PutDuration.
void ExpectSane(const TagValues& values) {
  for (const TagDescriptor& d : kTagTable) {
    const std::wstring* v = values.Find(d.tag);
    if (v == nullptr) continue;
    ASSERT_FALSE(v->empty());
    ASSERT_EQ(std::wstring::npos, v->find(L'\0'));
    ASSERT_LE(v->size(), 200000u);
    if (d.tag == Tag::Width || d.tag == Tag::Height) {
      ASSERT_EQ(std::wstring::npos, v->find_first_not_of(L"0123456789"));
    }
    if (d.tag == Tag::Duration) {
      ASSERT_EQ(std::wstring::npos, v->find_first_not_of(L"0123456789-"));
    }
  }
}

TEST(MediaTagsFuzz, MutatedSamplesNeverCrash) {
  static constexpr Reader kReaders[] = {ReadMp4Tags, ReadFlacTags, ReadOggTags, ReadAsfTags, ReadMatroskaTags};
  const std::vector<std::string> seeds = MediaSamples();
  std::mt19937 random(20240611);
  int found = 0;
  for (int round = 0; round < 2000; ++round) {
    const std::string bytes = MutatedBytes(random, seeds[random() % seeds.size()]);
    ASSERT_TRUE(ReadFenced(bytes, [&](std::string_view fenced) {
      MemoryByteSource source(fenced);
      for (Reader reader : kReaders) {
        TagValues values;
        reader(source, values);
        ExpectSane(values);
        if (!values.Found().Empty()) ++found;
      }
      TagValues comments;
      ReadVorbisComment(fenced, comments);
      ExpectSane(comments);
    }));
  }
  EXPECT_GT(found, 1000);  // most damage leaves something readable
}

}  // namespace
}  // namespace korval
