// Vorbis comments, the tags of FLAC, Ogg Vorbis, Opus and Speex: a vendor string, then "NAME=value"
// entries in UTF-8, every length a little-endian 32-bit number checked against the block.
#include <string>
#include <vector>

#include "metadata/tag_readers.h"
#include "metadata/tag_text.h"

namespace korval {
namespace {

constexpr uint32_t kMaxEntries = 65536;  // more entries than this are not looked at

struct Name {
  const char* key;
  Tag tag;
};

constexpr Name kNames[] = {
    {"TITLE", Tag::Title},
    {"ARTIST", Tag::Artist},
    {"ALBUM", Tag::Album},
    {"ALBUMARTIST", Tag::AlbumArtist},
    {"ALBUM ARTIST", Tag::AlbumArtist},
    {"ALBUM_ARTIST", Tag::AlbumArtist},
    {"TRACKNUMBER", Tag::Track},
    {"DISCNUMBER", Tag::Disc},
    {"DATE", Tag::Year},
    {"YEAR", Tag::Year},
    {"GENRE", Tag::Genre},
    {"COMPOSER", Tag::Composer},
};

bool SameKey(std::string_view key, std::string_view name) {
  if (key.size() != name.size()) return false;
  for (size_t i = 0; i < key.size(); ++i) {
    char c = key[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != name[i]) return false;
  }
  return true;
}

// A little-endian 32-bit number at `at`, moving `at` past it; false when the block ends first.
bool TakeLe32(std::string_view block, size_t& at, uint32_t& value) {
  if (block.size() - at < 4) return false;
  value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(block[at + i]);
  at += 4;
  return true;
}

// "n/total" when the number stands alone and one total was given.
std::wstring WithTotal(const std::wstring& number, const std::vector<std::wstring>& totals) {
  if (totals.size() != 1 || number.find(L'/') != std::wstring::npos) return number;
  return number + L"/" + totals.front();
}

}  // namespace

void ReadVorbisComment(std::string_view block, TagValues& values) {
  const TagSet open = values.Wanted().Without(values.Found());
  size_t at = 0;
  uint32_t vendorLength = 0, count = 0;
  if (!TakeLe32(block, at, vendorLength) || vendorLength > block.size() - at) return;
  at += vendorLength;
  if (!TakeLe32(block, at, count)) return;
  std::vector<std::wstring> tracks, trackTotals, discs, discTotals;
  // Each entry takes at least its four length bytes, so the bytes left bound the count too.
  for (uint32_t i = 0; i < count && i < kMaxEntries; ++i) {
    uint32_t length = 0;
    if (!TakeLe32(block, at, length) || length > block.size() - at) return;
    const std::string_view entry = block.substr(at, length);
    at += length;
    const size_t equals = entry.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = entry.substr(0, equals);
    const std::string_view text = entry.substr(equals + 1);
    if (SameKey(key, "TRACKTOTAL") || SameKey(key, "TOTALTRACKS")) trackTotals.push_back(TextFromUtf8(text));
    if (SameKey(key, "DISCTOTAL") || SameKey(key, "TOTALDISCS")) discTotals.push_back(TextFromUtf8(text));
    for (const Name& name : kNames) {
      if (!SameKey(key, name.key) || !open.Has(name.tag)) continue;
      if (name.tag == Tag::Track) {
        tracks.push_back(TextFromUtf8(text));
      } else if (name.tag == Tag::Disc) {
        discs.push_back(TextFromUtf8(text));
      } else {
        values.Put(name.tag, TextFromUtf8(text));
      }
    }
  }
  for (const std::wstring& track : tracks) {
    if (!track.empty()) values.Put(Tag::Track, WithTotal(track, trackTotals));
  }
  for (const std::wstring& disc : discs) {
    if (!disc.empty()) values.Put(Tag::Disc, WithTotal(disc, discTotals));
  }
}

}  // namespace korval
