// Photographs and pictures built byte by byte for the picture-tag tests.
#include "testing/picture_samples.h"

namespace korval::samples {
namespace {

std::string Le24(uint32_t v) { return Le32(v).substr(0, 3); }

}  // namespace

Tag ShortTag(bool big, uint16_t tag, uint16_t value) { return {tag, 3, 1, big ? Be16(value) : Le16(value)}; }
Tag LongTag(bool big, uint16_t tag, uint32_t value) { return {tag, 4, 1, big ? Be32(value) : Le32(value)}; }
Tag RationalTag(bool big, uint16_t tag, uint32_t numerator, uint32_t denominator) {
  return {tag, 5, 1, big ? Be32(numerator) + Be32(denominator) : Le32(numerator) + Le32(denominator)};
}
Tag TextTag(uint16_t tag, const std::string& text) {
  return {tag, 2, static_cast<uint32_t>(text.size() + 1), text + std::string(1, '\0')};
}

TiffLayout CameraLayout(bool big) {
  TiffLayout layout;
  layout.big = big;
  layout.first = {TextTag(0x010F, "Canon"), TextTag(0x0110, "EOS R5   ")};
  layout.exif = {RationalTag(big, 0x829A, 1, 250), RationalTag(big, 0x829D, 28, 10),  ShortTag(big, 0x8827, 400),
                 RationalTag(big, 0x920A, 50, 1),  LongTag(big, 0xA002, 6000),        ShortTag(big, 0xA003, 4000),
                 TextTag(0xA434, "RF50mm F1.8 STM")};
  return layout;
}

std::string CameraTiff(bool big) { return Tiff(CameraLayout(big)); }

std::string JpegPicture(const std::string& tiff, uint16_t width, uint16_t height) {
  std::string out = std::string("\xFF\xD8", 2) + Segment(0xE0, std::string("JFIF\0\x01\x02\0\0\x01\0\x01\0\0", 14));
  if (!tiff.empty()) out += Segment(0xE1, std::string("Exif\0\0", 6) + tiff);
  // A Huffman table, whose marker lies among the frame markers, with bytes that would read as a size.
  out += Segment(0xDB, std::string(65, '\x10')) + Segment(0xC4, std::string("\x00\x08\x01\x02\x03\x04", 6));
  out += Segment(0xC0, std::string(1, '\x08') + Be16(height) + Be16(width) + std::string("\x03\x01\x22\x00", 4));
  return out + Segment(0xDA, std::string(10, '\0')) + std::string(300, '\x5A') + std::string("\xFF\xD9", 2);
}

std::string TiffPicture(bool big, uint32_t width, uint32_t height) {
  TiffLayout layout = CameraLayout(big);
  layout.first.insert(layout.first.begin(), {LongTag(big, 0x0100, width), ShortTag(big, 0x0101, static_cast<uint16_t>(height))});
  return Tiff(layout) + std::string(200, '\x42');
}

std::string PngPicture(const std::string& tiff, uint32_t width, uint32_t height) {
  return std::string("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", Be32(width) + Be32(height) + std::string("\x08\x02\0\0\0", 5)) +
         (tiff.empty() ? "" : PngChunk("eXIf", tiff)) + PngChunk("IDAT", std::string(100, '\x02')) + PngChunk("IEND", "");
}

std::string GifPicture(uint16_t width, uint16_t height) {
  return "GIF89a" + Le16(width) + Le16(height) + std::string("\x00\x00\x00", 3) + "\x2C" + std::string(8, '\0') +
         std::string("\x00\x02\x02\x44\x01\x00\x3B", 7);
}

std::string BmpPicture(int32_t width, int32_t height) {
  const std::string info = Le32(40) + Le32(static_cast<uint32_t>(width)) + Le32(static_cast<uint32_t>(height)) + Le16(1) +
                           Le16(24) + Le32(0) + Le32(64) + Le32(2835) + Le32(2835) + Le32(0) + Le32(0);
  const std::string pixels(64, '\x7F');
  return "BM" + Le32(static_cast<uint32_t>(14 + info.size() + pixels.size())) + Le32(0) +
         Le32(static_cast<uint32_t>(14 + info.size())) + info + pixels;
}

std::string BmpCorePicture(uint16_t width, uint16_t height) {
  const std::string info = Le32(12) + Le16(width) + Le16(height) + Le16(1) + Le16(24);
  return "BM" + Le32(static_cast<uint32_t>(14 + info.size() + 48)) + Le32(0) + Le32(26) + info + std::string(48, '\x11');
}

std::string WebPPicture(WebPKind kind, const std::string& tiff, uint32_t width, uint32_t height) {
  const std::string lossy = std::string("\x50\x02\x00\x9D\x01\x2A", 6) + Le16(static_cast<uint16_t>(width)) +
                            Le16(static_cast<uint16_t>(height)) + std::string(21, '\x44');
  std::string chunks;
  if (kind == WebPKind::kExtended) {
    chunks = RiffChunk("VP8X", std::string("\x08\0\0\0", 4) + Le24(width - 1) + Le24(height - 1)) +
             RiffChunk("VP8 ", lossy) + RiffChunk("EXIF", tiff);
  } else if (kind == WebPKind::kLossy) {
    chunks = RiffChunk("VP8 ", lossy);
  } else {
    chunks = RiffChunk("VP8L", "\x2F" + Le32((width - 1) | (height - 1) << 14) + std::string(20, '\x33'));
  }
  return "RIFF" + Le32(static_cast<uint32_t>(4 + chunks.size())) + "WEBP" + chunks;
}

std::string PsdPicture(const std::string& tiff, uint32_t width, uint32_t height) {
  return Psd(tiff).replace(14, 8, Be32(height) + Be32(width));
}

std::string HeifPicture(const std::string& tiff, uint32_t width, uint32_t height, bool wideIndexes, bool primary) {
  auto ispe = [](uint32_t w, uint32_t h) { return FullBox("ispe", 0, Be32(w) + Be32(h)); };
  // Property 1 belongs to item 3 (a larger image that is not the primary one), property 2 (and the
  // decoder's configuration, property 3) to item 1, the primary.
  const std::string properties = Box("ipco", ispe(8000, 6000) + ispe(width, height) + Box("hvcC", std::string(23, '\x01')));
  auto index = [&](uint16_t number, bool essential) {
    return wideIndexes ? Be16(static_cast<uint16_t>(number | (essential ? 0x8000 : 0)))
                       : std::string(1, static_cast<char>(number | (essential ? 0x80 : 0)));
  };
  const std::string associations = Be32(2) + Be16(3) + std::string(1, '\x01') + index(1, false) + Be16(1) +
                                    std::string(1, '\x02') + index(3, true) + index(2, false);
  const std::string ipma = Box("ipma", std::string("\0\0\0", 3) + std::string(1, wideIndexes ? '\x01' : '\0') + associations);
  HeifLayout layout;
  layout.extraMeta = (primary ? FullBox("pitm", 0, Be16(1)) : "") + Box("iprp", properties + ipma);
  return Heif(tiff, layout);
}

std::vector<std::string> PictureSamples() {
  const std::string little = CameraTiff(false), big = CameraTiff(true);
  TiffLayout cr3Main;
  cr3Main.first = {TextTag(0x010F, "Canon"), TextTag(0x0110, "EOS R6"), LongTag(false, 0x0100, 6720),
                   LongTag(false, 0x0101, 4480)};
  TiffLayout cr3Exif;
  cr3Exif.first = {RationalTag(false, 0x829D, 40, 10), ShortTag(false, 0x8827, 100)};
  return {JpegPicture(little, 1600, 1200),
          JpegPicture(big, 1600, 1200),
          TiffPicture(false, 3000, 2000),
          TiffPicture(true, 3000, 2000),
          Raf(JpegPicture(big, 160, 120)),
          Mrw(big),
          X3f(JpegPicture(little, 640, 480), {{"CAMMANUF", "SIGMA"}, {"TIME", "1700000000"}}),
          HeifPicture(big, 4032, 3024),
          Cr3(Tiff(cr3Main), Tiff(cr3Exif), 3793342830u),
          WebPPicture(WebPKind::kExtended, little, 1920, 1080),
          WebPPicture(WebPKind::kLossy, "", 550, 368),
          WebPPicture(WebPKind::kLossless, "", 400, 301),
          PngPicture(big, 800, 600),
          PsdPicture(little, 2480, 3508),
          GifPicture(320, 240),
          BmpPicture(64, -48),
          BmpCorePicture(30, 20)};
}

}  // namespace korval::samples
