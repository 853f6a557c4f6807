// Photographs and pictures built byte by byte for the picture-tag tests: TIFF streams with camera
// tags, and each picture format's header around them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "testing/capture_samples.h"

namespace korval::samples {

// Directory entries in the stream's byte order; a text gets its terminating zero.
Tag ShortTag(bool big, uint16_t tag, uint16_t value);
Tag LongTag(bool big, uint16_t tag, uint32_t value);
Tag RationalTag(bool big, uint16_t tag, uint32_t numerator, uint32_t denominator);
Tag TextTag(uint16_t tag, const std::string& text);

// The usual photograph: make and model (padded with spaces) in the first directory; 1/250 s, f/2.8,
// ISO 400, 50 mm, the lens and 6000 x 4000 pixels in the EXIF directory.
TiffLayout CameraLayout(bool big);
std::string CameraTiff(bool big);
inline constexpr char kCameraTagsText[] =
    "Make=Canon; Model=EOS R5; Lens=RF50mm F1.8 STM; ISO=400; FNumber=2.8; Exposure=1/250; FocalLength=50";

// A JPEG image: JFIF, the EXIF segment (when `tiff` is not empty), tables, the frame, the image data.
std::string JpegPicture(const std::string& tiff, uint16_t width, uint16_t height);
// A TIFF file: the camera tags with the image's size in the first directory.
std::string TiffPicture(bool big, uint32_t width, uint32_t height);
std::string PngPicture(const std::string& tiff, uint32_t width, uint32_t height);
std::string GifPicture(uint16_t width, uint16_t height);
// A BMP image with the usual information header (rows from the bottom, or from the top when the
// height is negative), or with the old core header of 16-bit sizes.
std::string BmpPicture(int32_t width, int32_t height);
std::string BmpCorePicture(uint16_t width, uint16_t height);
enum class WebPKind { kExtended, kLossy, kLossless };
// A WebP image; only the extended kind carries the EXIF chunk.
std::string WebPPicture(WebPKind kind, const std::string& tiff, uint32_t width, uint32_t height);
std::string PsdPicture(const std::string& tiff, uint32_t width, uint32_t height);
// A HEIF photograph whose primary item's size property comes after a larger one of another item;
// `wideIndexes` numbers the properties with 16 bits. Without `primary` the file names no primary item.
std::string HeifPicture(const std::string& tiff, uint32_t width, uint32_t height, bool wideIndexes = false,
                        bool primary = true);

// One good file of each layout read here.
std::vector<std::string> PictureSamples();

}  // namespace korval::samples
