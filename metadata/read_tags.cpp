// Chooses the readers of a file by its first bytes and asks only those whose tags are wanted.
#include "metadata/read_tags.h"

#include <cstring>

#include "metadata/capture_readers.h"
#include "metadata/capture_time.h"
#include "metadata/tag_readers.h"

namespace korval {
namespace {

constexpr size_t kHeadBytes = 64;
constexpr size_t kPdfHeaderWindow = 1024;  // readers of PDF accept junk before "%PDF-"

bool Starts(const unsigned char* head, size_t have, const char* text) {
  const size_t n = std::strlen(text);
  return have >= n && std::memcmp(head, text, n) == 0;
}

// Brands of ISO media files that are pictures (HEIF, AVIF, CR3), not movies or music.
bool IsPictureBrand(const unsigned char* brand) {
  static constexpr const char* kBrands[] = {"heic", "heix", "hevc", "heim", "heis", "mif1", "msf1", "avif", "avis", "crx "};
  for (const char* b : kBrands) {
    if (std::memcmp(brand, b, 4) == 0) return true;
  }
  return false;
}

// Where the audio behind a front ID3v2 tag begins (0 when there is no such tag).
uint64_t Id3v2Extent(const unsigned char* head, size_t have) {
  if (!Starts(head, have, "ID3") || have < 10) return 0;
  uint64_t size = 0;
  for (int i = 6; i < 10; ++i) {
    if (head[i] & 0x80) return 0;
    size = size << 7 | head[i];
  }
  return 10 + size + ((head[5] & 0x10) ? 10 : 0);
}

bool FindPdfHeader(ByteSource& source) {
  std::string start;
  if (!source.ReadText(0, kPdfHeaderWindow, start)) return false;
  return start.find("%PDF-") != std::string::npos;
}

void ReadContainer(ByteSource& source, std::wstring_view fileName, TagValues& values) {
  unsigned char head[kHeadBytes] = {};
  const size_t have = static_cast<size_t>(std::min<uint64_t>(kHeadBytes, source.Size()));
  if (have == 0 || !source.Read(0, have, head)) return;

  if (Starts(head, have, "ID3")) {
    const uint64_t audio = Id3v2Extent(head, have);
    unsigned char behind[4] = {};
    if (audio != 0 && source.Read(audio, 4, behind) && std::memcmp(behind, "fLaC", 4) == 0) {
      ReadFlacTags(source, values);
    } else {
      ReadMpegAudioTags(source, values);
    }
    return;
  }
  if (Starts(head, have, "fLaC")) return ReadFlacTags(source, values);
  if (Starts(head, have, "OggS")) return ReadOggTags(source, values);
  if (have >= 12 && Starts(head, have, "RIFF") && std::memcmp(head + 8, "WEBP", 4) != 0) return ReadRiffTags(source, values);
  if (have >= 12 && Starts(head, have, "FORM") && (std::memcmp(head + 8, "AIFF", 4) == 0 || std::memcmp(head + 8, "AIFC", 4) == 0)) {
    return ReadAiffTags(source, values);
  }
  if (Starts(head, have, "DSD ")) return ReadDsfTags(source, values);
  if (Starts(head, have, "MAC ") || Starts(head, have, "MPCK") || Starts(head, have, "MP+") || Starts(head, have, "wvpk")) {
    return ReadApeFamilyTags(source, values);
  }
  if (Starts(head, have, "\x30\x26\xB2\x75\x8E\x66\xCF\x11")) return ReadAsfTags(source, values);
  if (Starts(head, have, "\x1A\x45\xDF\xA3")) return ReadMatroskaTags(source, values);
  if (have >= 12 && IsIsoMediaStart(head)) {
    if (std::memcmp(head + 4, "ftyp", 4) == 0 && have >= 12 && IsPictureBrand(head + 8)) {
      return ReadPictureTags(source, values);
    }
    return ReadMp4Tags(source, values);
  }
  if (Starts(head, have, "PK\x03\x04")) return ReadZipDocumentTags(source, values);
  if (Starts(head, have, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) return ReadOleTags(source, values);
  if (have >= 2 && head[0] == 0xFF && head[1] == 0xD8) return ReadPictureTags(source, values);  // JPEG
  if (have >= 2 && head[0] == 0xFF && (head[1] & 0xE0) == 0xE0) return ReadMpegAudioTags(source, values);
  if ((have >= 4 && IsTiffHeader(head)) || Starts(head, have, "\x89PNG") || Starts(head, have, "GIF8") ||
      Starts(head, have, "BM") || Starts(head, have, "8BPS") || Starts(head, have, "FUJIFILMCCD-RAW ") ||
      (have >= 4 && std::memcmp(head, "\0MRM", 4) == 0) || Starts(head, have, "FOVb") ||
      (have >= 12 && Starts(head, have, "RIFF"))) {
    return ReadPictureTags(source, values);
  }
  if (FindPdfHeader(source)) return ReadPdfTags(source, values);
  if (LowerAsciiExtension(fileName) == L".mp3") ReadMpegAudioTags(source, values);
}

}  // namespace

TagValues ReadTags(ByteSource& source, std::wstring_view fileName, TagSet wanted) {
  TagValues values(wanted);
  if (values.WantsAny(TagSet::All().Without(kHashTags))) ReadContainer(source, fileName, values);
  if (values.WantsAny(kHashTags)) HashTags(source, values);
  return values;
}

TagValues ReadFileTags(const std::wstring& path, TagSet wanted) {
  FileByteSource file(path);
  if (!file.IsOpen()) return TagValues(wanted);
  return ReadTags(file, path, wanted);
}

}  // namespace korval
