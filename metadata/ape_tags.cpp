// APE tags (versions 1 and 2): a 32-byte footer at the end of the file (before an ID3v1 tag) or a
// header at its start, and the items between; also the files that carry them as their only tag.
#include <algorithm>
#include <cstring>
#include <string>

#include "metadata/tag_readers.h"
#include "metadata/tag_text.h"

namespace korval {
namespace {

constexpr uint64_t kFrameSize = 32;  // the header and the footer
constexpr uint64_t kId3v1Size = 128;
constexpr uint32_t kMaxItems = 4096;
constexpr size_t kMaxKeyBytes = 255;
constexpr uint32_t kMaxTextBytes = 65536;  // longer text items are skipped, not read
constexpr size_t kMaxValues = 64;          // values separated by NULs in one item
constexpr uint32_t kFlagHasHeader = 1u << 31;
constexpr uint32_t kFlagHasNoFooter = 1u << 30;
constexpr uint32_t kFlagIsHeader = 1u << 29;

constexpr TagSet kItemTags = kMusicTextTags;

struct KeyTag {
  const char* key;
  Tag tag;
};
constexpr KeyTag kKeys[] = {
    {"title", Tag::Title},         {"artist", Tag::Artist}, {"album", Tag::Album},
    {"album artist", Tag::AlbumArtist}, {"albumartist", Tag::AlbumArtist}, {"track", Tag::Track},
    {"disc", Tag::Disc},           {"year", Tag::Year},     {"genre", Tag::Genre},
    {"composer", Tag::Composer},
};

uint32_t Le32(const unsigned char* b) {
  return uint32_t{b[3]} << 24 | uint32_t{b[2]} << 16 | uint32_t{b[1]} << 8 | b[0];
}

bool TagOfKey(std::string_view key, Tag& tag) {
  for (const KeyTag& k : kKeys) {
    const std::string_view known = k.key;
    if (known.size() != key.size()) continue;
    bool same = true;
    for (size_t i = 0; i < key.size() && same; ++i) {
      char c = key[i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      same = c == known[i];
    }
    if (same) {
      tag = k.tag;
      return true;
    }
  }
  return false;
}

// Where the items lie.
struct ApeTag {
  uint32_t version = 0;
  uint32_t itemCount = 0;
  uint64_t itemsStart = 0;
  uint64_t itemsEnd = 0;
};

bool ReadFrame(ByteSource& source, uint64_t at, unsigned char (&b)[kFrameSize], uint32_t& version, uint32_t& size,
               uint32_t& flags) {
  if (!source.Read(at, kFrameSize, b) || std::memcmp(b, "APETAGEX", 8) != 0) return false;
  version = Le32(b + 8);
  size = Le32(b + 12);
  flags = Le32(b + 20);
  return (version == 1000 || version == 2000) && size >= kFrameSize;
}

bool FindTag(ByteSource& source, ApeTag& tag) {
  unsigned char b[kFrameSize];
  uint32_t version = 0, size = 0, flags = 0;
  const uint64_t fileSize = source.Size();
  std::string id3v1;
  const bool behindId3v1 = fileSize >= kId3v1Size && source.ReadText(fileSize - kId3v1Size, 3, id3v1) && id3v1 == "TAG";
  // The footer; the size counts the items and the footer, not the header. "TAG" 128 bytes before the
  // end may also be an item's text, so the very end is tried too.
  for (const uint64_t end : {fileSize - (behindId3v1 ? kId3v1Size : 0), fileSize}) {
    if (end >= kFrameSize && ReadFrame(source, end - kFrameSize, b, version, size, flags) &&
        (flags & kFlagIsHeader) == 0 && size <= end) {
      tag.version = version;
      tag.itemCount = Le32(b + 16);
      tag.itemsStart = end - size;
      tag.itemsEnd = end - kFrameSize;
      return true;
    }
    if (!behindId3v1) break;
  }
  // A header at the start of the file (version 2 only).
  if (ReadFrame(source, 0, b, version, size, flags) && version == 2000 && (flags & kFlagIsHeader) != 0) {
    const uint64_t items = size - ((flags & kFlagHasNoFooter) ? 0 : kFrameSize);
    if (items > fileSize - kFrameSize) return false;
    tag.version = version;
    tag.itemCount = Le32(b + 16);
    tag.itemsStart = kFrameSize;
    tag.itemsEnd = kFrameSize + items;
    return true;
  }
  return false;
}

void ReadItems(ByteSource& source, const ApeTag& tag, TagValues& values) {
  uint64_t at = tag.itemsStart;
  const uint32_t count = std::min(tag.itemCount, kMaxItems);
  std::string key, value;
  for (uint32_t i = 0; i < count; ++i) {
    unsigned char head[8];
    if (tag.itemsEnd - at < sizeof(head) || !source.Read(at, sizeof(head), head)) return;
    const uint32_t size = Le32(head);
    const uint32_t flags = Le32(head + 4);
    const uint64_t keyAt = at + sizeof(head);
    if (!source.ReadText(keyAt, static_cast<size_t>(std::min<uint64_t>(kMaxKeyBytes + 1, tag.itemsEnd - keyAt)), key)) {
      return;
    }
    const size_t keyLength = key.find('\0');
    if (keyLength == std::string::npos || keyLength < 2) return;  // no key: the items are damaged
    key.resize(keyLength);
    if (!std::all_of(key.begin(), key.end(), [](char c) { return c >= 0x20 && c <= 0x7E; })) return;
    const uint64_t valueAt = keyAt + keyLength + 1;
    if (size > tag.itemsEnd - valueAt) return;
    at = valueAt + size;
    // Version 2 marks binary items and links in bits 1-2; version 1 knows only text.
    const bool text = tag.version == 1000 || ((flags >> 1) & 3) == 0;
    Tag which{};
    if (!text || !TagOfKey(key, which) || !values.Wanted().Has(which) || size > kMaxTextBytes) continue;
    if (!source.ReadText(valueAt, size, value) || value.size() != size) return;
    std::string_view rest = value;
    for (size_t n = 0; n < kMaxValues && !rest.empty(); ++n) {
      const size_t end = std::min(rest.find('\0'), rest.size());
      const std::string_view piece = rest.substr(0, end);
      values.Put(which, tag.version == 1000 ? TextFromLatin1(piece) : TextFromUtf8(piece));
      rest.remove_prefix(std::min(end + 1, rest.size()));
    }
  }
}

}  // namespace

bool ReadApeTags(ByteSource& source, TagValues& values) {
  ApeTag tag;
  if (!FindTag(source, tag)) return false;
  if (values.WantsAny(kItemTags)) {
    TagValues found(values.Wanted().Without(values.Found()));
    ReadItems(source, tag, found);
    values.MergeMissing(found);
  }
  return true;
}

void ReadApeFamilyTags(ByteSource& source, TagValues& values) {
  std::string magic;
  if (!source.ReadText(0, 4, magic) || magic.size() != 4) return;
  if (magic != "MAC " && magic != "MPCK" && magic != "wvpk" && magic.compare(0, 3, "MP+") != 0) return;
  if (!values.WantsAny(kItemTags)) return;
  ReadApeTags(source, values);
  ReadId3v1Tags(source, values);  // fills only what the APE tag left open
}

}  // namespace korval
