// The tags of Ogg files (Vorbis, Opus, Speex, FLAC): the comment packet of the first stream in a codec
// this reader knows, put together from its pages, and the duration from the granule position of the
// stream's last page. Every page's checksum is checked, so a page that lies about its lengths is not
// taken.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "metadata/tag_readers.h"

namespace korval {
namespace {

constexpr size_t kHeaderSize = 27;
constexpr size_t kMaxPageSize = kHeaderSize + 255 + 255 * 255;
constexpr size_t kMaxStreams = 16;                    // first pages of the streams looked at for a known codec
constexpr size_t kMaxPages = 4096;                    // pages walked to put the header packets together
constexpr size_t kMaxPacketBytes = 1 << 20;           // of a larger comment packet (cover art), the entries that fit
constexpr uint64_t kMaxWalkBytes = 4 << 20;           // bytes of pages walked for them (other streams' pages too)
constexpr size_t kTailWindow = kMaxPageSize + 16384;  // the end of the file searched for the last page
constexpr size_t kMaxTailCandidates = 64;             // "OggS" marks in that window tried, from the end
constexpr uint8_t kContinued = 1;
constexpr uint8_t kFirstPage = 2;
constexpr uint64_t kOpusRate = 48000;

enum class Codec { kNone, kVorbis, kOpus, kSpeex, kFlac };

struct Page {
  uint8_t type = 0;
  uint64_t granule = 0;
  uint32_t serial = 0;
  std::vector<uint8_t> lacing;
  std::string_view body;
  size_t size = 0;
};

constexpr std::array<uint32_t, 256> kCrcTable = [] {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t crc = i << 24;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    table[i] = crc;
  }
  return table;
}();

uint32_t Le32(const unsigned char* p) {
  return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}
uint32_t Le32(std::string_view s, size_t at) { return Le32(reinterpret_cast<const unsigned char*>(s.data()) + at); }

// A whole page at the start of `bytes` (which may hold more); false when it is cut or its checksum
// does not match. `page.body` points into `bytes`.
bool TakePage(std::string_view bytes, Page& page) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  if (bytes.size() < kHeaderSize || std::memcmp(b, "OggS", 4) != 0 || b[4] != 0) return false;
  const size_t segments = b[26];
  if (bytes.size() - kHeaderSize < segments) return false;
  size_t bodySize = 0;
  for (size_t i = 0; i < segments; ++i) bodySize += b[kHeaderSize + i];
  if (bytes.size() - kHeaderSize - segments < bodySize) return false;
  page.size = kHeaderSize + segments + bodySize;
  uint32_t crc = 0;
  for (size_t i = 0; i < page.size; ++i) {
    const unsigned char c = i >= 22 && i < 26 ? 0 : b[i];  // the checksum counts itself as zeros
    crc = (crc << 8) ^ kCrcTable[((crc >> 24) ^ c) & 0xFF];
  }
  if (crc != Le32(b + 22)) return false;
  page.type = b[5];
  page.granule = uint64_t{Le32(b + 10)} << 32 | Le32(b + 6);
  page.serial = Le32(b + 14);
  page.lacing.assign(b + kHeaderSize, b + kHeaderSize + segments);
  page.body = bytes.substr(kHeaderSize + segments, bodySize);
  return true;
}

// The page at `at`, read into `buffer`.
bool ReadPage(ByteSource& source, uint64_t at, std::string& buffer, Page& page) {
  unsigned char head[kHeaderSize];
  if (!source.Read(at, kHeaderSize, head) || std::memcmp(head, "OggS", 4) != 0) return false;
  uint64_t size = kHeaderSize + head[26];
  unsigned char lacing[255];
  if (!source.Read(at + kHeaderSize, head[26], lacing)) return false;
  for (size_t i = 0; i < head[26]; ++i) size += lacing[i];
  if (!source.Holds(at, size)) return false;
  buffer.resize(static_cast<size_t>(size));
  return source.Read(at, buffer.size(), reinterpret_cast<unsigned char*>(buffer.data())) && TakePage(buffer, page);
}

Codec CodecOf(std::string_view packet) {
  if (packet.substr(0, 7) == std::string_view("\x01vorbis", 7) && packet.size() >= 16) return Codec::kVorbis;
  if (packet.substr(0, 8) == "OpusHead" && packet.size() >= 19) return Codec::kOpus;
  if (packet.substr(0, 8) == "Speex   " && packet.size() >= 40) return Codec::kSpeex;
  if (packet.substr(0, 5) ==
          "\x7F"
          "FLAC" &&
      packet.size() >= 51 && packet.substr(9, 4) == "fLaC")
    return Codec::kFlac;
  return Codec::kNone;
}

// The serial number and codec of the first stream in a codec known here, from the first pages.
Codec FindStream(ByteSource& source, uint32_t& serial) {
  std::string buffer;
  uint64_t at = 0;
  for (size_t n = 0; n < kMaxStreams; ++n) {
    Page page;
    if (!ReadPage(source, at, buffer, page) || !(page.type & kFirstPage)) return Codec::kNone;
    // The identification packet fills the first page of its stream alone.
    size_t length = 0;
    for (uint8_t l : page.lacing) {
      length += l;
      if (l < 255) break;
    }
    const Codec codec = CodecOf(page.body.substr(0, length));
    if (codec != Codec::kNone) {
      serial = page.serial;
      return codec;
    }
    at += page.size;
  }
  return Codec::kNone;
}

