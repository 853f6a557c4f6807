#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "metadata/tag_readers.h"
#include "testing/byte_mutation.h"
#include "testing/found_tags.h"
#include "testing/music_samples.h"
#include "testing/watched_source.h"

namespace korval {
namespace {

using namespace music_samples;

constexpr uint32_t kMpeg1 = 0xFFFB9000;      // MPEG-1 layer III, 128 kbit/s, 44.1 kHz: 417-byte frames
constexpr uint32_t kMpeg25 = 0xFFE318C4;     // MPEG-2.5 layer III, 8 kbit/s, 8 kHz, mono: 72-byte frames
constexpr uint32_t kMpeg2Mono = 0xFFF380C0;  // MPEG-2 layer III, 64 kbit/s, 22.05 kHz, mono: 208-byte frames
constexpr uint32_t kLayer1 = 0xFFFF4000;     // MPEG-1 layer I, 128 kbit/s, 44.1 kHz: 136-byte frames

std::wstring Found(const TagValues& values) { return FoundTags(values); }

using Reader = void (*)(ByteSource&, TagValues&);

std::wstring Read(Reader reader, const std::string& bytes, TagSet wanted = TagSet::All()) {
  MemoryByteSource source(bytes);
  TagValues values(wanted);
  reader(source, values);
  return Found(values);
}

struct Row {
  const char* what;
  std::string bytes;
  std::wstring want;
};

void Check(Reader reader, const std::vector<Row>& rows) {
  for (const Row& row : rows) EXPECT_EQ(row.want, Read(reader, row.bytes)) << row.what;
}

TEST(MpegAudioTags, RanksTheTagsAndTimesTheAudio) {
  const std::string front = Id3Tag(3, Id3Text(3, "TIT2", kLatin1, L"Song") + Id3Text(3, "TLEN", kLatin1, L"1000"));
  const std::string v1 = Id3v1("v1 title", "v1 artist", "", "", 0, 13);
  const std::string ape = ApeTag(ApeItem("Artist", "Ape artist") + ApeItem("Composer", "Writer"), 2);
  const std::string cbr25 = MpegFrames(kMpeg25, 72, 2) + std::string(20352, '\0');  // 20,496 bytes: 20.5 s
  std::string junkSync = front + std::string("\xFF\xFB\x90\x00", 4) + std::string(10, '\0') +
                         XingFrame(kMpeg1, 417, 36, 8000) + MpegFrames(kMpeg1, 417, 2);
  std::string tagPastEnd = std::string("ID3\x03\0\0", 6) + Syncsafe(1000000) + Id3Text(3, "TIT2", kLatin1, L"T") +
                           MpegFrames(kMpeg1, 417, 3);
  Check(ReadMpegAudioTags, {
      {"ID3v2 before APE before ID3v1; Xing count", front + XingFrame(kMpeg1, 417, 36, 8000) + MpegFrames(kMpeg1, 417, 3) + ape + v1,
       L"Title=Song|Artist=Ape artist|Genre=Pop|Composer=Writer|Duration=3-29"},
      {"tags one behind the other: the first wins",
       Id3Tag(4, Id3Text(4, "TIT2", kUtf8, L"First")) + Id3Tag(3, Id3Text(3, "TIT2", kLatin1, L"Second") +
                                                                    Id3Text(3, "TALB", kLatin1, L"Album")) +
           MpegFrames(kMpeg25, 72, 3),
       L"Title=First|Album=Album|Duration=0-00"},
      {"bit rate over the audio, tags at the end left out", cbr25 + ape + v1,
       L"Title=v1 title|Artist=Ape artist|Genre=Pop|Composer=Writer|Duration=0-20"},
      {"bit rate over the audio", cbr25 + std::string(600, '\0'), L"Duration=0-21"},
      {"VBRI count", VbriFrame(kMpeg1, 417, 5000) + MpegFrames(kMpeg1, 417, 2), L"Duration=2-11"},
      {"Info count of an MPEG-2 mono frame", XingFrame(kMpeg2Mono, 208, 13, 1000, "Info") + MpegFrames(kMpeg2Mono, 208, 2),
       L"Duration=0-26"},
      {"layer I", MpegFrames(kLayer1, 136, 2) + std::string(160000 - 272, '\0'), L"Duration=0-10"},
      {"a stray sync before the first frame", junkSync, L"Title=Song|Duration=3-29"},
      {"the length frame without audio", front + std::string(100, '\0'), L"Title=Song|Duration=0-01"},
      {"tag past the end: no audio", tagPastEnd, L"Title=T"},
      {"frames that do not follow each other", MpegFrames(kMpeg1, 400, 3), L""},
      {"no MPEG audio", "RIFF" + std::string(100, '\0') + v1, L""},
  });
}

TEST(ApeFamilyTags, ReadTheirApeTagThenID3v1) {
  const std::string tag = ApeTag(ApeItem("Title", "Ape title") + ApeItem("Artist", "Ape artist"), 2);
  const std::string v1 = Id3v1("v1 title", "", "v1 album", "", 0, 255);
  Check(ReadApeFamilyTags, {
      {"Monkey's Audio", "MAC " + std::string(100, '\x01') + tag + v1, L"Title=Ape title|Artist=Ape artist|Album=v1 album"},
      {"WavPack", "wvpk" + std::string(100, '\x01') + tag, L"Title=Ape title|Artist=Ape artist"},
      {"Musepack 8", "MPCK" + std::string(100, '\x01') + tag, L"Title=Ape title|Artist=Ape artist"},
      {"Musepack 7", "MP+\x17" + std::string(100, '\x01') + tag, L"Title=Ape title|Artist=Ape artist"},
      {"ID3v1 alone", "MAC " + std::string(100, '\x01') + v1, L"Title=v1 title|Album=v1 album"},
      {"another signature", "OggS" + std::string(100, '\x01') + tag + v1, L""},
  });
}

TEST(RiffTags, ReadsWaveAndAviChunks) {
  const std::string fmt = WaveFormat(1, 8000, 8);  // 8,000 bytes a second
  const std::string data = RiffChunk("data", std::string(24000, '\x11'));
  const std::string info = InfoList({{"INAM", "Title"}, {"IART", "Artist"}, {"IPRD", "Album"}, {"IGNR", "Genre"},
                                     {"ICRD", "2001-02-03"}, {"ITRK", "5"}, {"ICMT", "not read"}});
  std::string sizeLies = Riff("WAVE", fmt + data + info);
  sizeLies.replace(4, 4, Le32(0x7FFFFFFF));
  std::string sizeZero = sizeLies;
  sizeZero.replace(4, 4, Le32(0));
  std::string streamed = Riff("WAVE", fmt + info) + "data" + Le32(0xFFFFFFFF) + std::string(8000, '\x11');
  streamed.replace(4, 4, Le32(0xFFFFFFFF));
  std::string zeroChunks;
  for (int i = 0; i < 5000; ++i) zeroChunks += RiffChunk("junk", "");
  const std::string odml = RiffChunk("LIST", "odml" + RiffChunk("dmlh", Le32(1500)));
  Check(ReadRiffTags, {
      {"INFO items, format and data", Riff("WAVE", fmt + data + info),
       L"Title=Title|Artist=Artist|Album=Album|Track=5|Year=2001|Genre=Genre|Duration=0-03"},
      {"the id3 chunk ranks above INFO",
       Riff("WAVE", fmt + info + RiffChunk("id3 ", Id3Tag(3, Id3Text(3, "TIT2", kLatin1, L"ID3 title") +
                                                              Id3Text(3, "TLEN", kLatin1, L"99000"))) + data),
       L"Title=ID3 title|Artist=Artist|Album=Album|Track=5|Year=2001|Genre=Genre|Duration=0-03"},
      {"an id3 tag larger than its chunk",
       Riff("WAVE", RiffChunk("ID3 ", Id3Tag(3, Id3Text(3, "TIT2", kLatin1, L"T")).substr(0, 15)) + RiffChunk("junk", "abcdefghijklmn")),
       L""},
      {"odd sizes are padded", Riff("WAVE", RiffChunk("junk", "abc") + InfoList({{"INAM", "Odd"}, {"IART", "Next"}})),
       L"Title=Odd|Artist=Next"},
      {"text encodings", Riff("WAVE", InfoList({{"INAM", "Caf\xC3\xA9"}, {"IART", "Mot\xF6rhead"}, {"IPRD", "\x93\xFA\x96\x7B"}})),
       L"Title=Café|Artist=Motörhead|Album=日本"},
      {"RIFF size too large", sizeLies, L"Title=Title|Artist=Artist|Album=Album|Track=5|Year=2001|Genre=Genre|Duration=0-03"},
      {"RIFF size zero", sizeZero, L"Title=Title|Artist=Artist|Album=Album|Track=5|Year=2001|Genre=Genre|Duration=0-03"},
      {"streamed data chunk", streamed, L"Title=Title|Artist=Artist|Album=Album|Track=5|Year=2001|Genre=Genre|Duration=0-01"},
      {"a chunk past the end hides the rest", Riff("WAVE", fmt + "junk" + Le32(0x10000000) + data + info), L""},
      {"a size that in 32 bits wraps back to its own chunk", Riff("WAVE", fmt + "junk" + Le32(0xFFFFFFF8) + info), L""},
      {"chunk count bounded", Riff("WAVE", zeroChunks + info), L""},
      {"AVI main header", Riff("AVI ", AviHeaderList(40000, 250, 640, 480) + info + RiffChunk("LIST", "movi" + std::string(99, '\0'))),
       L"Title=Title|Artist=Artist|Album=Album|Track=5|Year=2001|Genre=Genre|Width=640|Height=480|Duration=0-10"},
      {"AVI of several parts", Riff("AVI ", AviHeaderList(40000, 250, 640, 480, odml)), L"Width=640|Height=480|Duration=1-00"},
      {"AVI frame size out of bounds", Riff("AVI ", AviHeaderList(40000, 250, 0x10000, 480)), L"Duration=0-10"},
      {"another form", Riff("WAVX", fmt + data + info), L""},
  });
}

TEST(AiffTags, ReadsCommonNameAndId3Chunks) {
  const std::string text = AiffChunk("NAME", "Name") + AiffChunk("AUTH", "Auth");
  std::string negative = AiffComm(441000, 44100);
  negative[16] = static_cast<char>(negative[16] | 0x80);
  std::string huge = AiffComm(441000, 44100);
  huge.replace(16, 2, Be16(16383 + 100));
  std::string denormal = AiffComm(441000, 44100);
  denormal[18] = 0x7F;
  Check(ReadAiffTags, {
      {"common chunk and texts", Aiff("AIFF", AiffComm(441000, 44100) + text + AiffChunk("SSND", std::string(99, '\0'))),
       L"Title=Name|Artist=Auth|Duration=0-10"},
      {"AIFF-C, a rate that is no power of two", Aiff("AIFC", AiffComm(441000, 22050)), L"Duration=0-20"},
      {"the ID3 chunk ranks above the texts",
       Aiff("AIFF", text + AiffChunk("ID3 ", Id3Tag(4, Id3Text(4, "TIT2", kUtf8, L"曲") + Id3Text(4, "TLEN", kLatin1, L"1")))),
       L"Title=曲|Artist=Auth|Duration=0-00"},
      {"UTF-8 and Latin-1 texts", Aiff("AIFF", AiffChunk("NAME", "Caf\xC3\xA9") + AiffChunk("AUTH", "Mot\xF6rhead")),
       L"Title=Café|Artist=Motörhead"},
      {"negative rate", Aiff("AIFF", negative), L""},
      {"huge rate", Aiff("AIFF", huge), L""},
      {"rate not normalised", Aiff("AIFF", denormal), L""},
      {"a chunk past the end", Aiff("AIFF", AiffChunk("NAME", "Name") + "AUTH" + Be32(0x7FFFFFF0) + "Auth"), L"Title=Name"},
      {"a size that in 32 bits wraps back to its own chunk", Aiff("AIFF", "NAME" + Be32(0xFFFFFFF8) + text), L""},
      {"another form", Aiff("8SVX", text), L""},
  });
}

TEST(DsfTags, ReadsTheTagTheHeaderPointsAt) {
  const std::string id3 = Id3Tag(3, Id3Text(3, "TIT2", kLatin1, L"DSD") + Id3Text(3, "TLEN", kLatin1, L"1000"));
  std::string pastEnd = Dsf(2822400, 2822400ull * 125, id3);
  pastEnd.replace(20, 8, Le64(1ull << 40));
  std::string badChunk = Dsf(2822400, 2822400ull * 125, id3);
  badChunk.replace(4, 8, Le64(29));
  Check(ReadDsfTags, {
      {"tag and duration", Dsf(2822400, 2822400ull * 125, id3), L"Title=DSD|Duration=2-05"},
      {"no tag", Dsf(5644800, 5644800ull * 3600, ""), L"Duration=1-00-00"},
      {"tag pointer past the end", pastEnd, L"Duration=2-05"},
      {"no frequency: the tag's length", Dsf(0, 100, id3), L"Title=DSD|Duration=0-01"},
      {"header chunk of another size", badChunk, L""},
  });
}

const std::pair<const char*, Reader> kContainerReaders[] = {
    {"mpeg", ReadMpegAudioTags}, {"ape family", ReadApeFamilyTags}, {"riff", ReadRiffTags},
    {"aiff", ReadAiffTags},      {"dsf", ReadDsfTags},
};

TEST(MusicTags, EachReaderTakesItsOwnLayoutAndReadsOnlyWhatIsAsked) {
  const std::vector<std::string> samples = MusicSamples();
  const char* owners[] = {"mpeg", "mpeg", "mpeg", "riff", "riff", "aiff", "dsf", "ape family"};
  ASSERT_EQ(std::size(owners), samples.size());
  for (size_t i = 0; i < samples.size(); ++i) {
    for (const auto& [name, reader] : kContainerReaders) {
      const bool own = std::string(name) == owners[i];
      EXPECT_EQ(own, !Read(reader, samples[i]).empty()) << name << " on sample " << i;
      WatchedSource source(samples[i]);
      TagValues nothingAsked(TagSet::Of(Tag::Crc32));
      reader(source, nothingAsked);
      EXPECT_LE(source.Reads(), 1u) << name << " on sample " << i;
    }
  }
  // A large picture before the title is stepped over, not read.
  const std::string picture = Id3Tag(3, Id3Frame(3, "APIC", std::string(1 << 20, 'p')) + Id3Text(3, "TIT2", kLatin1, L"T")) +
                              MpegFrames(kMpeg25, 72, 3);
  WatchedSource source(picture);
  TagValues title(TagSet::Of(Tag::Title));
  ReadMpegAudioTags(source, title);
  EXPECT_EQ(L"Title=T", Found(title));
  EXPECT_LT(source.bytes, 4096u);
}

// Mutations of every layout (flipped bytes, cut ends, sizes made huge) read by every reader from
// memory fenced on both sides: no crash, no read outside, and what is found looks like a value.
TEST(MusicTagsFuzz, MutatedSamplesNeverCrash) {
  const std::vector<std::string> samples = MusicSamples();
  std::mt19937 random(20240611);
  int found = 0;
  for (int round = 0; round < 2000; ++round) {
    const std::string bytes = MutatedBytes(random, samples[random() % samples.size()]);
    ASSERT_TRUE(ReadFenced(bytes, [&](std::string_view fenced) {
      MemoryByteSource source(fenced);
      TagValues values;
      for (const auto& entry : kContainerReaders) entry.second(source, values);
      ReadId3v2Tags(source, 0, values);
      ReadApeTags(source, values);
      ReadId3v1Tags(source, values);
      for (const TagDescriptor& d : kTagTable) {
        const std::wstring* value = values.Find(d.tag);
        if (value == nullptr) continue;
        ++found;
        ASSERT_FALSE(value->empty());
        ASSERT_EQ(std::wstring::npos, value->find(L'\0'));
        ASSERT_LE(value->size(), 70000u * 64);
        if (d.tag == Tag::Duration || d.tag == Tag::Width || d.tag == Tag::Height) {
          ASSERT_EQ(std::wstring::npos, value->find_first_not_of(L"0123456789-")) << *value;
        }
      }
    }));
  }
  EXPECT_GT(found, 10000);  // most mutations leave tags to find: the readers were really exercised
}

}  // namespace
}  // namespace korval
