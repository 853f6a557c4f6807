// What the readers of photographs and pictures share: a picture's size, the TIFF walk that finds it
// beside the camera tags, and the image headers that give it first.
#pragma once

#include <cstdint>

#include "metadata/byte_source.h"
#include "metadata/capture_readers.h"
#include "metadata/tag_values.h"

namespace korval {

// The tags of a photograph's camera, and those of a picture's size.
inline constexpr TagSet kCameraTags = [] {
  TagSet s;
  for (Tag t : {Tag::Make, Tag::Model, Tag::Lens, Tag::Iso, Tag::FNumber, Tag::Exposure, Tag::FocalLength}) s.Add(t);
  return s;
}();
inline constexpr TagSet kSizeTags = [] {
  TagSet s;
  s.Add(Tag::Width);
  s.Add(Tag::Height);
  return s;
}();

struct PixelSize {
  uint32_t width = 0;
  uint32_t height = 0;
  bool Known() const { return width != 0 && height != 0; }
};

// What a TIFF stream says about the picture's size: the pixel dimensions of the EXIF directory, and
// the image size of the first directory with whether that image is a reduced copy (a raw file's
// preview) rather than the picture itself.
struct TiffSizes {
  PixelSize exif;
  PixelSize first;
  bool firstReduced = false;
};

// The camera tags of a TIFF stream (as ReadTiffTags) and its sizes, in one walk of the first
// directory and its EXIF directory; with `firstOnly`, of the first directory alone.
void ReadTiffStream(ByteSource& source, uint64_t start, uint64_t length, bool firstOnly, TagValues& values,
                    TiffSizes& sizes);

// The sizes image headers give (image_size.cpp); false when the header is not there or is damaged.
// A frame segment of a JPEG (SOF0 to SOF15, not the table and arithmetic-coding markers among them).
bool IsJpegFrame(unsigned char marker);
bool JpegFrameSize(ByteSource& source, const JpegSegment& frame, PixelSize& size);
bool PngSize(ByteSource& source, PixelSize& size);
bool GifSize(ByteSource& source, PixelSize& size);
bool BmpSize(ByteSource& source, PixelSize& size);
bool WebPSize(ByteSource& source, PixelSize& size);
bool PsdSize(ByteSource& source, PixelSize& size);
// HEIF and AVIF: the 'ispe' property of the primary item.
bool HeifSize(ByteSource& source, PixelSize& size);

}  // namespace korval
