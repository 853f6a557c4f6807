// The readers of the containers that photographs and movies come in, one file each. Every reader
// walks its structure by the structure's own sizes, checks each size, count and offset against the
// bytes that really exist, and reads only what the structure points at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "metadata/byte_source.h"

namespace korval {

// What a file says about when it was taken.
struct CaptureTime {
  enum class Kind { kNone, kWritten, kMovieSeconds };
  Kind kind = Kind::kNone;
  SYSTEMTIME written{};      // kWritten: the photograph's own date and time, as the camera wrote it
  long long movieSeconds = 0;  // kMovieSeconds: seconds since 1904-01-01 00:00 UTC (movies, X3F's own time)
};

// A TIFF stream (header and directories) of `length` bytes from `start`; its offsets count from
// `start`. DateTimeOriginal, else DateTimeDigitized, from the first directory and its EXIF
// directory (and the directories chained behind them).
bool FindTiffDate(ByteSource& source, uint64_t start, uint64_t length, SYSTEMTIME& record);

// Whether the four bytes begin a TIFF stream (the standard header or a raw format's variant of it).
bool IsTiffHeader(const unsigned char* bytes);

// Where a TIFF stream lies inside another container.
struct TiffBlock {
  uint64_t start = 0;
  uint64_t length = 0;
};

// How a JPEG walk ended, when no date was found.
enum class JpegWalk { kFound, kNoDate, kExifWithoutDate, kBroken };

// A JPEG image starting at `start` (0xFF 0xD8): the segments up to the image data, the EXIF block
// of an APP1 segment.
JpegWalk FindJpegDate(ByteSource& source, uint64_t start, SYSTEMTIME& record);

// One segment of a JPEG image: its marker and its data behind the length field.
struct JpegSegment {
  unsigned char marker = 0;
  uint64_t data = 0;
  uint64_t length = 0;
};
// How a walk over a JPEG's segments ended: stopped by the visitor, at the image data (or the end
// of the image), or at a segment that could not be followed.
enum class JpegSegments { kStopped, kImageData, kBroken };
// Calls visit(segment) for each segment of the JPEG at `start` up to the image data, each lying
// wholly inside the file, until visit returns true.
JpegSegments WalkJpegSegments(ByteSource& source, uint64_t start, const std::function<bool(const JpegSegment&)>& visit);
// The TIFF stream of an APP1 segment that holds an EXIF block; false for any other segment.
bool JpegExifBlock(ByteSource& source, const JpegSegment& segment, TiffBlock& tiff);

// ISO media files (movies, HEIF/AVIF photographs, CR3): the EXIF item of a 'meta' box, CR3's
// metadata boxes, a local time with its offset that a phone wrote beside the movie header, else the
// creation time of the movie header.
bool FindIsoMediaDate(ByteSource& source, CaptureTime& found);
// Whether the first twelve bytes look like the start of an ISO media file.
bool IsIsoMediaStart(const unsigned char* bytes);

// A local time with its offset from UTC, as phones write it beside a movie's header
// ("2024-03-15T19:20:30+09:00", "+0900" or "+09", fractions of a second allowed), as the clock time
// it names; false (record unchanged) for a text without an offset, with "Z", or not a real date.
bool ParseLocalTimeWithOffset(std::string_view text, SYSTEMTIME& record);

// The TIFF streams of an ISO media photograph, best first: the EXIF item of a HEIF or AVIF 'meta'
// box, or CR3's EXIF directory and its main directory. False when there is none.
bool FindIsoMediaTiff(ByteSource& source, std::vector<TiffBlock>& blocks);

// RAF: the JPEG preview the file embeds.
bool FindRafDate(ByteSource& source, SYSTEMTIME& record);
// MRW: the TIFF block among the header blocks.
bool FindMrwDate(ByteSource& source, SYSTEMTIME& record);
// RIFF (WebP): the EXIF chunk.
bool FindRiffDate(ByteSource& source, SYSTEMTIME& record);
// PNG: the eXIf chunk.
bool FindPngDate(ByteSource& source, SYSTEMTIME& record);
// PSD documents: the EXIF image resource.
bool FindPsdDate(ByteSource& source, SYSTEMTIME& record);
// X3F: the EXIF block of the JPEG preview, else the UTC time of the property list.
bool FindX3fDate(ByteSource& source, CaptureTime& found);

// Where those containers keep what the dates are read from, for the other readers of a photograph.
// RAF: the start of the JPEG preview.
bool FindRafPreview(ByteSource& source, uint64_t& jpegStart);
bool FindMrwTiff(ByteSource& source, TiffBlock& tiff);
bool FindRiffExif(ByteSource& source, TiffBlock& tiff);
bool FindPngExif(ByteSource& source, TiffBlock& tiff);
bool FindPsdExif(ByteSource& source, TiffBlock& tiff);
// X3F: the start of the first preview section that holds a JPEG.
bool FindX3fJpegPreview(ByteSource& source, uint64_t& jpegStart);

// An EXIF block inside another container may begin with "Exif" 0 0 before its TIFF header: the
// number of such bytes at `start` (6 or 0).
uint64_t ExifPrefixLength(ByteSource& source, uint64_t start, uint64_t length);

}  // namespace korval
