// The camera tags of a TIFF stream (make, model, lens, ISO speed, aperture, exposure time, focal
// length) and the sizes it records, from the first directory and the EXIF directory it points to.
#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "metadata/picture_readers.h"
#include "metadata/tag_readers.h"
#include "metadata/tag_text.h"
#include "metadata/tiff_stream.h"

namespace korval {
namespace {

constexpr uint16_t kTagNewSubfileType = 0x00FE;
constexpr uint16_t kTagImageWidth = 0x0100;
constexpr uint16_t kTagImageLength = 0x0101;
constexpr uint16_t kTagMake = 0x010F;
constexpr uint16_t kTagModel = 0x0110;
constexpr uint16_t kTagExposureTime = 0x829A;
constexpr uint16_t kTagFNumber = 0x829D;
constexpr uint16_t kTagIsoSpeedRatings = 0x8827;
constexpr uint16_t kTagRecommendedExposureIndex = 0x8832;
constexpr uint16_t kTagIsoSpeed = 0x8833;
constexpr uint16_t kTagFocalLength = 0x920A;
constexpr uint16_t kTagPixelXDimension = 0xA002;
constexpr uint16_t kTagPixelYDimension = 0xA003;
constexpr uint16_t kTagLensModel = 0xA434;
constexpr size_t kMaxTextBytes = 256;       // names of makers, models and lenses are far shorter
constexpr uint32_t kIsoBeyondShort = 65535;  // written when the speed needs the long tags
constexpr uint32_t kReducedImage = 1;        // the first directory's image is a preview

struct Rational {
  uint32_t numerator = 0;
  uint32_t denominator = 0;
};

// The first valid value of each tag met in the walk.
struct Found {
  std::optional<std::string> make, model, lens;
  std::optional<uint32_t> isoSpeedRatings, recommendedIndex, isoSpeed;
  std::optional<Rational> exposure, fNumber, focalLength;
  std::optional<uint32_t> pixelX, pixelY, width, height, subfileType;
};

// An ASCII value up to its first NUL, without the spaces that pad it; none when nothing is left.
std::optional<std::string> Text(TiffStream& stream, const TiffEntry& e) {
  if (e.type != kTiffTypeAscii) return std::nullopt;
  std::string bytes(std::min<size_t>(e.count, kMaxTextBytes), '\0');
  if (!stream.ValueBytes(e, 1, bytes.size(), reinterpret_cast<unsigned char*>(bytes.data()))) return std::nullopt;
  bytes.resize(std::min(bytes.size(), bytes.find('\0')));
  bytes.resize(bytes.find_last_not_of(' ') + 1);  // npos + 1 is 0: all spaces
  if (bytes.empty()) return std::nullopt;
  return bytes;
}

// The first value of a SHORT or LONG entry.
std::optional<uint32_t> Number(TiffStream& stream, const TiffEntry& e) {
  unsigned char bytes[4];
  if (e.type == kTiffTypeShort && stream.ValueBytes(e, 2, 2, bytes)) return stream.Value16(bytes);
  if (e.type == kTiffTypeLong && stream.ValueBytes(e, 4, 4, bytes)) return stream.Value32(bytes);
  return std::nullopt;
}

std::optional<Rational> RationalValue(TiffStream& stream, const TiffEntry& e) {
  unsigned char bytes[8];
  if (e.type != kTiffTypeRational || !stream.ValueBytes(e, 8, 8, bytes)) return std::nullopt;
  return Rational{stream.Value32(bytes), stream.Value32(bytes + 4)};
}

template <typename T>
void Keep(std::optional<T>& slot, std::optional<T> value) {
  if (!slot) slot = std::move(value);
}

void Collect(TiffStream& stream, const TiffEntry& e, size_t directory, Found& found) {
  switch (e.tag) {
    case kTagMake: Keep(found.make, Text(stream, e)); break;
    case kTagModel: Keep(found.model, Text(stream, e)); break;
    case kTagLensModel: Keep(found.lens, Text(stream, e)); break;
    case kTagIsoSpeedRatings: Keep(found.isoSpeedRatings, Number(stream, e)); break;
    case kTagRecommendedExposureIndex: Keep(found.recommendedIndex, Number(stream, e)); break;
    case kTagIsoSpeed: Keep(found.isoSpeed, Number(stream, e)); break;
    case kTagExposureTime: Keep(found.exposure, RationalValue(stream, e)); break;
    case kTagFNumber: Keep(found.fNumber, RationalValue(stream, e)); break;
    case kTagFocalLength: Keep(found.focalLength, RationalValue(stream, e)); break;
    case kTagPixelXDimension: Keep(found.pixelX, Number(stream, e)); break;
    case kTagPixelYDimension: Keep(found.pixelY, Number(stream, e)); break;
    default:
      // The image size and kind count only in the first directory: later ones hold thumbnails.
      if (directory != 0) break;
      if (e.tag == kTagImageWidth) Keep(found.width, Number(stream, e));
      if (e.tag == kTagImageLength) Keep(found.height, Number(stream, e));
      if (e.tag == kTagNewSubfileType) Keep(found.subfileType, Number(stream, e));
  }
}

// A number rounded to tenths, as "2.8"; with `dropZeroTenth`, "50" rather than "50.0".
std::wstring Tenths(const Rational& r, bool dropZeroTenth) {
  // Both parts are below 2^32, so the sums stay far below 2^64.
  const uint64_t tenths = (uint64_t{r.numerator} * 20 + r.denominator) / (uint64_t{r.denominator} * 2);
  std::wstring text = std::to_wstring(tenths / 10);
  if (!dropZeroTenth || tenths % 10 != 0) text += L'.' + std::to_wstring(tenths % 10);
  return text;
}

// Short times as "1/250", from a quarter second on as seconds ("0.3", "2.5", "30"). A zero value
// (as a zero denominator) is no exposure time.
std::wstring ExposureText(const Rational& r) {
  if (r.numerator == 0 || r.denominator == 0) return {};
  if (uint64_t{r.numerator} * 100000 < uint64_t{r.denominator} * 25001) {
    const uint64_t inverse = (uint64_t{r.denominator} * 2 + r.numerator) / (uint64_t{r.numerator} * 2);
    return L"1/" + std::to_wstring(inverse);
  }
  return Tenths(r, true);
}

// Apertures and focal lengths of zero are what cameras write when the lens does not tell.
std::wstring PositiveTenths(const std::optional<Rational>& r, bool dropZeroTenth) {
  if (!r || r->numerator == 0 || r->denominator == 0) return {};
  return Tenths(*r, dropZeroTenth);
}

// The speed of the standard tag, unless it is missing or says the speed did not fit in it; then
// the recommended exposure index or the ISO speed.
std::optional<uint32_t> IsoValue(const Found& found) {
  const uint32_t standard = found.isoSpeedRatings.value_or(0);
  if (standard != 0 && standard != kIsoBeyondShort) return standard;
  for (const std::optional<uint32_t>& wide : {found.recommendedIndex, found.isoSpeed}) {
    if (wide && *wide != 0) return wide;
  }
  if (standard != 0) return standard;
  return std::nullopt;
}

// EXIF declares its texts ASCII; editors write UTF-8 beyond it, older Japanese cameras Shift-JIS.
void PutText(TagValues& values, Tag tag, const std::optional<std::string>& text) {
  if (text && values.Wants(tag)) values.Put(tag, TextFromUtf8OrLatin1(*text));
}

void PutCameraTags(const Found& found, TagValues& values) {
  PutText(values, Tag::Make, found.make);
  PutText(values, Tag::Model, found.model);
  PutText(values, Tag::Lens, found.lens);
  if (const std::optional<uint32_t> iso = IsoValue(found); iso && values.Wants(Tag::Iso)) values.PutNumber(Tag::Iso, *iso);
  if (values.Wants(Tag::FNumber)) values.Put(Tag::FNumber, PositiveTenths(found.fNumber, false));
  if (found.exposure && values.Wants(Tag::Exposure)) values.Put(Tag::Exposure, ExposureText(*found.exposure));
  if (values.Wants(Tag::FocalLength)) values.Put(Tag::FocalLength, PositiveTenths(found.focalLength, true));
}

PixelSize SizeOf(const std::optional<uint32_t>& width, const std::optional<uint32_t>& height) {
  return width && height ? PixelSize{*width, *height} : PixelSize{};
}

}  // namespace

void ReadTiffStream(ByteSource& source, uint64_t start, uint64_t length, bool firstOnly, TagValues& values,
                    TiffSizes& sizes) {
  sizes = TiffSizes{};
  TiffStream stream(source, start, length);
  stream.RefuseCutDirectories();
  Found found;
  // Tags of the chained directories belong to thumbnails and further pages: only the first
  // directory and its EXIF directory are read.
  if (!WalkTiffDirectories(stream, firstOnly ? TiffChain::kFirstOnly : TiffChain::kWithExif,
                           [&](const TiffEntry& e, size_t directory) { Collect(stream, e, directory, found); })) {
    return;
  }
  PutCameraTags(found, values);
  sizes.exif = SizeOf(found.pixelX, found.pixelY);
  sizes.first = SizeOf(found.width, found.height);
  sizes.firstReduced = found.subfileType && (*found.subfileType & kReducedImage) != 0;
}

void ReadTiffTags(ByteSource& source, uint64_t start, uint64_t length, TagValues& values) {
  if (!values.WantsAny(kCameraTags)) return;
  TiffSizes sizes;
  ReadTiffStream(source, start, length, false, values, sizes);
}

}  // namespace korval