// The first `count` packets of the stream, put together across its pages. The last one asked for may
// be cut at kMaxPacketBytes; a packet broken off by a damaged or missing page is not returned.
std::vector<std::string> ReadPackets(ByteSource& source, uint32_t serial, size_t count) {
  std::vector<std::string> packets;
  std::string packet, buffer;
  bool inPacket = false;
  uint64_t at = 0;
  for (size_t n = 0; n < kMaxPages && at < kMaxWalkBytes; ++n) {
    Page page;
    if (!ReadPage(source, at, buffer, page)) break;
    at += page.size;
    if (page.serial != serial) continue;
    const bool continued = (page.type & kContinued) != 0;
    if (inPacket != continued) break;  // a packet goes on where none began, or one is left unfinished
    size_t offset = 0;
    for (uint8_t l : page.lacing) {
      if (packet.size() < kMaxPacketBytes)
        packet.append(page.body.substr(offset, std::min<size_t>(l, kMaxPacketBytes - packet.size())));
      offset += l;
      inPacket = l == 255;
      const bool cut = packet.size() >= kMaxPacketBytes && packets.size() + 1 == count;
      if (!inPacket || cut) {
        packets.push_back(std::move(packet));
        packet.clear();
        if (packets.size() == count) return packets;
      }
    }
  }
  return packets;
}

// The granule position of the stream's last page, searched for backwards from the end of the file.
bool LastGranule(ByteSource& source, uint32_t serial, uint64_t& granule) {
  const uint64_t size = source.Size();
  const auto length = static_cast<size_t>(std::min<uint64_t>(size, kTailWindow));
  std::string window(length, '\0');
  if (length < kHeaderSize || !source.Read(size - length, length, reinterpret_cast<unsigned char*>(window.data()))) {
    return false;
  }
  size_t tried = 0;
  for (size_t at = length - kHeaderSize + 1; at-- > 0 && tried < kMaxTailCandidates;) {
    if (window.compare(at, 4, "OggS") != 0) continue;
    ++tried;
    Page page;
    // A page where no packet ends carries all ones; a position past the signed range is not real.
    if (TakePage(std::string_view(window).substr(at), page) && page.serial == serial && page.granule < (1ull << 63)) {
      granule = page.granule;
      return true;
    }
  }
  return false;
}

}  // namespace

void ReadOggTags(ByteSource& source, TagValues& values) {
  const TagSet comments = kMusicTextTags;
  const bool wantsComments = values.WantsAny(comments);
  const bool wantsDuration = values.Wants(Tag::Duration);
  uint32_t serial = 0;
  if (!wantsComments && !wantsDuration) return;
  const Codec codec = FindStream(source, serial);
  if (codec == Codec::kNone) return;
  const std::vector<std::string> packets = ReadPackets(source, serial, wantsComments ? 2 : 1);
  if (packets.empty() || CodecOf(packets[0]) != codec) return;
  const std::string_view id = packets[0];

  if (packets.size() >= 2) {
    const std::string_view comment = packets[1];
    if (codec == Codec::kVorbis && comment.substr(0, 7) == std::string_view("\x03vorbis", 7)) {
      ReadVorbisComment(comment.substr(7), values);
    } else if (codec == Codec::kOpus && comment.substr(0, 8) == "OpusTags") {
      ReadVorbisComment(comment.substr(8), values);
    } else if (codec == Codec::kSpeex) {
      ReadVorbisComment(comment, values);
    } else if (codec == Codec::kFlac && comment.size() >= 4 && (comment[0] & 0x7F) == 4) {
      const auto* b = reinterpret_cast<const unsigned char*>(comment.data());
      const size_t length = uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
      ReadVorbisComment(comment.substr(4, length), values);
    }
  }

  uint64_t rate = 0, skip = 0;
  switch (codec) {
    case Codec::kVorbis:
      rate = Le32(id, 12);
      break;
    case Codec::kOpus:
      rate = kOpusRate;
      skip = static_cast<unsigned char>(id[10]) | static_cast<unsigned char>(id[11]) << 8;
      break;
    case Codec::kSpeex:
      rate = Le32(id, 36);
      break;
    case Codec::kFlac: {
      const auto* info = reinterpret_cast<const unsigned char*>(id.data()) + 17;  // behind the block header
      rate = uint32_t{info[10]} << 12 | uint32_t{info[11]} << 4 | info[12] >> 4;
      break;
    }
    case Codec::kNone:
      return;
  }
  uint64_t granule = 0;
  if (wantsDuration && rate != 0 && LastGranule(source, serial, granule) && granule >= skip) {
    values.PutDuration(static_cast<double>(granule - skip) / static_cast<double>(rate));
  }
}

}  // namespace korval
