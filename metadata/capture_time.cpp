// Chooses the reader of a photograph or movie by its first bytes and turns what it finds into the
// date that goes into names.
#include "metadata/capture_time.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "metadata/exif_date.h"

namespace korval {
namespace {

constexpr const wchar_t* kExtensions[] = {
    // JPEG, TIFF and the raw formats built on it
    L".jpg", L".jpeg", L".jpe", L".jfif", L".tif", L".tiff", L".dng", L".cr2", L".nef", L".nrw", L".arw", L".srf",
    L".sr2", L".orf", L".rw2", L".rwl", L".pef", L".raw",
    // other raw formats, HEIF and AVIF, WebP, PNG, PSD
    L".raf", L".mrw", L".x3f", L".cr3", L".heic", L".heif", L".hif", L".avif", L".webp", L".png", L".psd", L".psb",
    // movies
    L".mov", L".qt", L".mp4", L".m4v", L".3gp", L".3g2", L".m4a"};

constexpr size_t kLegacySearchBytes = 65534;  // what the byte search of older photographs reads

bool StartsWith(const unsigned char* bytes, const char* text, size_t n) { return std::memcmp(bytes, text, n) == 0; }

bool Written(bool ok, CaptureTime& found) {
  if (ok) found.kind = CaptureTime::Kind::kWritten;
  return ok;
}

// A JPEG whose segments could not be followed to a date: the byte search of its first 64 KB, which
// finds the dates of some images that editors saved with broken segment lengths.
bool SearchJpegBytes(ByteSource& source, CaptureTime& found) {
  std::string head;
  if (!source.ReadText(0, kLegacySearchBytes, head)) return false;
  return Written(ExifDateFromBytes(head, found.written), found);
}

}  // namespace

std::wstring LowerAsciiExtension(std::wstring_view path) {
  // Asked for every row of a run: only extensions short enough to be known ones are lowered, and
  // only their ASCII letters (every extension that can match is ASCII).
  const size_t dot = path.find_last_of(L".\\/");
  if (dot == std::wstring_view::npos || path[dot] != L'.' || path.size() - dot > 6) return {};
  std::wstring lower(path.substr(dot));
  for (wchar_t& c : lower) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return lower;
}

bool HasCaptureTimeExtension(std::wstring_view path) {
  const std::wstring extension = LowerAsciiExtension(path);
  if (extension.empty()) return false;
  for (const wchar_t* known : kExtensions) {
    if (extension == known) return true;
  }
  return false;
}

bool FindCaptureTime(ByteSource& source, std::wstring_view fileName, CaptureTime& found) {
  found = CaptureTime{};
  unsigned char head[16] = {};
  if (!source.Read(0, std::min<uint64_t>(sizeof(head), source.Size()), head) || source.Size() < 8) return false;

  if (head[0] == 0xFF && head[1] == 0xD8) {
    const JpegWalk walk = FindJpegDate(source, 0, found.written);
    if (walk == JpegWalk::kFound) return Written(true, found);
    const std::wstring extension = LowerAsciiExtension(fileName);
    const bool jpegName = extension == L".jpg" || extension == L".jpeg";
    return walk != JpegWalk::kNoDate && jpegName && SearchJpegBytes(source, found);
  }
  if (IsTiffHeader(head)) return Written(FindTiffDate(source, 0, source.Size(), found.written), found);
  if (StartsWith(head, "FUJIFILMCCD-RAW ", 16)) return Written(FindRafDate(source, found.written), found);
  if (StartsWith(head, "\0MRM", 4)) return Written(FindMrwDate(source, found.written), found);
  if (StartsWith(head, "RIFF", 4)) return Written(FindRiffDate(source, found.written), found);
  if (head[0] == 0x89 && StartsWith(head + 1, "PNG", 3)) return Written(FindPngDate(source, found.written), found);
  if (StartsWith(head, "8BPS", 4)) return Written(FindPsdDate(source, found.written), found);
  if (StartsWith(head, "FOVb", 4)) return FindX3fDate(source, found);
  if (source.Size() >= 12 && IsIsoMediaStart(head)) return FindIsoMediaDate(source, found);
  return false;
}

}  // namespace korval
