// Photographs and pictures: the first bytes choose the container, whose EXIF block gives the camera
// tags and whose image header gives Width and Height (the EXIF block's sizes only when it has none).
#include <algorithm>
#include <cstring>
#include <vector>

#include "metadata/picture_readers.h"
#include "metadata/tag_readers.h"

namespace korval {
namespace {

constexpr size_t kHeadBytes = 16;

bool StartsWith(const unsigned char* bytes, const char* text, size_t n) { return std::memcmp(bytes, text, n) == 0; }

void PutSize(TagValues& values, const PixelSize& size) {
  if (!size.Known() || !values.WantsAny(kSizeTags)) return;
  values.PutNumber(Tag::Width, size.width);
  values.PutNumber(Tag::Height, size.height);
}

// How the first directory of a TIFF stream relates to the picture.
enum class FirstDirectory {
  kIsTheImage,  // a TIFF file (or a raw one built on TIFF): its first directory describes the picture
  kFallback,    // an EXIF block inside another container: its sizes count after the EXIF directory's
};

// The camera tags of the TIFF streams (the better first) and, if still wanted, the size they record.
void ReadTiffBlocks(ByteSource& source, const std::vector<TiffBlock>& blocks, FirstDirectory first, TagValues& values) {
  if (first == FirstDirectory::kIsTheImage && !values.WantsAny(kCameraTags) && !blocks.empty()) {
    // Only the size, which the first directory gives without a look at the EXIF directory.
    TiffSizes sizes;
    ReadTiffStream(source, blocks.front().start, blocks.front().length, true, values, sizes);
    if (!sizes.firstReduced) PutSize(values, sizes.first);
  }
  PixelSize exif, image;
  for (const TiffBlock& block : blocks) {
    if (!values.WantsAny(kCameraTags.Union(kSizeTags))) break;
    TiffSizes sizes;
    ReadTiffStream(source, block.start, block.length, false, values, sizes);
    if (!exif.Known()) exif = sizes.exif;
    // A first directory that describes a reduced preview gives no size at all.
    if (!image.Known() && !sizes.firstReduced) image = sizes.first;
  }
  if (first == FirstDirectory::kIsTheImage) PutSize(values, image);
  PutSize(values, exif);
  PutSize(values, image);
}

// A container with one EXIF block, found by `find` only when a tag is still wanted from it.
template <typename Find>
void ReadExifOf(ByteSource& source, TagValues& values, Find find) {
  TiffBlock tiff;
  if (values.WantsAny(kCameraTags.Union(kSizeTags)) && find(source, tiff)) {
    ReadTiffBlocks(source, {tiff}, FirstDirectory::kFallback, values);
  }
}

// A JPEG image: its first frame segment gives the size when `frameIsThePicture` (not for a raw
// file's preview), its EXIF segment the camera tags.
void ReadJpeg(ByteSource& source, uint64_t start, bool frameIsThePicture, TagValues& values) {
  const bool wantsFrame = frameIsThePicture && values.WantsAny(kSizeTags);
  bool sawFrame = false, sawExif = false;
  PixelSize frame;
  TiffBlock exif;
  WalkJpegSegments(source, start, [&](const JpegSegment& segment) {
    if (!sawExif && JpegExifBlock(source, segment, exif)) {
      sawExif = true;
    } else if (wantsFrame && !sawFrame && IsJpegFrame(segment.marker)) {
      sawFrame = true;
      JpegFrameSize(source, segment, frame);
    }
    // Done when the frame has been met (if it counts) and the EXIF block is found or not needed.
    return (sawFrame || !wantsFrame) && (sawExif || (frame.Known() && !values.WantsAny(kCameraTags)));
  });
  PutSize(values, frame);
  if (sawExif) ReadTiffBlocks(source, {exif}, FirstDirectory::kFallback, values);
}

void ReadHeaderSize(ByteSource& source, TagValues& values, bool (*read)(ByteSource&, PixelSize&)) {
  PixelSize size;
  if (values.WantsAny(kSizeTags) && read(source, size)) PutSize(values, size);
}

}  // namespace

void ReadPictureTags(ByteSource& source, TagValues& values) {
  if (!values.WantsAny(kCameraTags.Union(kSizeTags))) return;
  unsigned char head[kHeadBytes] = {};
  if (source.Size() < 8 || !source.Read(0, std::min<uint64_t>(kHeadBytes, source.Size()), head)) return;

  if (head[0] == 0xFF && head[1] == 0xD8) return ReadJpeg(source, 0, true, values);
  if (IsTiffHeader(head)) {
    return ReadTiffBlocks(source, {TiffBlock{0, source.Size()}}, FirstDirectory::kIsTheImage, values);
  }
  const bool raf = StartsWith(head, "FUJIFILMCCD-RAW ", 16);
  if (raf || StartsWith(head, "FOVb", 4)) {
    // Raw files whose JPEG preview carries the EXIF block; the preview is smaller than the picture.
    uint64_t jpeg = 0;
    if (raf ? FindRafPreview(source, jpeg) : FindX3fJpegPreview(source, jpeg)) ReadJpeg(source, jpeg, false, values);
    return;
  }
  if (StartsWith(head, "\0MRM", 4)) return ReadExifOf(source, values, FindMrwTiff);
  if (StartsWith(head, "RIFF", 4)) {
    ReadHeaderSize(source, values, WebPSize);
    return ReadExifOf(source, values, FindRiffExif);
  }
  if (head[0] == 0x89 && StartsWith(head + 1, "PNG", 3)) {
    ReadHeaderSize(source, values, PngSize);
    return ReadExifOf(source, values, FindPngExif);
  }
  if (StartsWith(head, "8BPS", 4)) {
    ReadHeaderSize(source, values, PsdSize);
    return ReadExifOf(source, values, FindPsdExif);
  }
  if (StartsWith(head, "GIF8", 4)) return ReadHeaderSize(source, values, GifSize);
  if (StartsWith(head, "BM", 2)) return ReadHeaderSize(source, values, BmpSize);
  if (source.Size() >= 12 && IsIsoMediaStart(head)) {
    ReadHeaderSize(source, values, HeifSize);
    std::vector<TiffBlock> blocks;
    if (values.WantsAny(kCameraTags.Union(kSizeTags)) && FindIsoMediaTiff(source, blocks)) {
      ReadTiffBlocks(source, blocks, FirstDirectory::kFallback, values);
    }
  }
}

}  // namespace korval
