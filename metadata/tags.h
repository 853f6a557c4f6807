// The tags a name may take from what a file says about itself: their names as written in text
// (`<:Artist>`), their labels in the tag menu, and sets of them.
#pragma once

#include <cstdint>
#include <string_view>

namespace korval {

enum class Tag : uint8_t {
  // music
  Title, Artist, Album, AlbumArtist, Track, Disc, Year, Genre, Composer,
  // photographs
  Make, Model, Lens, Iso, FNumber, Exposure, FocalLength,
  // pictures and movies; movies and music
  Width, Height, Duration,
  // documents (their title is Title)
  Author, Subject,
  // any file, from its bytes
  Crc32, Md5, Sha1, Sha256,
};

inline constexpr int kTagCount = static_cast<int>(Tag::Sha256) + 1;

struct TagDescriptor {
  Tag tag;
  const wchar_t* name;   // as written between "<:" and ">" (compared without regard to ASCII case)
  const wchar_t* label;  // the tag menu's text
};

inline constexpr TagDescriptor kTagTable[kTagCount] = {
    {Tag::Title, L"Title", L"タイトル"},
    {Tag::Artist, L"Artist", L"アーティスト"},
    {Tag::Album, L"Album", L"アルバム"},
    {Tag::AlbumArtist, L"AlbumArtist", L"アルバムアーティスト"},
    {Tag::Track, L"Track", L"トラック番号"},
    {Tag::Disc, L"Disc", L"ディスク番号"},
    {Tag::Year, L"Year", L"年"},
    {Tag::Genre, L"Genre", L"ジャンル"},
    {Tag::Composer, L"Composer", L"作曲者"},
    {Tag::Make, L"Make", L"カメラのメーカー"},
    {Tag::Model, L"Model", L"カメラの機種"},
    {Tag::Lens, L"Lens", L"レンズ"},
    {Tag::Iso, L"ISO", L"ISO感度"},
    {Tag::FNumber, L"FNumber", L"F値"},
    {Tag::Exposure, L"Exposure", L"露出時間"},
    {Tag::FocalLength, L"FocalLength", L"焦点距離 (mm)"},
    {Tag::Width, L"Width", L"幅 (ピクセル)"},
    {Tag::Height, L"Height", L"高さ (ピクセル)"},
    {Tag::Duration, L"Duration", L"再生時間"},
    {Tag::Author, L"Author", L"作成者"},
    {Tag::Subject, L"Subject", L"件名"},
    {Tag::Crc32, L"CRC32", L"CRC32"},
    {Tag::Md5, L"MD5", L"MD5"},
    {Tag::Sha1, L"SHA1", L"SHA-1"},
    {Tag::Sha256, L"SHA256", L"SHA-256"},
};

constexpr const TagDescriptor& DescriptorOf(Tag tag) { return kTagTable[static_cast<int>(tag)]; }

// The tag a name stands for (ASCII letters in any case); false for a name that is none.
bool TagFromName(std::wstring_view name, Tag& tag);

// A set of tags: what a caller asks for, or what a reader found.
class TagSet {
 public:
  constexpr TagSet() = default;
  static constexpr TagSet All() { return TagSet((1u << kTagCount) - 1); }
  static constexpr TagSet Of(Tag tag) { return TagSet(Bit(tag)); }

  constexpr bool Has(Tag tag) const { return (bits_ & Bit(tag)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr void Add(Tag tag) { bits_ |= Bit(tag); }
  constexpr void Remove(Tag tag) { bits_ &= ~Bit(tag); }
  constexpr bool Intersects(TagSet other) const { return (bits_ & other.bits_) != 0; }
  constexpr TagSet Without(TagSet other) const { return TagSet(bits_ & ~other.bits_); }
  constexpr TagSet Union(TagSet other) const { return TagSet(bits_ | other.bits_); }
  constexpr bool operator==(const TagSet&) const = default;

 private:
  constexpr explicit TagSet(uint32_t bits) : bits_(bits) {}
  static constexpr uint32_t Bit(Tag tag) { return 1u << static_cast<int>(tag); }
  uint32_t bits_ = 0;
};

// The music tags that tag blocks hold as text (Vorbis comments, APE items, ID3 frames).
inline constexpr TagSet kMusicTextTags = [] {
  TagSet s;
  for (Tag t : {Tag::Title, Tag::Artist, Tag::Album, Tag::AlbumArtist, Tag::Track, Tag::Disc, Tag::Year, Tag::Genre,
                Tag::Composer}) {
    s.Add(t);
  }
  return s;
}();

// The music tags and the duration: what a music file's tag blocks and stream headers give.
inline constexpr TagSet kMusicTags = kMusicTextTags.Union(TagSet::Of(Tag::Duration));

// The tags computed over all of a file's bytes.
inline constexpr TagSet kHashTags = [] {
  TagSet s;
  s.Add(Tag::Crc32);
  s.Add(Tag::Md5);
  s.Add(Tag::Sha1);
  s.Add(Tag::Sha256);
  return s;
}();

}  // namespace korval
