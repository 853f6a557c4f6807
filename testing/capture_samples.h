// Photographs and movies built byte by byte for the capture-time tests: TIFF streams and the
// containers that carry them, and ISO media boxes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "testing/byte_order.h"

namespace korval::samples {

// One directory entry; a value longer than four bytes is stored behind the directories.
struct Tag {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  std::string value;
};

// A date entry: the text and zeros up to `count` bytes.
inline Tag DateTag(uint16_t tag, const std::string& text, uint32_t count = 20) {
  std::string value = text;
  value.resize(count, '\0');
  return {tag, 2, count, value};
}
inline Tag Original(const std::string& text, uint32_t count = 20) { return DateTag(0x9003, text, count); }
inline Tag Digitized(const std::string& text, uint32_t count = 20) { return DateTag(0x9004, text, count); }

struct TiffLayout {
  bool big = false;
  std::vector<Tag> first;  // the first directory
  std::vector<Tag> exif;   // the EXIF directory; a pointer to it is added to the first when not empty
  uint32_t nextOfFirst = 0;  // the first directory's link to the next one (0: none)
};

// A TIFF stream: header, first directory, EXIF directory, then the values that do not fit.
inline std::string Tiff(const TiffLayout& layout) {
  const bool big = layout.big;
  auto u16 = [big](uint16_t v) { return big ? Be16(v) : Le16(v); };
  auto u32 = [big](uint32_t v) { return big ? Be32(v) : Le32(v); };
  std::vector<Tag> first = layout.first;
  const size_t firstSize = 2 + 12 * (first.size() + (layout.exif.empty() ? 0 : 1)) + 4;
  const uint32_t exifAt = static_cast<uint32_t>(8 + firstSize);
  if (!layout.exif.empty()) first.push_back({0x8769, 4, 1, u32(exifAt)});
  const size_t exifSize = layout.exif.empty() ? 0 : 2 + 12 * layout.exif.size() + 4;
  std::string data;
  const size_t dataAt = exifAt + exifSize;
  auto directory = [&](const std::vector<Tag>& tags, uint32_t next) {
    std::string out = u16(static_cast<uint16_t>(tags.size()));
    for (const Tag& t : tags) {
      out += u16(t.tag) + u16(t.type) + u32(t.count);
      if (t.value.size() <= 4) {
        out += t.value + std::string(4 - t.value.size(), '\0');
      } else {
        out += u32(static_cast<uint32_t>(dataAt + data.size()));
        data += t.value;
        if (data.size() % 2 != 0) data += '\0';
      }
    }
    return out + u32(next);
  };
  std::string out = big ? std::string("MM\0\x2A", 4) : std::string("II\x2A\0", 4);
  out += u32(8);
  out += directory(first, layout.nextOfFirst);
  if (!layout.exif.empty()) out += directory(layout.exif, 0);
  return out + data;
}

// The usual photograph: the dates in the EXIF directory.
inline std::string ExifTiff(bool big, std::vector<Tag> dates) {
  TiffLayout layout;
  layout.big = big;
  layout.first = {{0x010F, 2, 6, std::string("Maker\0", 6)}};
  layout.exif = std::move(dates);
  return Tiff(layout);
}

inline std::string Segment(unsigned char marker, const std::string& body) {
  return std::string{'\xFF', static_cast<char>(marker)} + Be16(static_cast<uint16_t>(body.size() + 2)) + body;
}

// A JPEG image: a JFIF segment, the EXIF segment, a table, the image data and its end.
inline std::string Jpeg(const std::string& tiff) {
  return std::string("\xFF\xD8", 2) + Segment(0xE0, std::string("JFIF\0\x01\x02\0\0\x01\0\x01\0\0", 14)) +
         Segment(0xE1, std::string("Exif\0\0", 6) + tiff) + Segment(0xDB, std::string(65, '\x10')) +
         Segment(0xDA, std::string(10, '\0')) + std::string(300, '\x5A') + std::string("\xFF\xD9", 2);
}

inline std::string Raf(const std::string& jpeg) {
  std::string out = "FUJIFILMCCD-RAW 0201FF393101";
  out.resize(84, '\0');
  out += Be32(100) + Be32(static_cast<uint32_t>(jpeg.size()));
  out.resize(100, '\0');
  return out + jpeg + std::string(500, '\x77');
}

inline std::string Mrw(const std::string& tiff) {
  const std::string blocks = std::string("\0PRD", 4) + Be32(8) + std::string(8, '\x01') + std::string("\0TTW", 4) +
                             Be32(static_cast<uint32_t>(tiff.size())) + tiff;
  return std::string("\0MRM", 4) + Be32(static_cast<uint32_t>(blocks.size())) + blocks + std::string(400, '\x66');
}

inline std::string RiffChunk(const std::string& name, const std::string& body) {
  return name + Le32(static_cast<uint32_t>(body.size())) + body + (body.size() % 2 ? std::string(1, '\0') : "");
}

inline std::string WebP(const std::string& tiff, bool exifPrefix) {
  const std::string chunks = RiffChunk("VP8X", std::string(10, '\x08')) + RiffChunk("VP8 ", std::string(31, '\x44')) +
                             RiffChunk("EXIF", (exifPrefix ? std::string("Exif\0\0", 6) : "") + tiff);
  return "RIFF" + Le32(static_cast<uint32_t>(4 + chunks.size())) + "WEBP" + chunks;
}

inline std::string PngChunk(const std::string& name, const std::string& body) {
  return Be32(static_cast<uint32_t>(body.size())) + name + body + Be32(0x12345678);
}

inline std::string Png(const std::string& tiff) {
  return std::string("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", std::string(13, '\x01')) + PngChunk("eXIf", tiff) +
         PngChunk("IDAT", std::string(100, '\x02')) + PngChunk("IEND", "");
}

// A PSD document: header, empty colour table, a thumbnail resource with a name, the EXIF one.
inline std::string Psd(const std::string& tiff) {
  std::string header = "8BPS" + Be16(1) + std::string(6, '\0') + Be16(3) + Be32(10) + Be32(10) + Be16(8) + Be16(3);
  auto resource = [](uint16_t id, const std::string& name, const std::string& data) {
    std::string nameField = std::string(1, static_cast<char>(name.size())) + name;
    if (nameField.size() % 2) nameField += '\0';
    return "8BIM" + Be16(id) + nameField + Be32(static_cast<uint32_t>(data.size())) + data +
           (data.size() % 2 ? std::string(1, '\0') : "");
  };
  const std::string resources = resource(1036, "thumb", std::string(41, '\x09')) + resource(1058, "", tiff);
  return header + Be32(0) + Be32(static_cast<uint32_t>(resources.size())) + resources + std::string(100, '\x01');
}

// ISO media boxes.
inline std::string Box(const std::string& type, const std::string& body) {
  return Be32(static_cast<uint32_t>(8 + body.size())) + type + body;
}
inline std::string Box64(const std::string& type, const std::string& body) {
  return Be32(1) + type + Be64(16 + body.size()) + body;
}
inline std::string FullBox(const std::string& type, uint8_t version, const std::string& body) {
  return Box(type, std::string(1, static_cast<char>(version)) + std::string(3, '\0') + body);
}
inline std::string FileType(const std::string& brand) { return Box("ftyp", brand + Be32(0) + brand + "isom"); }

inline std::string MovieHeader(uint64_t created, int version = 0) {
  if (version == 1) {
    return FullBox("mvhd", 1, Be64(created) + Be64(created + 5) + Be32(600) + Be64(6000) + std::string(80, '\0'));
  }
  return FullBox("mvhd", 0, Be32(static_cast<uint32_t>(created)) + Be32(static_cast<uint32_t>(created + 5)) +
                                Be32(600) + Be32(6000) + std::string(80, '\0'));
}

inline std::string Track() { return Box("trak", Box("tkhd", std::string(84, '\x01'))); }

// The local time phones write beside the movie header: Apple's creation-date key in a QuickTime
// 'meta' box (keys, then the item list that numbers them), ...
inline std::string ItemValue(const std::string& text) { return Box("data", Be32(1) + Be32(0) + text); }
inline std::string AppleCreationDate(const std::string& text) {
  const std::string other = "com.apple.quicktime.make", key = "com.apple.quicktime.creationdate";
  const std::string keys = FullBox("keys", 0, Be32(2) + Be32(static_cast<uint32_t>(8 + other.size())) + "mdta" +
                                                  other + Be32(static_cast<uint32_t>(8 + key.size())) + "mdta" + key);
  const std::string items = Box(Be32(1), ItemValue("Apple")) + Box(Be32(2), ItemValue(text));
  return Box("meta", FullBox("hdlr", 0, Be32(0) + "mdta" + std::string(13, '\0')) + keys + Box("ilst", items));
}
// ... a QuickTime text in 'udta' (length, language, text) ...
inline std::string UserDataDay(const std::string& text) {
  return Box("udta", Box("\xA9" "day", Be16(static_cast<uint16_t>(text.size())) + Be16(0x55C4) + text));
}
// ... or the ©day item of an item list in 'udta'.
inline std::string UserDataItemDay(const std::string& text) {
  return Box("udta", FullBox("meta", 0, FullBox("hdlr", 0, Be32(0) + "mdir" + std::string(13, '\0')) +
                                            Box("ilst", Box("\xA9" "day", ItemValue(text)))));
}

// A HEIF photograph: 'meta' names item 2 as the EXIF item and places it in 'mdat' (or in 'idat').
struct HeifLayout {
  int ilocVersion = 0;
  int iinfVersion = 0;
  int infeVersion = 2;
  bool inItemData = false;  // construction method 1 (needs iloc version 1 or 2)
  bool exifPrefix = true;   // "Exif" 0 0 between the offset field and the TIFF header
  uint32_t claimedEntries = 0;  // iinf's count when not the real one
  bool baseOffsets = false;     // each item's place as a base offset of 4 bytes, its extent at 0 from it
  std::string extraMeta;        // further boxes at the end of 'meta' (the primary item, its properties)
};

inline std::string Heif(const std::string& tiff, const HeifLayout& layout) {
  const std::string prefix = layout.exifPrefix ? std::string("Exif\0\0", 6) : "";
  const std::string item = Be32(static_cast<uint32_t>(prefix.size())) + prefix + tiff;
  auto infe = [&](uint32_t id, const std::string& type) {
    const std::string idField = layout.infeVersion == 2 ? Be16(static_cast<uint16_t>(id)) : Be32(id);
    return FullBox("infe", static_cast<uint8_t>(layout.infeVersion), idField + Be16(0) + type + std::string(1, '\0'));
  };
  const uint32_t entries = layout.claimedEntries ? layout.claimedEntries : 2;
  const std::string iinf =
      FullBox("iinf", static_cast<uint8_t>(layout.iinfVersion),
              (layout.iinfVersion == 0 ? Be16(static_cast<uint16_t>(entries)) : Be32(entries)) + infe(1, "hvc1") +
                  infe(2, "Exif"));
  auto iloc = [&](uint32_t imageOffset, uint32_t exifOffset) {
    const int v = layout.ilocVersion;
    // Offsets and lengths of 4 bytes; base offsets of 4 bytes or none; no indexes.
    std::string body = std::string("\x44", 1) + std::string(1, layout.baseOffsets ? '\x40' : '\0');
    body += v < 2 ? Be16(2) : Be32(2);
    auto entry = [&](uint32_t id, int method, uint32_t offset, uint32_t length) {
      std::string e = v < 2 ? Be16(static_cast<uint16_t>(id)) : Be32(id);
      if (v >= 1) e += Be16(static_cast<uint16_t>(method));
      if (layout.baseOffsets) return e + Be16(0) + Be32(offset) + Be16(1) + Be32(0) + Be32(length);
      return e + Be16(0) + Be16(1) + Be32(offset) + Be32(length);
    };
    body += entry(1, 0, imageOffset, 50);
    body += entry(2, layout.inItemData ? 1 : 0, exifOffset, static_cast<uint32_t>(item.size()));
    return FullBox("iloc", static_cast<uint8_t>(v), body);
  };
  const std::string handler = FullBox("hdlr", 0, Be32(0) + "pict" + std::string(13, '\0'));
  auto build = [&](uint32_t imageOffset, uint32_t exifOffset) {
    std::string meta = handler + iinf + iloc(imageOffset, exifOffset);
    if (layout.inItemData) meta += Box("idat", item);
    meta += layout.extraMeta;
    return FileType("heic") + FullBox("meta", 0, meta);
  };
  // The offsets depend on where 'mdat' starts, which does not depend on the offsets' values.
  const size_t mdatData = build(0, 0).size() + 8;
  const std::string image(50, '\x3C');
  const uint32_t exifOffset = layout.inItemData ? 0 : static_cast<uint32_t>(mdatData + image.size());
  return build(static_cast<uint32_t>(mdatData), exifOffset) +
         Box("mdat", image + (layout.inItemData ? "" : item));
}

// A CR3 raw file: the metadata box under 'moov' holds a main directory and an EXIF directory.
inline std::string Cr3(const std::string& mainTiff, const std::string& exifTiff, uint32_t movieTime) {
  const std::string metadataId("\x85\xc0\xb6\x87\x82\x0f\x11\xe0\x81\x11\xf4\xce\x46\x2b\x6a\x48", 16);
  const std::string metadata =
      Box("uuid", metadataId + Box("CNCV", "CR3 compression 1.0") + Box("CMT1", mainTiff) + Box("CMT2", exifTiff));
  return FileType("crx ") + Box("moov", metadata + MovieHeader(movieTime) + Track()) + Box("mdat", std::string(200, '\x01'));
}

// An X3F raw file: header, a JPEG preview section (when given), a raw image section, the property
// list, and the directory of sections at the end, which the last four bytes point at.
inline std::string Utf16(const std::string& ascii) {
  std::string out;
  for (char c : ascii) out += std::string{c, '\0'};
  return out + std::string(2, '\0');
}

inline std::string X3f(const std::string& jpeg, const std::vector<std::pair<std::string, std::string>>& properties) {
  std::string file = "FOVb" + Le32(0x00020003) + std::string(16, '\x11') + Le32(0) + Le32(640) + Le32(480) + Le32(0);
  file.resize(96, '\0');
  std::string directory;
  auto section = [&](const std::string& kind, const std::string& bytes) {
    directory += Le32(static_cast<uint32_t>(file.size())) + Le32(static_cast<uint32_t>(bytes.size())) + kind;
    file += bytes;
  };
  auto image = [](uint32_t type, uint32_t format, const std::string& data) {
    return "SECi" + Le32(0x00020000) + Le32(type) + Le32(format) + Le32(64) + Le32(48) + Le32(192) + data;
  };
  if (!jpeg.empty()) section("IMA2", image(2, 18, jpeg));
  section("IMAG", image(3, 30, std::string(300, '\x5E')));
  std::string table, text;
  for (const auto& [name, value] : properties) {
    table += Le32(static_cast<uint32_t>(text.size() / 2));
    text += Utf16(name);
    table += Le32(static_cast<uint32_t>(text.size() / 2));
    text += Utf16(value);
  }
  section("PROP", "SECp" + Le32(0x00020000) + Le32(static_cast<uint32_t>(properties.size())) + Le32(0) + Le32(0) +
                      Le32(static_cast<uint32_t>(text.size() / 2)) + table + text);
  const uint32_t directoryAt = static_cast<uint32_t>(file.size());
  const uint32_t count = static_cast<uint32_t>(directory.size() / 12);
  return file + "SECd" + Le32(0x00020000) + Le32(count) + directory + Le32(directoryAt);
}

}  // namespace korval::samples
