// MPEG audio files (MP3 and its layer I and II kin): the ID3v2 tags in front, an APE tag and an ID3v1
// tag at the end, and the duration from the first audio frame (its Xing, Info or VBRI header, else
// its bit rate over the length of the audio).
#include <algorithm>
#include <cstring>
#include <string>

#include "metadata/tag_readers.h"

namespace korval {
namespace {

constexpr size_t kMaxLeadingTags = 16;       // ID3v2 tags written one behind the other
constexpr uint64_t kSyncSearchBytes = 65536;  // how far behind the tags the first frame is looked for
constexpr uint64_t kId3v1Size = 128;
constexpr uint64_t kApeFrameSize = 32;
constexpr uint32_t kShortestFrame = 16;  // 8 kbit/s at 24 kHz makes frames of 24 bytes


// Kilobits per second by bit rate index: MPEG-1 layers I, II, III; MPEG-2 and 2.5 layer I; layers II and III.
constexpr uint16_t kBitRates[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
};
constexpr uint32_t kSampleRates[3] = {44100, 48000, 32000};  // MPEG-1; halved for 2, quartered for 2.5

struct FrameHeader {
  unsigned versionBits = 0;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
  unsigned layer = 0;        // 1, 2, 3
  bool crc = false;
  bool mono = false;
  uint32_t bitRate = 0;      // bits per second
  uint32_t sampleRate = 0;
  uint32_t samplesPerFrame = 0;
  uint32_t length = 0;       // bytes, header included

