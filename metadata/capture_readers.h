// The readers of the containers that photographs and movies come in, one file each. Every reader
// walks its structure by the structure's own sizes, checks each size, count and offset against the
// bytes that really exist, and reads only what the structure points at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

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

// How a JPEG walk ended, when no date was found.
enum class JpegWalk { kFound, kNoDate, kExifWithoutDate, kBroken };

// A JPEG image starting at `start` (0xFF 0xD8): the segments up to the image data, the EXIF block
// of an APP1 segment.
JpegWalk FindJpegDate(ByteSource& source, uint64_t start, SYSTEMTIME& record);

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

// An EXIF block inside another container may begin with "Exif" 0 0 before its TIFF header: the
// number of such bytes at `start` (6 or 0).
uint64_t ExifPrefixLength(ByteSource& source, uint64_t start, uint64_t length);

}  // namespace korval
