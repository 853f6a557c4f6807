// The ISO media tag reader over built movies and music files, good and damaged.
#include <gtest/gtest.h>

#include "metadata/tag_readers.h"
#include "testing/found_tags.h"
#include "testing/media_samples.h"

namespace korval {
namespace {

using namespace media;

// The found values in tag order, "Name=value|...".
std::wstring Mp4Found(const std::string& bytes, TagSet wanted = TagSet::All()) {
  MemoryByteSource source(bytes);
  TagValues values(wanted);
  ReadMp4Tags(source, values);
  return FoundTags(values);
}

const std::string kItems = Mp4Text("\xA9nam", "Song") +
                           Mp4Text(
                               "\xA9"
                               "ART",
                               "Singer") +
                           Mp4Pair("trkn", 3, 12);
const std::string kHeader = Mp4MovieHeader(1000, 200000);

TEST(Mp4Tags, ReadsEachLayout) {
  const std::string sixtyFour = Mp4Box("ftyp", "M4A " + Be32(0)) + Mp4Box64("moov", kHeader + Mp4UserDataItems(kItems));
  const std::string toTheEnd = Mp4Box("ftyp", "M4A " + Be32(0)) + Be32(0) + "moov" + kHeader + Mp4UserDataItems(kItems);
  struct Case {
    const char* what;
    std::string bytes;
    std::wstring want;
  } cases[] = {
      {"every item", MediaSamples()[0],
       L"Title=Song|Artist=Singer|Album=Record|AlbumArtist=Band|Track=3/12|Disc=1/2|Year=2021|Genre=Rock|"
       L"Composer=Writer|Duration=3-20"},
      {"keyed items, video track, 64-bit header", MediaSamples()[1],
       L"Title=Clip|Artist=Me|Width=1920|Height=1080|Duration=1-05"},
      {"meta without version and flags", Mp4File("qt  ", Mp4UserDataItems(kItems, true)),
       L"Title=Song|Artist=Singer|Track=3/12"},
      {"several data boxes, UTF-16, number without total",
       Mp4File("M4A ", Mp4UserDataItems(Mp4Box("\xA9"
                                               "ART",
                                               Mp4Data(1, "A") + Mp4Data(1, "B")) +
                                        Mp4Box("\xA9nam", Mp4Data(2, std::string("\x30\x42\0X", 4))) +
                                        Mp4Pair("disk", 2, 0) + Mp4Text("\xA9gen", "Jazz"))),
       L"Title=\x3042X|Artist=A, B|Disc=2|Genre=Jazz"},
      {"genre index out of the table", Mp4File("M4A ", Mp4UserDataItems(Mp4Box("gnre", Mp4Data(0, Be16(193))))), L""},
      {"audio track, then the video track",
       Mp4File("mp41", Mp4Track("soun", 0, 0) + Mp4Track("vide", 640, 480) + Mp4Track("vide", 320, 240)),
       L"Width=640|Height=480"},
      {"64-bit moov size", sixtyFour, L"Title=Song|Artist=Singer|Track=3/12|Duration=3-20"},
      {"moov running to the end", toTheEnd, L"Title=Song|Artist=Singer|Track=3/12|Duration=3-20"},
      {"not an ISO file", "RIFF" + Mp4Box("moov", kHeader).substr(4), L""},
      {"moov past the end", Mp4File("M4A ", kHeader + Mp4UserDataItems(kItems)).replace(24, 4, Be32(0x7FFFFFFF)), L""},
      {"64-bit size of 2^63", Mp4Box("ftyp", "M4A " + Be32(0)) + Be32(1) + "moov" + Be64(1ull << 63) + kHeader, L""},
      {"a zero size in the middle swallows the meta box",
       Mp4File("M4A ", kHeader + Mp4Box("udta", Be32(0) + "free" + Mp4UserDataItems(kItems).substr(8))),
       L"Duration=3-20"},
      {"a data box shorter than its header",
       Mp4File("M4A ", Mp4UserDataItems(Mp4Box("\xA9nam", Be32(12) + "data" + Be32(1)) + Mp4Text("\xA9"
                                                                                                 "alb",
                                                                                                 "R"))),
       L"Album=R"},
      {"an item box past its list",
       Mp4File("M4A ", Mp4UserDataItems(Mp4Text("\xA9"
                                                "alb",
                                                "R") +
                                        Be32(400) + "\xA9nam" + Mp4Data(1, "Lost"))),
       L"Album=R"},
      {"movie header of an unknown version", Mp4File("M4A ", Mp4MovieHeader(1000, 5000, 2)), L""},
      {"movie header without a time scale", Mp4File("M4A ", Mp4MovieHeader(0, 5000)), L""},
      {"movie header duration unknown", Mp4File("M4A ", Mp4MovieHeader(1000, 0xFFFFFFFF)), L""},
      {"track header cut before its size",
       Mp4File("mp41", Mp4Box("trak", Mp4Box("tkhd", std::string(40, '\0')) +
                                          Mp4Box("mdia", Mp4Box("hdlr", std::string(8, '\0') + "vide")))),
       L""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.want, Mp4Found(c.bytes)) << c.what;
}

TEST(Mp4Tags, ReadsOnlyWhatIsAsked) {
  TagSet durationOnly = TagSet::Of(Tag::Duration);
  EXPECT_EQ(L"Duration=3-20", Mp4Found(MediaSamples()[0], durationOnly));
  TagSet title = TagSet::Of(Tag::Title);
  EXPECT_EQ(L"Title=Clip", Mp4Found(MediaSamples()[1], title));
}

}  // namespace
}  // namespace korval