  bool SameStream(const FrameHeader& o) const {
    return versionBits == o.versionBits && layer == o.layer && sampleRate == o.sampleRate;
  }
};

// A frame header with a known bit rate (free-format frames have no length to go by).
bool ParseFrameHeader(const unsigned char* b, FrameHeader& f) {
  if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return false;
  f.versionBits = (b[1] >> 3) & 3;
  const unsigned layerBits = (b[1] >> 1) & 3;
  const unsigned rateIndex = b[2] >> 4;
  const unsigned sampleIndex = (b[2] >> 2) & 3;
  if (f.versionBits == 1 || layerBits == 0 || rateIndex == 0 || rateIndex == 15 || sampleIndex == 3 ||
      (b[3] & 3) == 2) {
    return false;
  }
  const bool mpeg1 = f.versionBits == 3;
  f.layer = 4 - layerBits;
  f.crc = (b[1] & 1) == 0;
  f.mono = (b[3] >> 6) == 3;
  const int table = mpeg1 ? static_cast<int>(f.layer) - 1 : (f.layer == 1 ? 3 : 4);
  f.bitRate = kBitRates[table][rateIndex] * 1000u;
  f.sampleRate = kSampleRates[sampleIndex] >> (mpeg1 ? 0 : f.versionBits == 2 ? 1 : 2);
  const uint32_t padding = (b[2] >> 1) & 1;
  if (f.layer == 1) {
    f.samplesPerFrame = 384;
    f.length = (12 * f.bitRate / f.sampleRate + padding) * 4;
  } else {
    f.samplesPerFrame = f.layer == 3 && !mpeg1 ? 576 : 1152;
    f.length = f.samplesPerFrame / 8 * f.bitRate / f.sampleRate + padding;
  }
  return f.length >= kShortestFrame;
}

// Where the audio ends: before an ID3v1 tag and an APE tag, if any.
uint64_t AudioEnd(ByteSource& source) {
  uint64_t end = source.Size();
  std::string text;
  if (end >= kId3v1Size && source.ReadText(end - kId3v1Size, 3, text) && text == "TAG") end -= kId3v1Size;
  unsigned char footer[kApeFrameSize];
  if (end >= kApeFrameSize && source.Read(end - kApeFrameSize, kApeFrameSize, footer) &&
      std::memcmp(footer, "APETAGEX", 8) == 0) {
    const uint64_t size = uint64_t{footer[12]} | uint64_t{footer[13]} << 8 | uint64_t{footer[14]} << 16 |
                          uint64_t{footer[15]} << 24;
    const uint64_t whole = size + ((footer[23] & 0x80) ? kApeFrameSize : 0);
    if (size >= kApeFrameSize && whole <= end) end -= whole;
  }
  return end;
}

// The first frame at or behind `from` whose successor (or the end of the audio) follows where its
// length says; stray sync bytes in padding or a picture are not taken for it.
bool FindFirstFrame(ByteSource& source, uint64_t from, uint64_t audioEnd, uint64_t& at, FrameHeader& frame) {
  if (from >= audioEnd) return false;
  std::string window;
  if (!source.ReadText(from, static_cast<size_t>(std::min(kSyncSearchBytes + 3, audioEnd - from)), window)) {
    return false;
  }
  const auto* w = reinterpret_cast<const unsigned char*>(window.data());
  for (size_t i = 0; i + 4 <= window.size(); ++i) {
    if (w[i] != 0xFF || !ParseFrameHeader(w + i, frame)) continue;
    const uint64_t start = from + i;
    if (frame.length > audioEnd - start) continue;
    const uint64_t next = start + frame.length;
    unsigned char h[4];
    FrameHeader following;
    if (next == audioEnd || (audioEnd - next >= 4 && source.Read(next, 4, h) && ParseFrameHeader(h, following) &&
                             following.SameStream(frame))) {
      at = start;
      return true;
    }
  }
  return false;
}

uint32_t Be32At(const std::string& bytes, size_t at) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
  return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
}

// The frame count of a Xing or Info header (behind the side information) or of a VBRI header
// (32 bytes behind the frame header); 0 when the frame has none.
uint32_t HeaderFrameCount(ByteSource& source, uint64_t at, const FrameHeader& f) {
  std::string bytes;
  if (!source.ReadText(at, f.length, bytes) || bytes.size() != f.length) return 0;
  const size_t sideInfo = f.versionBits == 3 ? (f.mono ? 17 : 32) : (f.mono ? 9 : 17);
  for (size_t xing : {4 + sideInfo, 4 + sideInfo + 2}) {
    if (xing == 4 + sideInfo + 2 && !f.crc) break;
    if (xing + 12 > bytes.size()) break;
    if (bytes.compare(xing, 4, "Xing") != 0 && bytes.compare(xing, 4, "Info") != 0) continue;
    return (Be32At(bytes, xing + 4) & 1) ? Be32At(bytes, xing + 8) : 0;
  }
  constexpr size_t kVbri = 4 + 32;
  if (kVbri + 18 <= bytes.size() && bytes.compare(kVbri, 4, "VBRI") == 0) return Be32At(bytes, kVbri + 14);
  return 0;
}

bool AudioSeconds(ByteSource& source, uint64_t audioStart, double& seconds) {
  const uint64_t audioEnd = AudioEnd(source);
  uint64_t at = 0;
  FrameHeader frame;
  if (!FindFirstFrame(source, audioStart, audioEnd, at, frame)) return false;
  if (const uint32_t frames = HeaderFrameCount(source, at, frame); frames != 0) {
    seconds = static_cast<double>(frames) * frame.samplesPerFrame / frame.sampleRate;
    return true;
  }
  seconds = static_cast<double>(audioEnd - at) * 8 / frame.bitRate;
  return true;
}

}  // namespace

void ReadMpegAudioTags(ByteSource& source, TagValues& values) {
  unsigned char head[4];
  FrameHeader first;
  if (!source.Read(0, sizeof(head), head) || (std::memcmp(head, "ID3", 3) != 0 && !ParseFrameHeader(head, first))) {
    return;
  }
  if (!values.WantsAny(kMusicTags)) return;
  // Every ID3v2 tag in front is read into a set of its own, so that a tag's length frame is used
  // only when the audio gives no duration.
  TagValues front(values.Wanted().Without(values.Found()));
  uint64_t audioStart = 0;
  for (size_t n = 0; n < kMaxLeadingTags; ++n) {
    const uint64_t size = ReadId3v2Tags(source, audioStart, front);
    if (size == 0) break;
    if (size > source.Size() - audioStart) {
      audioStart = source.Size();
      break;
    }
    audioStart += size;
  }
  double seconds = 0;
  if (values.Wants(Tag::Duration) && AudioSeconds(source, audioStart, seconds)) values.PutDuration(seconds);
  values.MergeMissing(front);
  ReadApeTags(source, values);
  ReadId3v1Tags(source, values);
}

}  // namespace korval
