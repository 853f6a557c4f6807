// The readers of photographs and pictures: camera tags from EXIF in every container, and the
// picture's size from its own header, on files built here byte by byte.
#include <cwctype>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "metadata/tag_readers.h"
#include "platform/utf8.h"
#include "testing/byte_mutation.h"
#include "testing/picture_samples.h"
#include "testing/watched_source.h"

namespace korval {
namespace {

using samples::BmpCorePicture;
using samples::BmpPicture;
using samples::CameraLayout;
using samples::CameraTiff;
using samples::GifPicture;
using samples::HeifPicture;
using samples::JpegPicture;
using samples::LongTag;
using samples::PngPicture;
using samples::PsdPicture;
using samples::RationalTag;
using samples::ShortTag;
using samples::TextTag;
using samples::Tiff;
using samples::TiffLayout;
using samples::TiffPicture;
using samples::WebPKind;
using samples::WebPPicture;
using samples::kCameraTagsText;

constexpr Tag kPictureTags[] = {Tag::Make,     Tag::Model,       Tag::Lens,  Tag::Iso,   Tag::FNumber,
                                Tag::Exposure, Tag::FocalLength, Tag::Width, Tag::Height};

// The found tags as "Name=value; ..." in the order of the tag table.
std::string Describe(const TagValues& values) {
  std::string out;
  for (Tag tag : kPictureTags) {
    const std::wstring* value = values.Find(tag);
    if (value == nullptr) continue;
    const std::string narrow = Utf8(*value);
    std::string name;
    for (const wchar_t* c = DescriptorOf(tag).name; *c != 0; ++c) name += static_cast<char>(*c);
    out += (out.empty() ? "" : "; ") + name + "=" + narrow;
  }
  return out;
}

std::string Read(std::string_view bytes, TagSet wanted = TagSet::All()) {
  MemoryByteSource source(bytes);
  TagValues values(wanted);
  ReadPictureTags(source, values);
  return Describe(values);
}

std::string Camera(const std::string& size) { return std::string(kCameraTagsText) + "; " + size; }

struct Row {
  const char* what;
  std::string bytes;
  std::string expected;
};

TEST(PictureTags, ReadsEveryLayout) {
  const std::string little = CameraTiff(false), big = CameraTiff(true);
  TiffLayout inline4 = CameraLayout(true);  // texts of up to four bytes sit in the entry itself
  inline4.first = {TextTag(0x010F, "LG"), {0x0110, 2, 4, "G7  "}};
  TiffLayout reduced = CameraLayout(false);  // a raw file whose first directory is a preview
  reduced.first.push_back(LongTag(false, 0x00FE, 1));
  reduced.first.push_back(ShortTag(false, 0x0100, 160));
  reduced.first.push_back(ShortTag(false, 0x0101, 120));
  TiffLayout selfLoop = CameraLayout(true);  // the EXIF pointer leads back to the first directory
  selfLoop.first.push_back(LongTag(true, 0x8769, 8));
  selfLoop.exif.clear();
  TiffLayout cr3Main;
  cr3Main.first = {TextTag(0x010F, "Canon"), TextTag(0x0110, "EOS R6"), LongTag(false, 0x0100, 6720), LongTag(false, 0x0101, 4480)};
  TiffLayout cr3Exif;
  cr3Exif.big = true;
  cr3Exif.first = {RationalTag(true, 0x829D, 40, 10), ShortTag(true, 0x8827, 100), TextTag(0xA434, "RF24-105mm F4 L IS USM")};

  const std::vector<Row> rows = {
      {"JPEG, little-endian EXIF", JpegPicture(little, 1600, 1200), Camera("Width=1600; Height=1200")},
      {"JPEG, big-endian EXIF", JpegPicture(big, 1600, 1200), Camera("Width=1600; Height=1200")},
      {"JPEG without EXIF", JpegPicture("", 1024, 768), "Width=1024; Height=768"},
      {"texts inline in the entry", JpegPicture(Tiff(inline4), 8, 8),
       "Make=LG; Model=G7; Lens=RF50mm F1.8 STM; ISO=400; FNumber=2.8; Exposure=1/250; FocalLength=50; Width=8; Height=8"},
      {"TIFF, little-endian", TiffPicture(false, 3000, 2000), Camera("Width=3000; Height=2000")},
      {"TIFF, big-endian", TiffPicture(true, 3000, 2000), Camera("Width=3000; Height=2000")},
      {"raw with a preview first", Tiff(reduced), Camera("Width=6000; Height=4000")},
      {"EXIF pointer to itself", Tiff(selfLoop), "Make=Canon; Model=EOS R5"},
      {"RAF: the preview's EXIF", samples::Raf(JpegPicture(big, 160, 120)), Camera("Width=6000; Height=4000")},
      {"MRW", samples::Mrw(big), Camera("Width=6000; Height=4000")},
      {"X3F: the preview's EXIF", samples::X3f(JpegPicture(little, 640, 480), {{"TIME", "1700000000"}}), Camera("Width=6000; Height=4000")},
      {"HEIF: the primary item's size", HeifPicture(big, 4032, 3024), Camera("Width=4032; Height=3024")},
      {"HEIF: 16-bit property numbers", HeifPicture(little, 4032, 3024, true), Camera("Width=4032; Height=3024")},
      {"HEIF without a primary item", HeifPicture(little, 4032, 3024, false, false), Camera("Width=6000; Height=4000")},
      {"CR3: both directories", samples::Cr3(Tiff(cr3Main), Tiff(cr3Exif), 3793342830u),
       "Make=Canon; Model=EOS R6; Lens=RF24-105mm F4 L IS USM; ISO=100; FNumber=4.0; Width=6720; Height=4480"},
      {"WebP, extended", WebPPicture(WebPKind::kExtended, little, 1920, 1080), Camera("Width=1920; Height=1080")},
      {"WebP, lossy", WebPPicture(WebPKind::kLossy, "", 550, 368), "Width=550; Height=368"},
      {"WebP, lossless", WebPPicture(WebPKind::kLossless, "", 400, 301), "Width=400; Height=301"},
      {"PNG", PngPicture(big, 800, 600), Camera("Width=800; Height=600")},
      {"PSD", PsdPicture(little, 2480, 3508), Camera("Width=2480; Height=3508")},
      {"GIF", GifPicture(320, 240), "Width=320; Height=240"},
      {"BMP, top-down", BmpPicture(64, -48), "Width=64; Height=48"},
      {"BMP, bottom-up", BmpPicture(64, 48), "Width=64; Height=48"},
      {"BMP, core header", BmpCorePicture(30, 20), "Width=30; Height=20"},
  };
  for (const Row& row : rows) EXPECT_EQ(row.expected, Read(row.bytes)) << row.what;
}

TEST(PictureTags, DamagedAndHostileLayouts) {
  TiffLayout farOffset = CameraLayout(false);  // the make's text points past the stream
  farOffset.first[0] = {0x010F, 2, 6, std::string("Canon\0", 6)};
  std::string pastEnd = Tiff(farOffset);
  pastEnd.replace(pastEnd.find(samples::Le16(0x010F)) + 8, 4, samples::Le32(0x7FFFFFF0));
  std::string hugeCount = CameraTiff(true);  // 65535 entries in a few dozen bytes
  hugeCount.replace(8, 2, samples::Be16(0xFFFF));
  TiffLayout zero = CameraLayout(false);
  zero.exif[0] = RationalTag(false, 0x829A, 1, 0);
  zero.exif[1] = RationalTag(false, 0x829D, 28, 0);
  zero.exif[3] = RationalTag(false, 0x920A, 0, 1);  // lenses that do not tell write zero
  std::string longCount = CameraTiff(false);  // an ISO entry claiming more values than there are bytes
  longCount.replace(longCount.find(samples::Le16(0x8827) + samples::Le16(3)) + 4, 4, samples::Le32(0x40000000));
  const std::string jpeg = JpegPicture(CameraTiff(false), 1600, 1200);
  const size_t frame = jpeg.find("\xFF\xC0");
  std::string shortFrame = jpeg;  // a frame segment too short for its sizes
  shortFrame.replace(frame + 2, 2, samples::Be16(5));
  shortFrame.erase(frame + 7, 6);

  const std::vector<Row> rows = {
      {"offset past the end", pastEnd,
       "Model=EOS R5; Lens=RF50mm F1.8 STM; ISO=400; FNumber=2.8; Exposure=1/250; FocalLength=50; Width=6000; Height=4000"},
      {"entry count of 65535", hugeCount, ""},
      {"zero denominators and zero focal length", Tiff(zero),
       "Make=Canon; Model=EOS R5; Lens=RF50mm F1.8 STM; ISO=400; Width=6000; Height=4000"},
      {"count beyond the stream", longCount,
       "Make=Canon; Model=EOS R5; Lens=RF50mm F1.8 STM; FNumber=2.8; Exposure=1/250; FocalLength=50; Width=6000; Height=4000"},
      {"file cut inside the frame: the EXIF sizes", jpeg.substr(0, frame + 8), Camera("Width=6000; Height=4000")},
      {"frame too short for its sizes", shortFrame, Camera("Width=6000; Height=4000")},
      {"JPEG cut inside the EXIF segment", jpeg.substr(0, 60), ""},
      {"BMP with height -2147483648", BmpPicture(64, INT32_MIN), ""},
      {"BMP with zero width", BmpPicture(0, 10), ""},
      {"GIF of 6 bytes", "GIF89a", ""},
      {"GIF header cut", GifPicture(320, 240).substr(0, 9), ""},
      {"PNG whose header chunk is cut", PngPicture("", 800, 600).substr(0, 20), ""},
      {"WebP frame without its start code", WebPPicture(WebPKind::kLossy, "", 550, 368).replace(23, 1, "\x9E"), ""},
      {"VP8X chunk longer than the file", WebPPicture(WebPKind::kExtended, "", 10, 10).substr(0, 28), ""},
  };
  for (const Row& row : rows) EXPECT_EQ(row.expected, Read(row.bytes)) << row.what;
}

struct NumberRow {
  std::vector<samples::Tag> exif;
  const char* expected;
};

TEST(PictureTags, NumbersAndTextsAsPhotographersWriteThem) {
  const std::vector<NumberRow> rows = {
      // Texts: ASCII by the format, UTF-8 as editors write it, Shift-JIS from older Japanese cameras.
      {{TextTag(0xA434, "Z 9 \xE2\x85\xA1")}, "Lens=Z 9 \xE2\x85\xA1"},
      {{TextTag(0xA434, "\x83\x8C\x83\x93\x83\x59")}, "Lens=\xE3\x83\xAC\xE3\x83\xB3\xE3\x82\xBA"},
      {{TextTag(0xA434, "Ob\xE9ktiv")}, "Lens=Ob\xC3\xA9ktiv"},
      {{RationalTag(false, 0x829A, 1, 250)}, "Exposure=1/250"},
      {{RationalTag(false, 0x829A, 10, 40000)}, "Exposure=1/4000"},
      {{RationalTag(false, 0x829A, 1, 3)}, "Exposure=0.3"},
      {{RationalTag(false, 0x829A, 1, 4)}, "Exposure=1/4"},
      {{RationalTag(false, 0x829A, 3, 10)}, "Exposure=0.3"},
      {{RationalTag(false, 0x829A, 1, 2)}, "Exposure=0.5"},
      {{RationalTag(false, 0x829A, 10, 10)}, "Exposure=1"},
      {{RationalTag(false, 0x829A, 5, 2)}, "Exposure=2.5"},
      {{RationalTag(false, 0x829A, 30, 1)}, "Exposure=30"},
      {{RationalTag(false, 0x829D, 4, 1)}, "FNumber=4.0"},
      {{RationalTag(false, 0x829D, 11, 1)}, "FNumber=11.0"},
      {{RationalTag(false, 0x829D, 18, 10)}, "FNumber=1.8"},
      {{RationalTag(false, 0x920A, 42, 10)}, "FocalLength=4.2"},
      {{RationalTag(false, 0x920A, 235, 10)}, "FocalLength=23.5"},
      {{RationalTag(false, 0x920A, 0xFFFFFFFF, 1)}, "FocalLength=4294967295"},
      {{ShortTag(false, 0x8827, 65535), LongTag(false, 0x8832, 102400)}, "ISO=102400"},
      {{LongTag(false, 0x8833, 3200)}, "ISO=3200"},
      {{ShortTag(false, 0x8827, 65535)}, "ISO=65535"},
      {{{0x8827, 3, 2, samples::Le16(200) + samples::Le16(400)}}, "ISO=200"},
      {{{0x8827, 3, 3, samples::Le16(800) + samples::Le16(1600) + samples::Le16(3200)}}, "ISO=800"},
      {{{0x829D, 10, 1, samples::Le32(28) + samples::Le32(10)}}, ""},  // a signed rational is not the aperture's type
  };
  for (const NumberRow& row : rows) {
    TiffLayout layout;
    layout.exif = row.exif;
    const std::string tiff = Tiff(layout);
    MemoryByteSource source(tiff);
    TagValues values;
    ReadTiffTags(source, 0, tiff.size(), values);
    EXPECT_EQ(row.expected, Describe(values)) << row.expected;
  }
}

TEST(PictureTags, SizeAloneLeavesTheExifDirectoryUnread) {
  const std::string tiff = CameraTiff(false);
  const std::vector<std::string> files = {JpegPicture(tiff, 16, 9), PngPicture(tiff, 16, 9),
                                          WebPPicture(WebPKind::kExtended, tiff, 16, 9), PsdPicture(tiff, 16, 9),
                                          HeifPicture(tiff, 16, 9)};
  for (const std::string& file : files) {
    const uint64_t directories = file.find(tiff) + 8;
    auto readsDirectories = [&](TagSet wanted, std::string& found) {
      WatchedSource source(file);
      TagValues values(wanted);
      ReadPictureTags(source, values);
      found = Describe(values);
      for (uint64_t at : source.offsets) {
        if (at >= directories && at < directories + tiff.size() - 8) return true;
      }
      return false;
    };
    std::string found;
    TagSet size = TagSet::Of(Tag::Width);
    size.Add(Tag::Height);
    EXPECT_FALSE(readsDirectories(size, found)) << file.substr(0, 4);
    EXPECT_EQ("Width=16; Height=9", found);
    EXPECT_TRUE(readsDirectories(TagSet::Of(Tag::Model), found)) << file.substr(0, 4);
    EXPECT_EQ("Model=EOS R5", found);
  }
}

bool AllDigits(const std::wstring& text, size_t from = 0) {
  if (text.size() <= from) return false;
  for (size_t i = from; i < text.size(); ++i) {
    if (!std::iswdigit(text[i])) return false;
  }
  return true;
}

// A value of the form the tag is written in.
bool Sane(Tag tag, const std::wstring& value) {
  const size_t dot = value.find(L'.');
  switch (tag) {
    case Tag::Iso: return AllDigits(value) && value != L"0";
    case Tag::Width:
    case Tag::Height: return AllDigits(value) && value != L"0" && value.size() <= 10;
    case Tag::FNumber: return dot != std::wstring::npos && dot + 2 == value.size() && AllDigits(value.substr(0, dot)) && AllDigits(value, dot + 1);
    case Tag::Exposure:
    case Tag::FocalLength:
      if (value.rfind(L"1/", 0) == 0) return tag == Tag::Exposure && AllDigits(value, 2);
      return dot == std::wstring::npos ? AllDigits(value) : dot + 2 == value.size() && AllDigits(value.substr(0, dot)) && AllDigits(value, dot + 1);
    default: return !value.empty() && value.size() <= 256;
  }
}

TEST(PictureTags, SurvivesDamagedFiles) {
  const std::vector<std::string> files = samples::PictureSamples();
  std::mt19937 random(20240315);
  TagSet sizeOnly = TagSet::Of(Tag::Width);
  sizeOnly.Add(Tag::Height);
  std::set<Tag> seen;
  for (int round = 0; round < 2000; ++round) {
    const std::string bytes = MutatedBytes(random, files[round % files.size()]);
    ASSERT_TRUE(ReadFenced(bytes, [&](std::string_view fenced) {
      MemoryByteSource source(fenced);
      // Some rounds ask for the size alone, which takes other paths through the readers.
      TagValues values(round % 3 == 0 ? sizeOnly : TagSet::All());
      ReadPictureTags(source, values);
      for (Tag tag : kPictureTags) {
        if (const std::wstring* value = values.Find(tag)) {
          seen.insert(tag);
          EXPECT_TRUE(Sane(tag, *value)) << Describe(values);
        }
      }
    }));
  }
  EXPECT_EQ(std::size(kPictureTags), seen.size());  // the damage left many files readable
}

}  // namespace
}  // namespace korval
