// The tags of Matroska and WebM files: the Tags element (album and track levels), the segment's title
// and duration from Info, and the picture size of the first video track. Elements are walked by their
// sizes, each bounded by its parent; clusters are stepped over, and the seek head leads to what lies
// behind them.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "metadata/tag_readers.h"
#include "metadata/tag_text.h"

namespace korval {
namespace {

constexpr size_t kMaxElementsPerLevel = 4096;         // children of one element looked at
constexpr size_t kMaxTopLevelElements = 65536;        // children of the segment (mostly clusters stepped over)
constexpr size_t kMaxSeeks = 256;                     // entries of the seek head kept
constexpr size_t kMaxTagEntries = 4096;               // simple tags kept
constexpr uint64_t kMaxTextBytes = 16384;             // a tag text longer than this is cut
constexpr uint64_t kDefaultTimestampScale = 1000000;  // nanoseconds per tick
constexpr uint64_t kAlbumLevel = 50;
constexpr uint64_t kTrackLevel = 30;

constexpr uint32_t kEbml = 0x1A45DFA3;
constexpr uint32_t kSegment = 0x18538067;
constexpr uint32_t kSeekHead = 0x114D9B74;
constexpr uint32_t kSeek = 0x4DBB;
constexpr uint32_t kSeekId = 0x53AB;
constexpr uint32_t kSeekPosition = 0x53AC;
constexpr uint32_t kInfo = 0x1549A966;
constexpr uint32_t kTimestampScale = 0x2AD7B1;
constexpr uint32_t kDuration = 0x4489;
constexpr uint32_t kTitle = 0x7BA9;
constexpr uint32_t kTracks = 0x1654AE6B;
constexpr uint32_t kTrackEntry = 0xAE;
constexpr uint32_t kTrackType = 0x83;
constexpr uint32_t kVideo = 0xE0;
constexpr uint32_t kPixelWidth = 0xB0;
constexpr uint32_t kPixelHeight = 0xBA;
constexpr uint32_t kTags = 0x1254C367;
constexpr uint32_t kTag = 0x7373;
constexpr uint32_t kTargets = 0x63C0;
constexpr uint32_t kTargetTypeValue = 0x68CA;
constexpr uint32_t kSimpleTag = 0x67C8;
constexpr uint32_t kTagName = 0x45A3;
constexpr uint32_t kTagString = 0x4487;
constexpr uint32_t kCluster = 0x1F43B675;
constexpr uint64_t kVideoTrack = 1;

struct Element {
  uint32_t id = 0;
  uint64_t body = 0;
  uint64_t end = 0;
  bool unknownSize = false;
  uint64_t Size() const { return end - body; }
};

// A variable-length number at `at`: its length comes from the first byte's leading zeros. Ids keep
// their marker bit, sizes lose it; `allOnes` tells a size whose value bits are all set.
bool ReadNumber(ByteSource& source, uint64_t at, uint64_t limit, int maxLength, bool keepMarker, uint64_t& value,
                int& length, bool& allOnes) {
  uint8_t first = 0;
  if (at >= limit || !source.ReadU8(at, first) || first == 0) return false;
  length = 1;
  while (!(first & (0x80 >> (length - 1)))) ++length;
  if (length > maxLength || limit - at < static_cast<uint64_t>(length)) return false;
  unsigned char bytes[8];
  if (!source.Read(at, static_cast<size_t>(length), bytes)) return false;
  const uint8_t marker = static_cast<uint8_t>(0x80 >> (length - 1));
  value = keepMarker ? first : first & (marker - 1);
  allOnes = (first & (marker - 1)) == marker - 1;
  for (int i = 1; i < length; ++i) {
    value = value << 8 | bytes[i];
    allOnes = allOnes && bytes[i] == 0xFF;
  }
  return true;
}

// The element at `at`, which must end by `limit`. An unknown size is allowed for the segment and
// clusters only: they run to `limit`.
bool ReadElement(ByteSource& source, uint64_t at, uint64_t limit, Element& element) {
  uint64_t id = 0, size = 0;
  int idLength = 0, sizeLength = 0;
  bool idOnes = false, unknown = false;
  if (!ReadNumber(source, at, limit, 4, true, id, idLength, idOnes) ||
      !ReadNumber(source, at + idLength, limit, 8, false, size, sizeLength, unknown)) {
    return false;
  }
  element.id = static_cast<uint32_t>(id);
  element.body = at + idLength + sizeLength;
  element.unknownSize = unknown;
  if (unknown) {
    if (element.id != kSegment && element.id != kCluster) return false;
    element.end = limit;
    return true;
  }
  if (size > limit - element.body) return false;
  element.end = element.body + size;
  return true;
}

// Calls visit(element) for each child inside [from, limit) until it returns true.
template <typename Visit>
void ForEachElement(ByteSource& source, uint64_t from, uint64_t limit, size_t maxCount, Visit visit) {
  uint64_t at = from;
  for (size_t n = 0; n < maxCount && at < limit; ++n) {
    Element element;
    if (!ReadElement(source, at, limit, element) || visit(element) || element.end <= at) return;
    at = element.end;
  }
}

template <typename Visit>
void ForEachChild(ByteSource& source, const Element& parent, Visit visit) {
  ForEachElement(source, parent.body, parent.end, kMaxElementsPerLevel, visit);
}

bool ReadUnsigned(ByteSource& source, const Element& element, uint64_t& value) {
  unsigned char bytes[8];
  value = 0;
  if (element.Size() == 0) return true;
  if (element.Size() > 8 || !source.Read(element.body, static_cast<size_t>(element.Size()), bytes)) return false;
  value = 0;
  for (uint64_t i = 0; i < element.Size(); ++i) value = value << 8 | bytes[i];
  return true;
}

bool ReadFloat(ByteSource& source, const Element& element, double& value) {
  if (element.Size() == 4) {
    uint32_t bits = 0;
    float f = 0;
    if (!source.ReadBe32(element.body, bits)) return false;
    std::memcpy(&f, &bits, 4);
    value = f;
    return true;
  }
  uint64_t bits = 0;
  if (element.Size() != 8 || !source.ReadBe64(element.body, bits)) return false;
  std::memcpy(&value, &bits, 8);
  return true;
}

std::string ReadString(ByteSource& source, const Element& element) {
  std::string text;
  if (!source.ReadText(element.body, static_cast<size_t>(std::min(element.Size(), kMaxTextBytes)), text)) return {};
  return text;
}

struct TagEntry {
  uint64_t level = kAlbumLevel;
  std::string name;  // in capitals
  std::wstring value;
};

struct Found {
  bool info = false, tracks = false, tags = false;
  std::wstring infoTitle;
  std::vector<TagEntry> entries;
};

void ReadInfo(ByteSource& source, const Element& info, TagValues& values, Found& found) {
  uint64_t scale = kDefaultTimestampScale;
  double duration = -1;
  ForEachChild(source, info, [&](const Element& e) {
    if (e.id == kTimestampScale && !ReadUnsigned(source, e, scale)) scale = 0;
    if (e.id == kDuration && !ReadFloat(source, e, duration)) duration = -1;
    if (e.id == kTitle) found.infoTitle = TextFromUtf8(ReadString(source, e));
    return false;
  });
  if (values.Wants(Tag::Duration) && scale != 0 && duration >= 0 && duration < 1e300) {
    values.PutDuration(duration * static_cast<double>(scale) / 1e9);
  }
}

void ReadTracks(ByteSource& source, const Element& tracks, TagValues& values) {
  ForEachChild(source, tracks, [&](const Element& entry) {
    if (entry.id != kTrackEntry) return false;
    uint64_t type = 0, width = 0, height = 0;
    ForEachChild(source, entry, [&](const Element& e) {
      if (e.id == kTrackType && !ReadUnsigned(source, e, type)) type = 0;
      if (e.id == kVideo) {
        ForEachChild(source, e, [&](const Element& v) {
          if (v.id == kPixelWidth && !ReadUnsigned(source, v, width)) width = 0;
          if (v.id == kPixelHeight && !ReadUnsigned(source, v, height)) height = 0;
          return false;
        });
      }
      return false;
    });
    if (type != kVideoTrack || width == 0 || height == 0) return false;
    values.PutNumber(Tag::Width, width);
    values.PutNumber(Tag::Height, height);
    return true;
  });
}

void ReadTagsElement(ByteSource& source, const Element& tags, Found& found) {
  ForEachChild(source, tags, [&](const Element& tag) {
    if (tag.id != kTag) return false;
    uint64_t level = kAlbumLevel;
    ForEachChild(source, tag, [&](const Element& e) {
      if (e.id == kTargets) {
        ForEachChild(source, e, [&](const Element& t) {
          if (t.id == kTargetTypeValue && !ReadUnsigned(source, t, level)) level = 0;
          return false;
        });
      }
      if (e.id != kSimpleTag || found.entries.size() >= kMaxTagEntries) return false;
      TagEntry entry;
      entry.level = level;
      ForEachChild(source, e, [&](const Element& s) {
        if (s.id == kTagName) entry.name = ReadString(source, s);
        if (s.id == kTagString) entry.value = TextFromUtf8(ReadString(source, s));
        return false;
      });
      for (char& c : entry.name) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
      if (!entry.name.empty() && !entry.value.empty()) found.entries.push_back(std::move(entry));
      return false;
    });
    return false;
  });
}

struct TagName {
  const char* name;
  Tag tag;
};

// At the track level, or when the file has one level only.
constexpr TagName kTrackNames[] = {
    {"TITLE", Tag::Title},        {"ARTIST", Tag::Artist}, {"PART_NUMBER", Tag::Track}, {"DATE_RELEASED", Tag::Year},
    {"DATE_RECORDED", Tag::Year}, {"GENRE", Tag::Genre},   {"COMPOSER", Tag::Composer},
};
// At the album level; its year, genre and composer serve when the track has none.
constexpr TagName kAlbumNames[] = {
    {"TITLE", Tag::Album},        {"ARTIST", Tag::AlbumArtist}, {"DATE_RELEASED", Tag::Year},
    {"DATE_RECORDED", Tag::Year}, {"GENRE", Tag::Genre},        {"COMPOSER", Tag::Composer},
};

// The segment's title first (what players and the usual metadata tools show as the title), then
// the simple tags by level.
void PutTags(const Found& found, TagValues& values, TagSet open) {
  if (open.Has(Tag::Title) && !found.infoTitle.empty()) {
    values.Put(Tag::Title, found.infoTitle);
    open.Remove(Tag::Title);
  }
  const bool oneLevel = std::all_of(found.entries.begin(), found.entries.end(),
                                    [&](const TagEntry& e) { return e.level == found.entries.front().level; });
  TagSet byTrack;
  for (const TagEntry& entry : found.entries) {
    if (!oneLevel && entry.level != kTrackLevel) continue;
    for (const TagName& known : kTrackNames) {
      if (entry.name != known.name || !open.Has(known.tag)) continue;
      values.Put(known.tag, entry.value);
      byTrack.Add(known.tag);
    }
  }
  for (const TagEntry& entry : found.entries) {
    if (oneLevel || entry.level != kAlbumLevel) continue;
    for (const TagName& known : kAlbumNames) {
      if (entry.name == known.name && open.Has(known.tag) && !byTrack.Has(known.tag))
        values.Put(known.tag, entry.value);
    }
  }
}

}  // namespace

void ReadMatroskaTags(ByteSource& source, TagValues& values) {
  const TagSet music = kMusicTextTags;
  const TagSet open = values.Wanted().Without(values.Found());
  const bool needsTags = values.WantsAny(music);
  const bool needsInfo = values.Wants(Tag::Title) || values.Wants(Tag::Duration);
  const bool needsTracks = values.Wants(Tag::Width) || values.Wants(Tag::Height);
  Element ebml, segment;
  if ((!needsTags && !needsInfo && !needsTracks) || !ReadElement(source, 0, source.Size(), ebml) || ebml.id != kEbml ||
      !ReadElement(source, ebml.end, source.Size(), segment) || segment.id != kSegment) {
    return;
  }
  Found found;
  std::vector<std::pair<uint32_t, uint64_t>> seeks;
  auto visit = [&](const Element& e) {
    if (e.id == kInfo && !found.info && needsInfo) {
      found.info = true;
      ReadInfo(source, e, values, found);
    } else if (e.id == kTracks && !found.tracks && needsTracks) {
      found.tracks = true;
      ReadTracks(source, e, values);
    } else if (e.id == kTags && needsTags) {
      found.tags = true;
      ReadTagsElement(source, e, found);
    }
  };
  bool seekHead = false;
  ForEachElement(source, segment.body, segment.end, kMaxTopLevelElements, [&](const Element& e) {
    if (e.id == kSeekHead && !seekHead) {
      seekHead = true;
      ForEachChild(source, e, [&](const Element& seek) {
        if (seek.id != kSeek || seeks.size() >= kMaxSeeks) return false;
        uint64_t id = 0, position = 0;
        bool hasId = false, hasPosition = false;
        ForEachChild(source, seek, [&](const Element& s) {
          if (s.id == kSeekId) hasId = ReadUnsigned(source, s, id) && id <= UINT32_MAX;
          if (s.id == kSeekPosition) hasPosition = ReadUnsigned(source, s, position);
          return false;
        });
        if (hasId && hasPosition) seeks.emplace_back(static_cast<uint32_t>(id), position);
        return false;
      });
    }
    visit(e);
    // Behind the first cluster the seek head knows the way; without one, clusters are stepped over
    // by their sizes, which an unknown size does not allow.
    return e.id == kCluster && (seekHead || e.unknownSize);
  });
  for (const auto& [id, position] : seeks) {
    const bool missing =
        (id == kInfo && !found.info) || (id == kTracks && !found.tracks) || (id == kTags && !found.tags);
    Element e;
    if (missing && position < segment.Size() && ReadElement(source, segment.body + position, segment.end, e) &&
        e.id == id) {
      visit(e);
    }
  }
  PutTags(found, values, open);
}

}  // namespace korval
