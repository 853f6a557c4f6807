// Music files built byte by byte for the tag reader tests.
#include "testing/music_samples.h"

#include <algorithm>

namespace korval {
namespace music_samples {

std::string Syncsafe(uint32_t v) {
  return {static_cast<char>(v >> 21 & 0x7F), static_cast<char>(v >> 14 & 0x7F), static_cast<char>(v >> 7 & 0x7F),
          static_cast<char>(v & 0x7F)};
}

std::string Latin1Bytes(std::wstring_view text) {
  std::string out;
  for (wchar_t c : text) out += static_cast<char>(c);
  return out;
}

std::string Utf8Bytes(std::wstring_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Utf16Bytes(std::wstring_view text, bool bigEndian) {
  std::string out;
  for (wchar_t c : text) out += bigEndian ? Be16(static_cast<uint16_t>(c)) : Le16(static_cast<uint16_t>(c));
  return out;
}

std::string TextData(int encoding, std::wstring_view text) {
  std::string out(1, static_cast<char>(encoding));
  const bool wide = encoding == kUtf16 || encoding == kUtf16Be;
  size_t start = 0;
  while (true) {
    const size_t end = std::min(text.find(L'\0', start), text.size());
    const std::wstring_view value = text.substr(start, end - start);
    if (start != 0) out += wide ? std::string(2, '\0') : std::string(1, '\0');
    switch (encoding) {
      case kLatin1: out += Latin1Bytes(value); break;
      case kUtf16: out += "\xFF\xFE" + Utf16Bytes(value, false); break;
      case kUtf16Be: out += Utf16Bytes(value, true); break;
      default: out += Utf8Bytes(value); break;
    }
    if (end == text.size()) break;
    start = end + 1;
  }
  return out;
}

std::string Id3Frame(int version, std::string_view id, std::string_view data, uint16_t flags, bool plainSize) {
  const auto size = static_cast<uint32_t>(data.size());
  std::string out(id);
  if (version == 2) {
    out += Be32(size).substr(1);
  } else {
    out += version == 4 && !plainSize ? Syncsafe(size) : Be32(size);
    out += Be16(flags);
  }
  return out + std::string(data);
}

std::string Id3Text(int version, std::string_view id, int encoding, std::wstring_view text) {
  return Id3Frame(version, id, TextData(encoding, text));
}

std::string Unsynchronised(std::string_view bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += bytes[i];
    if (bytes[i] != '\xFF') continue;
    if (i + 1 == bytes.size() || static_cast<unsigned char>(bytes[i + 1]) >= 0xE0 || bytes[i + 1] == '\0') out += '\0';
  }
  return out;
}

std::string Id3Tag(int version, std::string_view body, uint8_t flags, size_t padding) {
  std::string content = version < 4 && (flags & 0x80) ? Unsynchronised(body) : std::string(body);
  content += std::string(padding, '\0');
  const std::string rest = std::string{static_cast<char>(version), '\0', static_cast<char>(flags)} +
                           Syncsafe(static_cast<uint32_t>(content.size()));
  std::string out = "ID3" + rest + content;
  if (version == 4 && (flags & 0x10)) out += "3DI" + rest;
  return out;
}

std::string Id3v1(std::string_view title, std::string_view artist, std::string_view album, std::string_view year,
                  int track, uint8_t genre) {
  auto field = [](std::string_view text, size_t size) {
    std::string f(text.substr(0, size));
    f.resize(size, '\0');
    return f;
  };
  std::string out = "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4);
  out += track > 0 ? field("a comment", 28) + '\0' + static_cast<char>(track) : field("a comment", 30);
  return out + static_cast<char>(genre);
}

std::string ApeItem(std::string_view key, std::string_view value, uint32_t flags) {
  return Le32(static_cast<uint32_t>(value.size())) + Le32(flags) + std::string(key) + '\0' + std::string(value);
}

std::string ApeTag(std::string_view items, uint32_t count, uint32_t version, bool header, bool footer) {
  const auto size = static_cast<uint32_t>(items.size() + (footer ? 32 : 0));
  auto frame = [&](uint32_t flags) {
    return "APETAGEX" + Le32(version) + Le32(size) + Le32(count) + Le32(flags) + std::string(8, '\0');
  };
  const uint32_t hasHeader = header ? 1u << 31 : 0;
  std::string out;
  if (header) out += frame(hasHeader | 1u << 29 | (footer ? 0 : 1u << 30));
  out += items;
  if (footer) out += frame(hasHeader);
  return out;
}

std::string MpegFrames(uint32_t header, size_t length, int count) {
  std::string frame = Be32(header) + std::string(length - 4, '\0');
  std::string out;
  for (int i = 0; i < count; ++i) out += frame;
  return out;
}

std::string XingFrame(uint32_t header, size_t length, size_t offset, uint32_t frames, std::string_view name) {
  std::string frame = MpegFrames(header, length, 1);
  frame.replace(offset, 12, std::string(name) + Be32(1) + Be32(frames));
  return frame;
}

std::string VbriFrame(uint32_t header, size_t length, uint32_t frames) {
  std::string frame = MpegFrames(header, length, 1);
  frame.replace(36, 18, "VBRI" + Be16(1) + Be16(0) + Be16(75) + Be32(static_cast<uint32_t>(length) * frames) + Be32(frames));
  return frame;
}

std::string RiffChunk(std::string_view id, std::string_view data) {
  std::string out = std::string(id) + Le32(static_cast<uint32_t>(data.size())) + std::string(data);
  if (data.size() % 2) out += '\0';
  return out;
}

std::string Riff(std::string_view form, std::string_view chunks) {
  return "RIFF" + Le32(static_cast<uint32_t>(4 + chunks.size())) + std::string(form) + std::string(chunks);
}

std::string WaveFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
  const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
  return RiffChunk("fmt ", Le16(1) + Le16(channels) + Le32(rate) + Le32(rate * block) + Le16(block) + Le16(bits));
}

std::string InfoList(const std::vector<std::pair<std::string, std::string>>& items) {
  std::string body = "INFO";
  for (const auto& [id, text] : items) body += RiffChunk(id, text + '\0');
  return RiffChunk("LIST", body);
}

std::string AviHeaderList(uint32_t microsecondsPerFrame, uint32_t frames, uint32_t width, uint32_t height,
                          std::string_view more) {
  const std::string avih = Le32(microsecondsPerFrame) + Le32(0) + Le32(0) + Le32(0x10) + Le32(frames) + Le32(0) +
                           Le32(1) + Le32(0) + Le32(width) + Le32(height) + std::string(16, '\0');
  return RiffChunk("LIST", "hdrl" + RiffChunk("avih", avih) + std::string(more));
}

std::string AiffChunk(std::string_view id, std::string_view data) {
  std::string out = std::string(id) + Be32(static_cast<uint32_t>(data.size())) + std::string(data);
  if (data.size() % 2) out += '\0';
  return out;
}

std::string Aiff(std::string_view form, std::string_view chunks) {
  return "FORM" + Be32(static_cast<uint32_t>(4 + chunks.size())) + std::string(form) + std::string(chunks);
}

std::string Extended80(uint32_t whole) {
  int exponent = 31;
  while (exponent > 0 && (whole >> exponent) == 0) --exponent;
  const uint64_t mantissa = uint64_t{whole} << (63 - exponent);
  return Be16(static_cast<uint16_t>(16383 + exponent)) + Be32(static_cast<uint32_t>(mantissa >> 32)) +
         Be32(static_cast<uint32_t>(mantissa));
}

std::string AiffComm(uint32_t frames, uint32_t rate) {
  return AiffChunk("COMM", Be16(2) + Be32(frames) + Be16(16) + Extended80(rate));
}

std::string Dsf(uint32_t frequency, uint64_t samples, std::string_view id3) {
  const std::string fmt = "fmt " + Le64(52) + Le32(1) + Le32(0) + Le32(2) + Le32(2) + Le32(frequency) + Le32(1) +
                          Le64(samples) + Le32(4096) + Le32(0);
  const std::string data = "data" + Le64(12 + 4096) + std::string(4096, '\x69');
  const uint64_t id3At = 28 + fmt.size() + data.size();
  const uint64_t total = id3At + id3.size();
  return "DSD " + Le64(28) + Le64(total) + Le64(id3.empty() ? 0 : id3At) + fmt + data + std::string(id3);
}

}  // namespace music_samples

