// The tags of FLAC files: the Vorbis comment block, and the duration from the stream information
// block. An ID3v2 tag some programs put before the "fLaC" mark is stepped over.
#include <algorithm>
#include <string>

#include "metadata/tag_readers.h"

namespace korval {
namespace {

constexpr size_t kMaxBlocks = 1024;           // metadata blocks looked at
constexpr size_t kMaxLeadingTags = 4;         // ID3v2 tags stepped over before the mark
constexpr size_t kMaxCommentBytes = 1 << 20;  // of a larger comment block, the entries that fit
constexpr uint8_t kStreamInfo = 0;
constexpr uint8_t kVorbisComment = 4;
constexpr uint8_t kInvalidBlock = 127;
constexpr uint32_t kStreamInfoSize = 34;

// Where the "fLaC" mark stands: at the start or behind ID3v2 tags; false without it.
bool FindMark(ByteSource& source, uint64_t& at) {
  at = 0;
  for (size_t n = 0; n <= kMaxLeadingTags; ++n) {
    unsigned char head[10];
    if (!source.Read(at, 4, head)) return false;
    if (head[0] == 'f' && head[1] == 'L' && head[2] == 'a' && head[3] == 'C') return true;
    if (head[0] != 'I' || head[1] != 'D' || head[2] != '3' || !source.Read(at, 10, head)) return false;
    uint64_t size = 0;
    for (int i = 6; i < 10; ++i) {
      if (head[i] & 0x80) return false;  // not a syncsafe size
      size = size << 7 | head[i];
    }
    size += 10 + ((head[5] & 0x10) ? 10 : 0);
    if (!source.Holds(at, size)) return false;
    at += size;
  }
  return false;
}

// The duration from a STREAMINFO block body: sample rate (20 bits) and total samples (36 bits).
void PutFlacStreamDuration(const unsigned char* info, TagValues& values) {
  const uint32_t rate = uint32_t{info[10]} << 12 | uint32_t{info[11]} << 4 | info[12] >> 4;
  const uint64_t samples = uint64_t{info[13] & 0x0Fu} << 32 | uint64_t{info[14]} << 24 | uint64_t{info[15]} << 16 |
                           uint64_t{info[16]} << 8 | info[17];
  if (rate != 0 && samples != 0) values.PutDuration(static_cast<double>(samples) / rate);
}

}  // namespace

void ReadFlacTags(ByteSource& source, TagValues& values) {
  const TagSet comments = kMusicTextTags;
  const bool wantsComments = values.WantsAny(comments);
  const bool wantsDuration = values.Wants(Tag::Duration);
  uint64_t at = 0;
  if ((!wantsComments && !wantsDuration) || !FindMark(source, at)) return;
  at += 4;
  for (size_t n = 0; n < kMaxBlocks; ++n) {
    unsigned char head[4];
    if (!source.Read(at, 4, head)) return;
    const uint8_t type = head[0] & 0x7F;
    const uint32_t length = uint32_t{head[1]} << 16 | uint32_t{head[2]} << 8 | head[3];
    if (type == kInvalidBlock || !source.Holds(at + 4, length)) return;
    if (type == kStreamInfo && n == 0 && length >= kStreamInfoSize && wantsDuration) {
      unsigned char info[kStreamInfoSize];
      if (source.Read(at + 4, kStreamInfoSize, info)) PutFlacStreamDuration(info, values);
    }
    if (type == kVorbisComment && wantsComments) {
      std::string block;
      if (source.ReadText(at + 4, std::min<size_t>(length, kMaxCommentBytes), block)) ReadVorbisComment(block, values);
      return;
    }
    if (head[0] & 0x80) return;  // the last block
    at += 4 + uint64_t{length};
  }
}

}  // namespace korval
