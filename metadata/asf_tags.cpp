// The tags of ASF files (WMA, WMV): the content description, the extended content description and the
// metadata (library) objects of the header extension; the duration from the file properties, the
// picture size of the first video stream. Objects are walked by their 64-bit sizes, each bounded by
// the object that holds it.
#include <algorithm>
#include <cstring>
#include <string>

#include "metadata/tag_readers.h"
#include "metadata/tag_text.h"

namespace korval {
namespace {

constexpr size_t kMaxObjects = 1024;        // objects of the header looked at
constexpr size_t kMaxAttributes = 4096;     // attributes of the extended content description
constexpr size_t kMaxValueBytes = 16384;    // a tag text longer than this is cut
constexpr uint64_t kObjectHeader = 24;      // id and size
constexpr uint64_t kHeaderObjectSize = 30;  // id, size, count of objects, two reserved bytes
constexpr uint16_t kTypeText = 0;
constexpr uint16_t kTypeDword = 3;
constexpr uint16_t kTypeQword = 4;
constexpr uint16_t kTypeWord = 5;

// The ids as the bytes stand in the file.
constexpr unsigned char kHeaderId[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                         0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr unsigned char kContentDescriptionId[16] = {0x33, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                                     0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr unsigned char kExtendedContentId[16] = {0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11,
                                                  0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50};
constexpr unsigned char kFilePropertiesId[16] = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                                 0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr unsigned char kStreamPropertiesId[16] = {0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11,
                                                   0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr unsigned char kHeaderExtensionId[16] = {0xB5, 0x03, 0xBF, 0x5F, 0x2E, 0xA9, 0xCF, 0x11,
                                                  0x8E, 0xE3, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr unsigned char kMetadataId[16] = {0xEA, 0xCB, 0xF8, 0xC5, 0xAF, 0x5B, 0x77, 0x48,
                                           0x84, 0x67, 0xAA, 0x8C, 0x44, 0xFA, 0x4C, 0xCA};
constexpr unsigned char kMetadataLibraryId[16] = {0x94, 0x1C, 0x23, 0x44, 0x98, 0x94, 0xD1, 0x49,
                                                  0xA1, 0x41, 0x1D, 0x13, 0x4E, 0x45, 0x70, 0x54};
constexpr unsigned char kVideoMediaId[16] = {0xC0, 0xEF, 0x19, 0xBC, 0x4D, 0x5B, 0xCF, 0x11,
                                             0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};

struct Object {
  unsigned char id[16] = {};
  uint64_t body = 0;  // behind id and size
  uint64_t end = 0;
  bool Is(const unsigned char* other) const { return std::memcmp(id, other, 16) == 0; }
  uint64_t BodySize() const { return end - body; }
};

uint64_t Le(const unsigned char* p, int bytes) {
  uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

// The object at `at`, which must end by `limit`; false for one that is cut or lies about its size.
bool ReadObject(ByteSource& source, uint64_t at, uint64_t limit, Object& object) {
  unsigned char head[kObjectHeader];
  if (at > limit || limit - at < kObjectHeader || !source.Read(at, kObjectHeader, head)) return false;
  const uint64_t size = Le(head + 16, 8);
  if (size < kObjectHeader || size > limit - at) return false;
  std::memcpy(object.id, head, 16);
  object.body = at + kObjectHeader;
  object.end = at + size;
  return true;
}

// Up to `length` bytes at `at` as UTF-16LE text.
std::wstring ReadUtf16(ByteSource& source, uint64_t at, uint64_t length) {
  std::string bytes;
  if (!source.ReadText(at, static_cast<size_t>(std::min<uint64_t>(length, kMaxValueBytes)), bytes)) return {};
  return TextFromUtf16(bytes, false);
}

bool SameName(const std::wstring& a, const wchar_t* b) {
  if (a.size() != std::wcslen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

struct Reading {
  ByteSource& source;
  TagValues& values;
  TagSet open;
  std::wstring zeroBasedTrack;
  bool hasTrackNumber = false;
  void Put(Tag tag, std::wstring text) {
    if (open.Has(tag)) values.Put(tag, std::move(text));
  }
};

// Five lengths, then title, author, copyright, description and rating in UTF-16LE.
void ReadContentDescription(Reading& r, const Object& object) {
  unsigned char lengths[10];
  if (object.BodySize() < 10 || !r.source.Read(object.body, 10, lengths)) return;
  const uint64_t title = Le(lengths, 2), author = Le(lengths + 2, 2);
  if (title + author > object.BodySize() - 10) return;
  r.Put(Tag::Title, ReadUtf16(r.source, object.body + 10, title));
  r.Put(Tag::Artist, ReadUtf16(r.source, object.body + 10 + title, author));
}

struct AttributeName {
  const wchar_t* name;
  Tag tag;
};

constexpr AttributeName kAttributeNames[] = {
    {L"WM/AlbumTitle", Tag::Album},  {L"WM/AlbumArtist", Tag::AlbumArtist},
    {L"WM/TrackNumber", Tag::Track}, {L"WM/PartOfSet", Tag::Disc},
    {L"WM/Year", Tag::Year},         {L"WM/Genre", Tag::Genre},
    {L"WM/Composer", Tag::Composer},
};

// An attribute's value as text: UTF-16 text or a whole number; nothing for other types.
std::wstring AttributeText(ByteSource& source, uint64_t at, uint16_t type, uint64_t length) {
  if (type == kTypeText) return ReadUtf16(source, at, length);
  const size_t bytes = type == kTypeWord ? 2 : type == kTypeDword ? 4 : type == kTypeQword ? 8 : 0;
  unsigned char b[8];
  if (bytes == 0 || length < bytes || !source.Read(at, static_cast<size_t>(bytes), b)) return {};
  return std::to_wstring(Le(b, static_cast<int>(bytes)));
}

// A zero-based track number counted from one; nothing for text that is no number.
std::wstring OneBased(const std::wstring& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of(L"0123456789") != std::wstring::npos) return {};
  return std::to_wstring(std::stoul(text) + 1);
}

// One named attribute, from any of the objects that hold them. The zero-based track is kept aside:
// it counts only when the one-based number is missing.
void TakeAttribute(Reading& r, const std::wstring& name, uint64_t value, uint16_t type, uint64_t length) {
  if (SameName(name, L"WM/Track") && r.zeroBasedTrack.empty()) {
    r.zeroBasedTrack = OneBased(AttributeText(r.source, value, type, length));
  }
  for (const AttributeName& known : kAttributeNames) {
    if (!SameName(name, known.name)) continue;
    std::wstring text = AttributeText(r.source, value, type, length);
    if (known.tag == Tag::Track && !text.empty()) r.hasTrackNumber = true;
    r.Put(known.tag, std::move(text));
  }
}

// Named attributes: name length, name, value type, value length, value.
void ReadExtendedContent(Reading& r, const Object& object) {
  unsigned char countBytes[2];
  if (object.BodySize() < 2 || !r.source.Read(object.body, 2, countBytes)) return;
  const uint64_t count = std::min<uint64_t>(Le(countBytes, 2), kMaxAttributes);
  uint64_t at = object.body + 2;
  for (uint64_t i = 0; i < count; ++i) {
    unsigned char nameLength[2], typeAndLength[4];
    if (object.end - at < 2 || !r.source.Read(at, 2, nameLength)) return;
    const uint64_t nameSize = Le(nameLength, 2);
    if (object.end - at - 2 < nameSize + 4 || !r.source.Read(at + 2 + nameSize, 4, typeAndLength)) return;
    const auto type = static_cast<uint16_t>(Le(typeAndLength, 2));
    const uint64_t length = Le(typeAndLength + 2, 2);
    const uint64_t value = at + 2 + nameSize + 4;
    if (object.end - value < length) return;
    TakeAttribute(r, ReadUtf16(r.source, at + 2, nameSize), value, type, length);
    at = value + length;
  }
}

// The records of the metadata and metadata library objects: language and stream, name length, value
// type, 32-bit value length, name, value.
void ReadMetadataRecords(Reading& r, const Object& object) {
  unsigned char countBytes[2];
  if (object.BodySize() < 2 || !r.source.Read(object.body, 2, countBytes)) return;
  const uint64_t count = std::min<uint64_t>(Le(countBytes, 2), kMaxAttributes);
  uint64_t at = object.body + 2;
  for (uint64_t i = 0; i < count; ++i) {
    unsigned char head[12];
    if (object.end - at < sizeof(head) || !r.source.Read(at, sizeof(head), head)) return;
    const uint64_t nameSize = Le(head + 4, 2), length = Le(head + 8, 4);
    const auto type = static_cast<uint16_t>(Le(head + 6, 2));
    const uint64_t name = at + sizeof(head);
    if (object.end - name < nameSize || object.end - name - nameSize < length) return;
    TakeAttribute(r, ReadUtf16(r.source, name, nameSize), name + nameSize, type, length);
    at = name + nameSize + length;
  }
}

// The objects inside the header extension (behind a reserved id, a reserved number and their size).
void ReadHeaderExtension(Reading& r, const Object& extension) {
  unsigned char head[22];
  if (extension.BodySize() < sizeof(head) || !r.source.Read(extension.body, sizeof(head), head)) return;
  const uint64_t from = extension.body + sizeof(head);
  const uint64_t end = from + std::min<uint64_t>(Le(head + 18, 4), extension.end - from);
  uint64_t at = from;
  for (size_t n = 0; n < kMaxObjects && at < end; ++n) {
    Object object;
    if (!ReadObject(r.source, at, end, object)) return;
    if (object.Is(kMetadataId) || object.Is(kMetadataLibraryId)) ReadMetadataRecords(r, object);
    at = object.end;
  }
}

// Play duration in 100-nanosecond units, less the preroll in milliseconds; not for a broadcast.
void ReadFileProperties(Reading& r, const Object& object) {
  unsigned char body[80];
  if (object.BodySize() < sizeof(body) || !r.source.Read(object.body, sizeof(body), body)) return;
  const uint64_t play = Le(body + 40, 8), preroll = Le(body + 56, 8), flags = Le(body + 64, 4);
  if (flags & 1) return;
  const double seconds = static_cast<double>(play) / 1e7 - static_cast<double>(preroll) / 1e3;
  if (play != 0 && seconds >= 0) r.values.PutDuration(seconds);
}

// The encoded picture size of a video stream; false for other streams.
bool ReadVideoSize(Reading& r, const Object& object) {
  unsigned char body[62];
  if (object.BodySize() < sizeof(body) || !r.source.Read(object.body, sizeof(body), body)) return false;
  if (std::memcmp(body, kVideoMediaId, 16) != 0) return false;
  const uint64_t specificLength = Le(body + 40, 4);
  const uint64_t width = Le(body + 54, 4), height = Le(body + 58, 4);
  if (specificLength < 8 || specificLength > object.BodySize() - 54) return true;
  if (width != 0 && height != 0) {
    r.values.PutNumber(Tag::Width, width);
    r.values.PutNumber(Tag::Height, height);
  }
  return true;
}

}  // namespace

void ReadAsfTags(ByteSource& source, TagValues& values) {
  TagSet wanted;
  for (Tag tag : {Tag::Title, Tag::Artist, Tag::Album, Tag::AlbumArtist, Tag::Track, Tag::Disc, Tag::Year, Tag::Genre,
                  Tag::Composer, Tag::Duration, Tag::Width, Tag::Height}) {
    wanted.Add(tag);
  }
  Object header;
  if (!values.WantsAny(wanted) || !ReadObject(source, 0, source.Size(), header) || !header.Is(kHeaderId) ||
      header.end - header.body < kHeaderObjectSize - kObjectHeader) {
    return;
  }
  Reading r{source, values, values.Wanted().Without(values.Found()), {}, false};
  bool wantsSize = values.Wants(Tag::Width) || values.Wants(Tag::Height);
  uint64_t at = kHeaderObjectSize;
  for (size_t n = 0; n < kMaxObjects && at < header.end; ++n) {
    Object object;
    if (!ReadObject(source, at, header.end, object)) break;
    if (object.Is(kContentDescriptionId)) ReadContentDescription(r, object);
    if (object.Is(kExtendedContentId)) ReadExtendedContent(r, object);
    if (object.Is(kHeaderExtensionId)) ReadHeaderExtension(r, object);
    if (object.Is(kFilePropertiesId) && r.open.Has(Tag::Duration)) ReadFileProperties(r, object);
    if (object.Is(kStreamPropertiesId) && wantsSize && ReadVideoSize(r, object)) wantsSize = false;
    at = object.end;
  }
  if (!r.hasTrackNumber) r.Put(Tag::Track, r.zeroBasedTrack);
}

}  // namespace korval