std::vector<std::string> MusicSamples() {
  using namespace music_samples;
  const std::string frames3 = Id3Text(3, "TIT2", kUtf16, L"Song") + Id3Text(3, "TPE1", kLatin1, L"Mot\xF6rhead") +
                              Id3Text(3, "TALB", kLatin1, L"Album") + Id3Text(3, "TRCK", kLatin1, L"3/12") +
                              Id3Text(3, "TYER", kLatin1, L"1999") + Id3Text(3, "TCON", kLatin1, L"(13)");
  const std::string frames4 =
      Id3Text(4, "TIT2", kUtf8, L"曲名") + Id3Text(4, "TPE1", kUtf16Be, std::wstring(L"A\0B", 3)) +
      Id3Frame(4, "TALB", Unsynchronised(TextData(kUtf16, L"\xFF\xFF")), 0x02) + Id3Text(4, "TDRC", kLatin1, L"2004-05-06") +
      Id3Text(4, "TCON", kLatin1, std::wstring(L"13\0Eurodisco", 12));
  const std::string frames2 = Id3Text(2, "TT2", kLatin1, L"\xFFtwo") + Id3Text(2, "TP1", kUtf16, L"Artist") +
                              Id3Text(2, "TCO", kLatin1, L"(4)");
  const uint32_t mpeg1 = 0xFFFB9000;     // MPEG-1 layer III, 128 kbit/s, 44.1 kHz: 417-byte frames
  const uint32_t mpeg25 = 0xFFE318C4;    // MPEG-2.5 layer III, 8 kbit/s, 8 kHz, mono: 72-byte frames
  std::vector<std::string> samples;
  samples.push_back(Id3Tag(3, frames3, 0, 64) + XingFrame(mpeg1, 417, 36, 8000) + MpegFrames(mpeg1, 417, 3) +
                    ApeTag(ApeItem("Composer", "Someone"), 1) + Id3v1("v1 title", "v1 artist", "", "1998", 7, 17));
  samples.push_back(Id3Tag(4, frames4, 0x10) + MpegFrames(mpeg25, 72, 2) + std::string(20000, '\0'));
  samples.push_back(Id3Tag(2, frames2, 0x80) + VbriFrame(mpeg1, 417, 5000) + MpegFrames(mpeg1, 417, 2));
  samples.push_back(Riff("WAVE", WaveFormat(2, 8000, 16) + RiffChunk("data", std::string(3001, '\x11')) +
                                     InfoList({{"INAM", "Wave title"}, {"IART", "Wave artist"}, {"ICRD", "2001-02-03"}}) +
                                     RiffChunk("id3 ", Id3Tag(3, Id3Text(3, "TALB", kLatin1, L"From ID3")))));
  samples.push_back(Riff("AVI ", AviHeaderList(40000, 250, 640, 480,
                                               RiffChunk("LIST", "odml" + RiffChunk("dmlh", Le32(1500)))) +
                                     InfoList({{"INAM", "Movie"}}) + RiffChunk("LIST", "movi" + std::string(100, '\0'))));
  samples.push_back(Aiff("AIFF", AiffComm(441000, 44100) + AiffChunk("NAME", "Aiff title") + AiffChunk("AUTH", "Aiff artist") +
                                     AiffChunk("SSND", std::string(999, '\0')) +
                                     AiffChunk("ID3 ", Id3Tag(4, Id3Text(4, "TALB", kUtf8, L"Aiff album")))));
  samples.push_back(Dsf(2822400, 2822400ull * 125, Id3Tag(3, Id3Text(3, "TIT2", kLatin1, L"DSD title"))));
  samples.push_back("MAC " + std::string(500, '\x01') +
                    ApeTag(ApeItem("Title", "Ape title") + ApeItem("ARTIST", std::string("A\0B", 3)), 2, 2000, true) +
                    Id3v1("", "", "v1 album", "", 0, 255));
  return samples;
}

}  // namespace korval
