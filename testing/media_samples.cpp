// Music and movie files built byte by byte for the tag reader tests.
#include "testing/media_samples.h"

#include <algorithm>
#include <cstring>

namespace korval::media {


std::string Utf16Le(const std::string& ascii, bool terminated) {
  std::string out;
  for (char c : ascii) out += std::string{c, '\0'};
  if (terminated) out += std::string(2, '\0');
  return out;
}

// ---- ISO media

std::string Mp4Box(const std::string& type, const std::string& body) {
  return Be32(static_cast<uint32_t>(8 + body.size())) + type + body;
}

std::string Mp4Box64(const std::string& type, const std::string& body) {
  return Be32(1) + type + Be64(16 + body.size()) + body;
}

std::string Mp4Data(uint32_t type, const std::string& value) { return Mp4Box("data", Be32(type) + Be32(0) + value); }

std::string Mp4Text(const std::string& type, const std::string& text) { return Mp4Box(type, Mp4Data(1, text)); }

std::string Mp4Pair(const std::string& type, uint16_t number, uint16_t total) {
  return Mp4Box(type, Mp4Data(0, Be16(0) + Be16(number) + Be16(total) + Be16(0)));
}

std::string Mp4MovieHeader(uint32_t timeScale, uint64_t duration, int version) {
  std::string body = std::string(1, static_cast<char>(version)) + std::string(3, '\0');
  if (version == 1) {
    body += Be64(0) + Be64(0) + Be32(timeScale) + Be64(duration);
  } else {
    body += Be32(0) + Be32(0) + Be32(timeScale) + Be32(static_cast<uint32_t>(duration));
  }
  body += std::string(80, '\0');
  return Mp4Box("mvhd", body);
}

std::string Mp4Track(const std::string& handler, uint32_t width, uint32_t height, int version) {
  std::string header = std::string(1, static_cast<char>(version)) + std::string(3, '\x0F');
  header += std::string(version == 1 ? 32 : 20, '\0') + std::string(52, '\0');
  header += Be32(width << 16) + Be32(height << 16);
  const std::string hdlr = Mp4Box("hdlr", std::string(4, '\0') + "mhlr" + handler + std::string(12, '\0') + "x");
  return Mp4Box("trak", Mp4Box("tkhd", header) + Mp4Box("mdia", Mp4Box("mdhd", std::string(24, '\0')) + hdlr));
}

std::string Mp4File(const std::string& brand, const std::string& moovBody) {
  return Mp4Box("ftyp", brand + Be32(0) + brand + "isom") + Mp4Box("moov", moovBody) +
         Mp4Box("mdat", std::string(300, '\x5A'));
}

std::string Mp4UserDataItems(const std::string& items, bool quickTimeMeta) {
  const std::string hdlr = Mp4Box("hdlr", std::string(8, '\0') + "mdirappl" + std::string(9, '\0'));
  const std::string children = hdlr + Mp4Box("ilst", items) + Mp4Box("free", std::string(16, '\0'));
  return Mp4Box("udta", Mp4Box("meta", (quickTimeMeta ? "" : std::string(4, '\0')) + children));
}

std::string Mp4KeyedItems(const std::vector<std::pair<std::string, std::string>>& keysAndValues) {
  std::string keys = Be32(0) + Be32(static_cast<uint32_t>(keysAndValues.size()));
  std::string items;
  uint32_t index = 1;
  for (const auto& [key, value] : keysAndValues) {
    keys += Be32(static_cast<uint32_t>(8 + key.size())) + "mdta" + key;
    const std::string data = Mp4Data(1, value);
    items += Be32(static_cast<uint32_t>(8 + data.size())) + Be32(index++) + data;
  }
  const std::string hdlr = Mp4Box("hdlr", std::string(8, '\0') + "mdta" + std::string(13, '\0'));
  return Mp4Box("meta", hdlr + Mp4Box("keys", keys) + Mp4Box("ilst", items));
}

// ---- FLAC and Vorbis comments

std::string VorbisComment(const std::string& vendor, const std::vector<std::string>& entries) {
  std::string out = Le32(static_cast<uint32_t>(vendor.size())) + vendor + Le32(static_cast<uint32_t>(entries.size()));
  for (const std::string& e : entries) out += Le32(static_cast<uint32_t>(e.size())) + e;
  return out;
}

std::string FlacBlock(uint8_t type, const std::string& body, bool last) {
  const auto n = static_cast<uint32_t>(body.size());
  return std::string{static_cast<char>(type | (last ? 0x80 : 0)), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
                     static_cast<char>(n)} +
         body;
}

std::string FlacStreamInfo(uint32_t sampleRate, uint64_t totalSamples) {
  std::string body = Be16(4096) + Be16(4096) + std::string(6, '\0');
  // rate (20 bits), channels - 1 (3 bits: stereo), bits - 1 (5 bits: 16), samples (36 bits)
  body += static_cast<char>(sampleRate >> 12);
  body += static_cast<char>(sampleRate >> 4);
  body += static_cast<char>((sampleRate & 0x0F) << 4 | 1 << 1 | 0);
  body += static_cast<char>(0xF0 | ((totalSamples >> 32) & 0x0F));
  body += Be32(static_cast<uint32_t>(totalSamples));
  return body + std::string(16, '\x11');
}

std::string FlacFile(uint32_t sampleRate, uint64_t totalSamples, const std::vector<std::string>& entries) {
  return "fLaC" + FlacBlock(0, FlacStreamInfo(sampleRate, totalSamples), false) +
         FlacBlock(4, VorbisComment("test encoder", entries), false) + FlacBlock(1, std::string(64, '\0'), true) +
         std::string(200, '\x3C');
}

std::string Id3v2Tag(uint32_t bodySize, bool footer) {
  std::string size{static_cast<char>(bodySize >> 21 & 0x7F), static_cast<char>(bodySize >> 14 & 0x7F),
                   static_cast<char>(bodySize >> 7 & 0x7F), static_cast<char>(bodySize & 0x7F)};
  std::string tag = std::string("ID3\x04\0", 5) + static_cast<char>(footer ? 0x10 : 0) + size;
  tag += std::string(bodySize, '\0');
  if (footer) tag += std::string("3DI\x04\0\x10", 6) + size;
  return tag;
}

// ---- Ogg

namespace {

uint32_t OggChecksum(const std::string& page) {
  uint32_t crc = 0;
  for (unsigned char c : page) {
    crc ^= uint32_t{c} << 24;
    for (int bit = 0; bit < 8; ++bit) crc = crc & 0x80000000u ? crc << 1 ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

}  // namespace

std::string OggPage(uint8_t headerType, uint64_t granule, uint32_t serial, uint32_t sequence,
                    const std::vector<uint8_t>& lacing, const std::string& body) {
  std::string page = std::string("OggS\0", 5) + static_cast<char>(headerType) + Le64(granule) + Le32(serial) +
                     Le32(sequence) + Le32(0) + static_cast<char>(lacing.size());
  for (uint8_t l : lacing) page += static_cast<char>(l);
  page += body;
  const std::string crc = Le32(OggChecksum(page));
  page.replace(22, 4, crc);
  return page;
}

namespace {

std::string OggPages(uint32_t serial, const std::vector<std::string>& packets, size_t segmentsPerPage,
                     uint64_t lastGranule, uint32_t sequence, bool first, bool last) {
  // Lacing values and bytes of all packets in a row, then cut into pages.
  std::vector<std::pair<uint8_t, std::string>> segments;
  for (const std::string& packet : packets) {
    size_t at = 0;
    while (packet.size() - at >= 255) {
      segments.emplace_back(255, packet.substr(at, 255));
      at += 255;
    }
    segments.emplace_back(static_cast<uint8_t>(packet.size() - at), packet.substr(at));
  }
  std::string out;
  bool continued = false;
  for (size_t from = 0; from < segments.size(); from += segmentsPerPage) {
    const size_t end = std::min(segments.size(), from + segmentsPerPage);
    std::vector<uint8_t> lacing;
    std::string body;
    for (size_t i = from; i < end; ++i) {
      lacing.push_back(segments[i].first);
      body += segments[i].second;
    }
    const bool lastPage = end == segments.size();
    const uint8_t type =
        static_cast<uint8_t>((continued ? 1 : 0) | (first && from == 0 ? 2 : 0) | (last && lastPage ? 4 : 0));
    out += OggPage(type, lastPage ? lastGranule : 0, serial, sequence++, lacing, body);
    continued = lacing.back() == 255;
  }
  return out;
}

}  // namespace

std::string OggStream(uint32_t serial, const std::vector<std::string>& packets, size_t segmentsPerPage,
                      uint64_t lastGranule) {
  return OggPages(serial, packets, segmentsPerPage, lastGranule, 0, true, true);
}

std::string VorbisIdentification(uint32_t sampleRate) {
  return std::string("\x01vorbis", 7) + Le32(0) + std::string(1, '\x02') + Le32(sampleRate) + Le32(0) + Le32(128000) +
         Le32(0) + std::string("\xB8\x01", 2);
}

std::string VorbisCommentPacket(const std::vector<std::string>& entries) {
  return std::string("\x03vorbis", 7) + VorbisComment("test encoder", entries) + std::string(1, '\x01');
}

std::string OpusHead(uint16_t preSkip) {
  return "OpusHead" + std::string(1, '\x01') + std::string(1, '\x02') + Le16(preSkip) + Le32(44100) + Le16(0) +
         std::string(1, '\0');
}

std::string SpeexHeader(uint32_t sampleRate) {
  std::string out = "Speex   " + std::string("1.2.0") + std::string(15, '\0');
  out += Le32(1) + Le32(80) + Le32(sampleRate) + Le32(1) + Le32(4) + Le32(1) + Le32(0xFFFFFFFF) + Le32(160) + Le32(0) +
         Le32(1) + Le32(0) + Le32(0);
  return out;
}

std::string OggFlacHeader(uint32_t sampleRate, uint64_t totalSamples) {
  return std::string(
             "\x7F"
             "FLAC\x01\x00",
             7) +
         Be16(1) + "fLaC" + FlacBlock(0, FlacStreamInfo(sampleRate, totalSamples), false);
}

std::string OggFile(const std::string& identification, const std::string& comment, uint64_t lastGranule,
                    uint32_t serial) {
  return OggPages(serial, {identification}, 255, 0, 0, true, false) +
         OggPages(serial, {comment, std::string(300, '\x21'), std::string(700, '\x22')}, 3, lastGranule, 1, false,
                  true);
}

// ---- ASF

std::string Guid(const char* hex32) {
  std::string out;
  for (size_t i = 0; i + 1 < std::strlen(hex32); i += 2) {
    auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    out += static_cast<char>(digit(hex32[i]) << 4 | digit(hex32[i + 1]));
  }
  return out;
}

std::string AsfObject(const std::string& guid, const std::string& body) { return guid + Le64(24 + body.size()) + body; }

std::string AsfContentDescription(const std::string& title, const std::string& author) {
  const std::string t = Utf16Le(title, true), a = Utf16Le(author, true), c = Utf16Le("(c)", true);
  return AsfObject(Guid("3326B2758E66CF11A6D900AA0062CE6C"),
                   Le16(static_cast<uint16_t>(t.size())) + Le16(static_cast<uint16_t>(a.size())) +
                       Le16(static_cast<uint16_t>(c.size())) + Le16(0) + Le16(0) + t + a + c);
}

std::string AsfExtendedContent(const std::vector<AsfAttribute>& attributes) {
  std::string body = Le16(static_cast<uint16_t>(attributes.size()));
  for (const AsfAttribute& a : attributes) {
    const std::string name = Utf16Le(a.name, true);
    body += Le16(static_cast<uint16_t>(name.size())) + name + Le16(a.type) +
            Le16(static_cast<uint16_t>(a.value.size())) + a.value;
  }
  return AsfObject(Guid("40A4D0D207E3D21197F000A0C95EA850"), body);
}

std::string AsfHeaderExtension(const std::vector<AsfAttribute>& records) {
  std::string body = Le16(static_cast<uint16_t>(records.size()));
  for (const AsfAttribute& a : records) {
    const std::string name = Utf16Le(a.name, true);
    body += Le16(0) + Le16(0) + Le16(static_cast<uint16_t>(name.size())) + Le16(a.type) +
            Le32(static_cast<uint32_t>(a.value.size())) + name + a.value;
  }
  const std::string library = AsfObject(Guid("941C23449894D149A1411D134E457054"), body);
  const std::string padding = AsfObject(Guid("74D40618DFCA0945A4BA9AABCB96AAE8"), std::string(20, '\0'));
  return AsfObject(Guid("B503BF5F2EA9CF118EE300C00C205365"),
                   Guid("11D2D3ABBAA9CF118EE600C00C205365") + Le16(6) +
                       Le32(static_cast<uint32_t>(library.size() + padding.size())) + padding + library);
}

std::string AsfFileProperties(uint64_t duration100ns, uint64_t prerollMs, uint32_t flags) {
  const std::string body = std::string(16, '\x42') + Le64(5000) + Le64(0) + Le64(10) + Le64(duration100ns) +
                           Le64(duration100ns) + Le64(prerollMs) + Le32(flags) + Le32(3200) + Le32(3200) + Le32(128000);
  return AsfObject(Guid("A1DCAB8C47A9CF118EE400C00C205365"), body);
}

namespace {

std::string AsfStream(const std::string& type, const std::string& specific) {
  return AsfObject(Guid("9107DCB7B7A9CF118EE600C00C205365"), type + std::string(16, '\0') + Le64(0) +
                                                                 Le32(static_cast<uint32_t>(specific.size())) +
                                                                 Le32(0) + Le16(1) + Le32(0) + specific);
}

}  // namespace

std::string AsfVideoStream(uint32_t width, uint32_t height) {
  return AsfStream(Guid("C0EF19BC4D5BCF11A8FD00805F5C442B"), Le32(width) + Le32(height) + std::string(1, '\x02') +
                                                                 Le16(40) + Le32(40) + Le32(width) + Le32(height) +
                                                                 std::string(28, '\0'));
}

std::string AsfAudioStream() {
  return AsfStream(Guid("409E69F84D5BCF11A8FD00805F5C442B"),
                   Le16(0x161) + Le16(2) + Le32(44100) + Le32(16000) + Le16(2048) + Le16(16) + Le16(0));
}

std::string AsfFile(const std::vector<std::string>& objects) {
  std::string children;
  for (const std::string& o : objects) children += o;
  const std::string header = Guid("3026B2758E66CF11A6D900AA0062CE6C") + Le64(30 + children.size()) +
                             Le32(static_cast<uint32_t>(objects.size())) + std::string("\x01\x02", 2) + children;
  return header + AsfObject(Guid("3626B2758E66CF11A6D900AA0062CE6C"), std::string(26, '\0') + std::string(400, '\x5A'));
}

// ---- Matroska

std::string EbmlId(uint32_t id) {
  std::string out;
  for (int shift = 24; shift >= 0; shift -= 8) {
    if ((id >> shift) != 0 || !out.empty()) out += static_cast<char>(id >> shift);
  }
  return out;
}

std::string EbmlSize(uint64_t size) {
  int length = 1;
  while (length < 8 && size >= (uint64_t{1} << (7 * length)) - 1) ++length;
  std::string out;
  for (int i = length - 1; i >= 0; --i) out += static_cast<char>(size >> (8 * i));
  out[0] = static_cast<char>(out[0] | (0x80 >> (length - 1)));
  return out;
}

std::string EbmlElement(uint32_t id, const std::string& body) { return EbmlId(id) + EbmlSize(body.size()) + body; }

std::string EbmlUnsigned(uint32_t id, uint64_t value) {
  std::string bytes;
  do {
    bytes.insert(bytes.begin(), static_cast<char>(value));
    value >>= 8;
  } while (value != 0);
  return EbmlElement(id, bytes);
}

std::string EbmlFloat(uint32_t id, double value, bool eightBytes) {
  if (!eightBytes) {
    const float f = static_cast<float>(value);
    uint32_t bits = 0;
    std::memcpy(&bits, &f, 4);
    return EbmlElement(id, Be32(bits));
  }
  uint64_t bits = 0;
  std::memcpy(&bits, &value, 8);
  return EbmlElement(id, Be64(bits));
}

std::string MatroskaSimpleTag(const std::string& name, const std::string& value) {
  return EbmlElement(0x67C8, EbmlElement(0x45A3, name) + EbmlElement(0x447A, "und") + EbmlElement(0x4487, value));
}

std::string MatroskaTag(uint64_t targetType, const std::vector<std::pair<std::string, std::string>>& tags) {
  std::string body = EbmlElement(0x63C0, targetType == 0 ? "" : EbmlUnsigned(0x68CA, targetType));
  for (const auto& [name, value] : tags) body += MatroskaSimpleTag(name, value);
  return EbmlElement(0x7373, body);
}

std::string MatroskaInfo(const std::string& title, double duration, uint64_t timestampScale) {
  std::string body = EbmlUnsigned(0x2AD7B1, timestampScale) + EbmlElement(0x4D80, "test muxer");
  if (!title.empty()) body += EbmlElement(0x7BA9, title);
  return EbmlElement(0x1549A966, body + EbmlFloat(0x4489, duration));
}

std::string MatroskaVideoTrack(uint64_t width, uint64_t height) {
  return EbmlElement(0xAE, EbmlUnsigned(0xD7, 1) + EbmlUnsigned(0x83, 1) + EbmlElement(0x86, "V_VP9") +
                               EbmlElement(0xE0, EbmlUnsigned(0xB0, width) + EbmlUnsigned(0xBA, height)));
}

std::string MatroskaAudioTrack() {
  return EbmlElement(0xAE, EbmlUnsigned(0xD7, 2) + EbmlUnsigned(0x83, 2) + EbmlElement(0x86, "A_OPUS") +
                               EbmlElement(0xE1, EbmlFloat(0xB5, 48000.0) + EbmlUnsigned(0x9F, 2)));
}

std::string MatroskaFile(const std::string& docType, const std::string& children, bool unknownSize) {
  const std::string header =
      EbmlElement(0x1A45DFA3, EbmlUnsigned(0x4286, 1) + EbmlUnsigned(0x42F7, 1) + EbmlUnsigned(0x42F2, 4) +
                                  EbmlUnsigned(0x42F3, 8) + EbmlElement(0x4282, docType) + EbmlUnsigned(0x4287, 4) +
                                  EbmlUnsigned(0x4285, 2));
  if (unknownSize) return header + EbmlId(0x18538067) + std::string("\x01\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8) + children;
  return header + EbmlElement(0x18538067, children);
}

std::vector<std::string> MediaSamples() {
  const std::string items = Mp4Text("\xA9nam", "Song") +
                            Mp4Text(
                                "\xA9"
                                "ART",
                                "Singer") +
                            Mp4Text(
                                "\xA9"
                                "alb",
                                "Record") +
                            Mp4Text("aART", "Band") + Mp4Pair("trkn", 3, 12) + Mp4Pair("disk", 1, 2) +
                            Mp4Text(
                                "\xA9"
                                "day",
                                "2021") +
                            Mp4Box("gnre", Mp4Data(0, Be16(18))) + Mp4Text("\xA9wrt", "Writer");
  const std::vector<std::string> comments = {"TITLE=Song",    "ARTIST=Singer", "ALBUM=Record", "TRACKNUMBER=3",
                                             "TRACKTOTAL=12", "DATE=2021",     "GENRE=Pop",    "COMPOSER=Writer"};
  const std::string tags =
      EbmlElement(0x1254C367, MatroskaTag(50, {{"TITLE", "Record"}, {"ARTIST", "Band"}}) +
                                  MatroskaTag(30, {{"TITLE", "Song"}, {"ARTIST", "Singer"}, {"PART_NUMBER", "3"}}));
  const std::string cluster =
      EbmlElement(0x1F43B675, EbmlUnsigned(0xE7, 0) + EbmlElement(0xA3, std::string(200, '\x5A')));
  return {
      Mp4File("M4A ", Mp4MovieHeader(44100, 44100 * 200) + Mp4Track("soun", 0, 0) + Mp4UserDataItems(items)),
      Mp4File("qt  ", Mp4MovieHeader(600, 600 * 65, 1) + Mp4Track("vide", 1920, 1080, 1) +
                          Mp4KeyedItems({{"com.apple.quicktime.title", "Clip"}, {"com.apple.quicktime.artist", "Me"}})),
      FlacFile(44100, 44100 * 95, comments),
      Id3v2Tag(40, true) + FlacFile(48000, 48000 * 10, {"TITLE=Tagged"}),
      OggFile(VorbisIdentification(44100), VorbisCommentPacket(comments), 44100 * 61),
      OggFile(OpusHead(312), "OpusTags" + VorbisComment("opus", comments), 48000 * 30 + 312),
      OggFile(SpeexHeader(16000), VorbisComment("speex", comments), 16000 * 5),
      OggFile(OggFlacHeader(44100, 44100 * 7), FlacBlock(4, VorbisComment("flac", comments), true), 44100 * 7),
      AsfFile({AsfFileProperties(2050000000, 3000), AsfContentDescription("Song", "Singer"),
               AsfExtendedContent({{"WM/AlbumTitle", 0, Utf16Le("Record", true)},
                                   {"WM/TrackNumber", 3, Le32(3)},
                                   {"WM/Year", 0, Utf16Le("2021", true)}}),
               AsfHeaderExtension({{"WM/Genre", 0, Utf16Le("Pop", true)}, {"WM/Composer", 0, Utf16Le("Writer", true)}}),
               AsfAudioStream()}),
      AsfFile({AsfFileProperties(600000000, 0), AsfAudioStream(), AsfVideoStream(1280, 720),
               AsfContentDescription("Clip", "")}),
      MatroskaFile("matroska", EbmlElement(0xEC, std::string(20, '\0')) + MatroskaInfo("Movie", 95000.0) +
                                   EbmlElement(0x1654AE6B, MatroskaAudioTrack() + MatroskaVideoTrack(1920, 800)) +
                                   cluster + tags),
      MatroskaFile("webm",
                   MatroskaInfo("", 1234.5, 1000000) + EbmlElement(0x1654AE6B, MatroskaVideoTrack(640, 360)) + cluster,
                   true),
  };
}

}  // namespace korval::media
