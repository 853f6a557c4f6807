// AIFF and AIFF-C sound files: an ID3v2 tag in an "ID3 " chunk, the NAME and AUTH text chunks, and
// the duration from the common chunk (sample frames over a sample rate stored as an 80-bit float).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "metadata/tag_readers.h"
#include "metadata/tag_text.h"

namespace korval {
namespace {

constexpr size_t kMaxChunks = 4096;
constexpr uint32_t kMaxTextBytes = 65536;  // longer text chunks are skipped, not read
constexpr int kExponentBias = 16383;
constexpr int kLargestRateExponent = 24;   // rates up to some 16 million samples a second
constexpr double kHighestRate = 1e7;

constexpr TagSet kAiffTags = kMusicTags;

uint32_t Be32(const unsigned char* b) {
  return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
}

// A sample rate as an 80-bit extended float (sign, 15-bit exponent, 64-bit mantissa with its
// integer bit); false for a negative, denormal, infinite or implausible one.
bool SampleRate(const unsigned char* b, double& rate) {
  const int signAndExponent = b[0] << 8 | b[1];
  if (signAndExponent & 0x8000) return false;
  const int exponent = signAndExponent - kExponentBias;
  if (exponent < 0 || exponent > kLargestRateExponent) return false;
  uint64_t mantissa = 0;
  for (int i = 2; i < 10; ++i) mantissa = mantissa << 8 | b[i];
  if ((mantissa >> 63) == 0) return false;  // not normalised
  rate = std::ldexp(static_cast<double>(mantissa), exponent - 63);
  return rate >= 1 && rate <= kHighestRate;
}


}  // namespace

void ReadAiffTags(ByteSource& source, TagValues& values) {
  unsigned char head[12];
  if (!source.Read(0, sizeof(head), head) || std::memcmp(head, "FORM", 4) != 0 ||
      (std::memcmp(head + 8, "AIFF", 4) != 0 && std::memcmp(head + 8, "AIFC", 4) != 0) || !values.WantsAny(kAiffTags)) {
    return;
  }
  const uint64_t end = std::min<uint64_t>(8 + uint64_t{Be32(head + 4)}, source.Size());
  const TagSet open = values.Wanted().Without(values.Found());
  TagValues id3(open), text(open);
  double seconds = -1;
  std::string bytes;
  uint64_t at = 12;
  for (size_t n = 0; n < kMaxChunks && at < end && end - at >= 8; ++n) {
    unsigned char chunk[8];
    if (!source.Read(at, sizeof(chunk), chunk)) break;
    const uint64_t body = at + 8;
    const uint64_t size = Be32(chunk + 4);
    if (size > end - body) break;  // a chunk running past the file: nothing behind it is sure
    unsigned char comm[18];
    if (std::memcmp(chunk, "COMM", 4) == 0 && size >= sizeof(comm) && source.Read(body, sizeof(comm), comm)) {
      double rate = 0;
      if (SampleRate(comm + 8, rate)) seconds = Be32(comm + 2) / rate;
    } else if ((std::memcmp(chunk, "NAME", 4) == 0 || std::memcmp(chunk, "AUTH", 4) == 0) && size <= kMaxTextBytes) {
      const Tag tag = chunk[0] == 'N' ? Tag::Title : Tag::Artist;
      if (text.Wants(tag) && source.ReadText(body, static_cast<size_t>(size), bytes)) text.Put(tag, TextFromUtf8OrLatin1(bytes));
    } else if (std::memcmp(chunk, "ID3 ", 4) == 0 || std::memcmp(chunk, "id3 ", 4) == 0) {
      TagValues sizeOnly(TagSet{});
      const uint64_t tagSize = ReadId3v2Tags(source, body, sizeOnly);
      if (tagSize != 0 && tagSize <= size) ReadId3v2Tags(source, body, id3);
    }
    at = body + size + (size & 1);
  }
  if (seconds >= 0) values.PutDuration(seconds);
  values.MergeMissing(id3);
  values.MergeMissing(text);
}

}  // namespace korval
