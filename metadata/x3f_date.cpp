// X3F raw files: the last four bytes point at a directory of sections. A preview image section
// that holds a JPEG gives the camera's own date from its EXIF block; otherwise the property list's
// TIME, seconds since 1970 in UTC, gives the capture time. Everything is little-endian.
#include <cstring>

#include "metadata/capture_readers.h"

namespace korval {
namespace {

constexpr size_t kDirectoryHeader = 12;   // "SECd", version, number of entries
constexpr size_t kDirectoryEntry = 12;    // offset, length, kind of section
constexpr size_t kMaxSections = 4096;     // real files have a handful
constexpr size_t kMaxPreviews = 8;        // JPEG previews walked; a file that lists more is lying
constexpr size_t kImageHeader = 28;       // "SECi", version, type, format, columns, rows, row size
constexpr uint32_t kJpegFormat = 18;
constexpr size_t kPropertyHeader = 24;    // "SECp", version, count, character format, reserved, length
constexpr uint32_t kUtf16Characters = 0;
constexpr size_t kMaxProperties = 65536;
constexpr size_t kMaxNameChars = 32;      // a property's name ("TIME") and value (decimal seconds)
constexpr long long kSeconds1904To1970 = 2082844800;  // 66 years with 17 leap days

struct Section {
  uint64_t offset = 0;
  uint64_t length = 0;
};

bool HasTag(ByteSource& source, uint64_t at, const char* tag) {
  unsigned char bytes[4];
  return source.Read(at, 4, bytes) && std::memcmp(bytes, tag, 4) == 0;
}

// Whether an image section holds a JPEG preview, and where the JPEG starts.
bool JpegPreview(ByteSource& source, const Section& image, uint64_t& jpegStart) {
  uint32_t format = 0;
  if (image.length < kImageHeader + 2 || !HasTag(source, image.offset, "SECi") ||
      !source.ReadLe32(image.offset + 12, format) || format != kJpegFormat) {
    return false;
  }
  jpegStart = image.offset + kImageHeader;
  return true;
}

bool IsImageSection(const unsigned char* kind) {
  return std::memcmp(kind, "IMAG", 4) == 0 || std::memcmp(kind, "IMA2", 4) == 0;
}

// Calls visit(kind, section) for each section of the directory that lies inside the file, until
// visit returns true; false when the directory cannot be read to its end (and visit did not stop).
template <typename Visit>
bool ForEachSection(ByteSource& source, Visit visit) {
  uint32_t directory = 0, count = 0;
  if (!HasTag(source, 0, "FOVb") || source.Size() < 4 || !source.ReadLe32(source.Size() - 4, directory) ||
      !source.Holds(directory, kDirectoryHeader) || !HasTag(source, directory, "SECd") ||
      !source.ReadLe32(directory + 8, count)) {
    return false;
  }
  const uint64_t entries = uint64_t{directory} + kDirectoryHeader;
  if (count > kMaxSections || !source.Holds(entries, uint64_t{count} * kDirectoryEntry)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t at = entries + uint64_t{i} * kDirectoryEntry;
    uint32_t offset = 0, length = 0;
    unsigned char kind[4];
    if (!source.ReadLe32(at, offset) || !source.ReadLe32(at + 4, length) || !source.Read(at + 8, 4, kind)) return false;
    const Section section{offset, length};
    if (!source.Holds(section.offset, section.length)) continue;
    if (visit(kind, section)) return true;
  }
  return true;
}

// The UTF-16 text at `at` up to its terminator, which must come before `end` and within
// kMaxNameChars; only ASCII characters count as such, others make the text unreadable.
bool ReadAsciiText(ByteSource& source, uint64_t at, uint64_t end, std::string& text) {
  text.clear();
  for (size_t n = 0; n <= kMaxNameChars && at < end && end - at >= 2; ++n, at += 2) {
    unsigned char c[2];
    if (!source.Read(at, 2, c)) return false;
    if (c[0] == 0 && c[1] == 0) return true;
    if (c[1] != 0 || c[0] >= 0x80) return false;
    text += static_cast<char>(c[0]);
  }
  return false;
}

bool ParseSeconds(const std::string& text, long long& seconds) {
  if (text.empty() || text.size() > 12) return false;
  seconds = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    seconds = seconds * 10 + (c - '0');
  }
  return seconds > 0;
}

// The property list's TIME as seconds since 1904 (UTC), as movie times are kept.
bool PropertyTime(ByteSource& source, const Section& list, long long& seconds) {
  uint32_t count = 0, format = 0, characters = 0;
  if (list.length < kPropertyHeader || !HasTag(source, list.offset, "SECp") ||
      !source.ReadLe32(list.offset + 8, count) || !source.ReadLe32(list.offset + 12, format) ||
      !source.ReadLe32(list.offset + 20, characters) || format != kUtf16Characters || count > kMaxProperties) {
    return false;
  }
  const uint64_t table = list.offset + kPropertyHeader;
  const uint64_t text = table + uint64_t{count} * 8;
  const uint64_t textEnd = text + uint64_t{characters} * 2;
  if (textEnd - list.offset > list.length) return false;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t nameAt = 0, valueAt = 0;
    if (!source.ReadLe32(table + i * 8ULL, nameAt) || !source.ReadLe32(table + i * 8ULL + 4, valueAt)) return false;
    if (nameAt >= characters || valueAt >= characters) continue;
    std::string name, value;
    if (!ReadAsciiText(source, text + nameAt * 2ULL, textEnd, name) || name != "TIME") continue;
    if (!ReadAsciiText(source, text + valueAt * 2ULL, textEnd, value) || !ParseSeconds(value, seconds)) return false;
    seconds += kSeconds1904To1970;
    return true;
  }
  return false;
}

}  // namespace

bool FindX3fDate(ByteSource& source, CaptureTime& found) {
  Section properties;
  bool haveProperties = false, fromPreview = false;
  size_t previews = 0;
  const bool whole = ForEachSection(source, [&](const unsigned char* kind, const Section& section) {
    uint64_t jpeg = 0;
    if (IsImageSection(kind)) {
      fromPreview = previews++ < kMaxPreviews && JpegPreview(source, section, jpeg) &&
                    FindJpegDate(source, jpeg, found.written) == JpegWalk::kFound;
      return fromPreview;
    }
    if (std::memcmp(kind, "PROP", 4) == 0 && !haveProperties) {
      properties = section;
      haveProperties = true;
    }
    return false;
  });
  if (fromPreview) {
    found.kind = CaptureTime::Kind::kWritten;
    return true;
  }
  if (!whole || !haveProperties || !PropertyTime(source, properties, found.movieSeconds)) return false;
  found.kind = CaptureTime::Kind::kMovieSeconds;
  return true;
}

bool FindX3fJpegPreview(ByteSource& source, uint64_t& jpegStart) {
  size_t previews = 0;
  bool found = false;
  ForEachSection(source, [&](const unsigned char* kind, const Section& section) {
    if (!IsImageSection(kind) || previews++ >= kMaxPreviews) return false;
    found = JpegPreview(source, section, jpegStart);
    return found;
  });
  return found;
}

}  // namespace korval
