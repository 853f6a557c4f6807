// The tags of ISO media files (MP4, M4A, M4B, M4V, MOV, 3GP): the item list under moov/udta/meta or
// the keyed items of moov/meta, the movie header's duration, and the size of the first video track.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "metadata/iso_boxes.h"
#include "metadata/tag_readers.h"
#include "metadata/tag_text.h"

namespace korval {
namespace {

using iso::Box;
using iso::ForEachBox;
using iso::MetaChildren;

constexpr size_t kMaxKeys = 1024;           // entries of a 'keys' box looked at
constexpr size_t kMaxValueBytes = 16384;    // a tag text longer than this is cut
constexpr uint32_t kTypeBinary = 0;
constexpr uint32_t kTypeUtf8 = 1;
constexpr uint32_t kTypeUtf16 = 2;
constexpr uint32_t kTypeInteger = 21;

// The tags the reader looks for, as found when it started: several values of one tag are all put.
struct Reading {
  ByteSource& source;
  TagValues& values;
  TagSet open;
  void Put(Tag tag, std::wstring text) {
    if (open.Has(tag)) values.Put(tag, std::move(text));
  }
};

// "n/total" or "n" from the binary value of trkn and disk.
std::wstring NumberPair(const std::string& value) {
  if (value.size() < 6) return {};
  const auto number =
      static_cast<unsigned>(static_cast<unsigned char>(value[2]) << 8 | static_cast<unsigned char>(value[3]));
  const auto total =
      static_cast<unsigned>(static_cast<unsigned char>(value[4]) << 8 | static_cast<unsigned char>(value[5]));
  if (number == 0) return {};
  return total == 0 ? std::to_wstring(number) : std::to_wstring(number) + L"/" + std::to_wstring(total);
}

// Each 'data' box of an item as the tag's value (text items) or read by `kind` (pairs, genre index).
enum class ItemKind { kText, kPair, kGenreIndex };

void ReadItemValues(Reading& r, const Box& item, Tag tag, ItemKind kind) {
  ForEachBox(r.source, item.body, item.end, [&](const Box& data) {
    if (!data.Is("data") || data.BodySize() < 8) return false;
    uint32_t type = 0;
    if (!r.source.ReadBe32(data.body, type)) return true;
    type &= 0xFFFFFF;  // the top byte is a version
    std::string value;
    const auto length = static_cast<size_t>(std::min<uint64_t>(data.BodySize() - 8, kMaxValueBytes));
    if (!r.source.ReadText(data.body + 8, length, value)) return true;
    if (kind == ItemKind::kText) {
      if (type == kTypeUtf8) r.Put(tag, TextFromUtf8(value));
      if (type == kTypeUtf16) r.Put(tag, TextFromUtf16(value, true));
    } else if (type == kTypeBinary || type == kTypeInteger) {
      if (kind == ItemKind::kPair) {
        r.Put(tag, NumberPair(value));
      } else if (value.size() == 2) {
        const unsigned index = static_cast<unsigned char>(value[0]) << 8 | static_cast<unsigned char>(value[1]);
        if (index >= 1) r.Put(tag, Id3GenreName(index - 1));
      }
    } else if (type == kTypeUtf8 && kind == ItemKind::kPair) {
      r.Put(tag, TextFromUtf8(value));  // some writers store the track as text
    }
    return false;
  });
}

struct ItemName {
  const char* type;
  Tag tag;
  ItemKind kind;
};

constexpr ItemName kItemNames[] = {
    {"\xA9nam", Tag::Title, ItemKind::kText},
    {"\xA9"
     "ART",
     Tag::Artist, ItemKind::kText},
    {"\xA9"
     "alb",
     Tag::Album, ItemKind::kText},
    {"aART", Tag::AlbumArtist, ItemKind::kText},
    {"trkn", Tag::Track, ItemKind::kPair},
    {"disk", Tag::Disc, ItemKind::kPair},
    {"\xA9"
     "day",
     Tag::Year, ItemKind::kText},
    {"\xA9gen", Tag::Genre, ItemKind::kText},
    {"gnre", Tag::Genre, ItemKind::kGenreIndex},
    {"\xA9wrt", Tag::Composer, ItemKind::kText},
};

struct KeyName {
  const char* key;
  Tag tag;
};

constexpr KeyName kKeyNames[] = {
    {"com.apple.quicktime.title", Tag::Title},       {"com.apple.quicktime.artist", Tag::Artist},
    {"com.apple.quicktime.author", Tag::Artist},     {"com.apple.quicktime.album", Tag::Album},
    {"com.apple.quicktime.genre", Tag::Genre},       {"com.apple.quicktime.year", Tag::Year},
    {"com.apple.quicktime.composer", Tag::Composer},
};

// The tag of each key of a 'keys' box, by the key's 1-based number (absent keys: nothing).
std::vector<std::pair<uint32_t, Tag>> ReadKeys(ByteSource& source, const Box& keys) {
  std::vector<std::pair<uint32_t, Tag>> tags;
  uint32_t count = 0;
  if (keys.BodySize() < 8 || !source.ReadBe32(keys.body + 4, count)) return tags;
  uint64_t at = keys.body + 8;
  for (uint32_t i = 1; i <= count && i <= kMaxKeys && keys.end - at >= 8; ++i) {
    uint32_t size = 0;
    if (!source.ReadBe32(at, size) || size < 8 || size > keys.end - at) break;
    std::string name;
    if (size - 8 <= 64 && source.ReadText(at + 8, size - 8, name)) {
      for (const KeyName& k : kKeyNames) {
        if (name == k.key) tags.emplace_back(i, k.tag);
      }
    }
    at += size;
  }
  return tags;
}

// The items of a 'meta' box's item list: named by their type, or by the number of a key.
void ReadMeta(Reading& r, const Box& meta) {
  Box keys, ilst;
  bool hasKeys = false, hasList = false;
  ForEachBox(r.source, MetaChildren(r.source, meta), meta.end, [&](const Box& box) {
    if (box.Is("keys") && !hasKeys) keys = box, hasKeys = true;
    if (box.Is("ilst") && !hasList) ilst = box, hasList = true;
    return false;
  });
  if (!hasList) return;
  const std::vector<std::pair<uint32_t, Tag>> keyTags =
      hasKeys ? ReadKeys(r.source, keys) : std::vector<std::pair<uint32_t, Tag>>{};
  ForEachBox(r.source, ilst.body, ilst.end, [&](const Box& item) {
    if (hasKeys) {
      const uint32_t number = uint32_t{static_cast<unsigned char>(item.type[0])} << 24 |
                              uint32_t{static_cast<unsigned char>(item.type[1])} << 16 |
                              uint32_t{static_cast<unsigned char>(item.type[2])} << 8 |
                              static_cast<unsigned char>(item.type[3]);
      for (const auto& [key, tag] : keyTags) {
        if (key == number) ReadItemValues(r, item, tag, ItemKind::kText);
      }
      return false;
    }
    for (const ItemName& name : kItemNames) {
      if (item.Is(name.type)) ReadItemValues(r, item, name.tag, name.kind);
    }
    return false;
  });
}

// The duration of the movie header, version 0 (32-bit times) or 1 (64-bit times).
void ReadMovieDuration(Reading& r, const Box& mvhd) {
  uint8_t version = 0;
  if (!r.source.ReadU8(mvhd.body, version) || version > 1) return;
  const uint64_t scaleAt = mvhd.body + (version == 1 ? 20 : 12);
  uint32_t timeScale = 0;
  uint64_t duration = 0;
  if (mvhd.BodySize() < (version == 1 ? 32u : 20u) || !r.source.ReadBe32(scaleAt, timeScale)) return;
  if (version == 1) {
    if (!r.source.ReadBe64(scaleAt + 4, duration) || duration == UINT64_MAX) return;
  } else {
    uint32_t d32 = 0;
    if (!r.source.ReadBe32(scaleAt + 4, d32) || d32 == UINT32_MAX) return;
    duration = d32;
  }
  if (timeScale != 0) r.values.PutDuration(static_cast<double>(duration) / timeScale);
}

// Width and height of a track whose handler is 'vide'; false for any other track.
bool ReadVideoTrackSize(Reading& r, const Box& trak) {
  Box tkhd;
  bool hasHeader = false, video = false;
  ForEachBox(r.source, trak.body, trak.end, [&](const Box& box) {
    if (box.Is("tkhd") && !hasHeader) tkhd = box, hasHeader = true;
    if (box.Is("mdia")) {
      ForEachBox(r.source, box.body, box.end, [&](const Box& hdlr) {
        char handler[4];
        if (!hdlr.Is("hdlr")) return false;
        video = hdlr.BodySize() >= 12 && r.source.Read(hdlr.body + 8, 4, reinterpret_cast<unsigned char*>(handler)) &&
                std::memcmp(handler, "vide", 4) == 0;
        return true;
      });
    }
    return false;
  });
  if (!video || !hasHeader) return false;
  uint8_t version = 0;
  if (!r.source.ReadU8(tkhd.body, version) || version > 1) return true;
  const uint64_t sizeAt = version == 1 ? 88 : 76;
  uint32_t width = 0, height = 0;
  if (tkhd.BodySize() < sizeAt + 8 || !r.source.ReadBe32(tkhd.body + sizeAt, width) ||
      !r.source.ReadBe32(tkhd.body + sizeAt + 4, height)) {
    return true;
  }
  if (width >> 16 != 0 && height >> 16 != 0) {
    r.values.PutNumber(Tag::Width, width >> 16);
    r.values.PutNumber(Tag::Height, height >> 16);
  }
  return true;
}

bool IsIsoMedia(ByteSource& source) {
  static constexpr const char* kFirstBoxes[] = {"ftyp", "moov", "mdat", "free", "skip", "wide", "pnot", "uuid"};
  char type[4];
  if (!source.Read(4, 4, reinterpret_cast<unsigned char*>(type))) return false;
  return std::any_of(std::begin(kFirstBoxes), std::end(kFirstBoxes),
                     [&](const char* first) { return std::memcmp(type, first, 4) == 0; });
}

}  // namespace

void ReadMp4Tags(ByteSource& source, TagValues& values) {
  TagSet music;
  for (const ItemName& name : kItemNames) music.Add(name.tag);
  TagSet size = TagSet::Of(Tag::Width);
  size.Add(Tag::Height);
  if (!values.WantsAny(music.Union(size).Union(TagSet::Of(Tag::Duration))) || !IsIsoMedia(source)) return;
  Reading r{source, values, values.Wanted().Without(values.Found())};
  const bool wantsMusic = values.WantsAny(music);
  bool wantsSize = values.Wants(Tag::Width) || values.Wants(Tag::Height);
  ForEachBox(source, 0, source.Size(), [&](const Box& top) {
    if (!top.Is("moov")) return false;
    ForEachBox(source, top.body, top.end, [&](const Box& child) {
      if (child.Is("mvhd") && values.Wants(Tag::Duration)) ReadMovieDuration(r, child);
      if (child.Is("trak") && wantsSize && ReadVideoTrackSize(r, child)) wantsSize = false;
      if (child.Is("meta") && wantsMusic && child.BodySize() >= 4) ReadMeta(r, child);
      if (child.Is("udta") && wantsMusic) {
        ForEachBox(source, child.body, child.end, [&](const Box& meta) {
          if (meta.Is("meta") && meta.BodySize() >= 4) ReadMeta(r, meta);
          return false;
        });
      }
      return false;
    });
    // The first movie holds what there is: the walk does not go on through the fragments and media
    // data behind it.
    return true;
  });
}

}  // namespace korval
