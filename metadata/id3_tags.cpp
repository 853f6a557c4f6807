// ID3 tags of music files: the ID3v2 tag in its three versions (frames walked by their sizes, text in
// four encodings, unsynchronised bytes restored) and the fixed 128-byte ID3v1 tag at the end.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "metadata/tag_readers.h"
#include "metadata/tag_text.h"

namespace korval {
namespace {

constexpr uint64_t kHeaderSize = 10;        // also the size of the footer of version 4
constexpr size_t kMaxFrames = 4096;         // a tag with more frames than this is not a real one
constexpr size_t kMaxTextFrameBytes = 65536;  // larger text frames are skipped, not read
constexpr size_t kMaxValuesPerFrame = 64;
constexpr size_t kMaxGenreReferences = 8;   // "(4)(13)..." in one genre text
constexpr size_t kUnsyncBlock = 4096;
constexpr uint64_t kId3v1Size = 128;

// The genre names ID3v1 numbers 0 to 191 stand for; ID3v2 genre texts refer to them too.
constexpr std::array<const wchar_t*, 192> kGenres = {
    L"Blues", L"Classic Rock", L"Country", L"Dance", L"Disco", L"Funk", L"Grunge", L"Hip-Hop", L"Jazz",
    L"Metal", L"New Age", L"Oldies", L"Other", L"Pop", L"R&B", L"Rap", L"Reggae", L"Rock", L"Techno",
    L"Industrial", L"Alternative", L"Ska", L"Death Metal", L"Pranks", L"Soundtrack", L"Euro-Techno",
    L"Ambient", L"Trip-Hop", L"Vocal", L"Jazz+Funk", L"Fusion", L"Trance", L"Classical", L"Instrumental",
    L"Acid", L"House", L"Game", L"Sound Clip", L"Gospel", L"Noise", L"Alternative Rock", L"Bass", L"Soul",
    L"Punk", L"Space", L"Meditative", L"Instrumental Pop", L"Instrumental Rock", L"Ethnic", L"Gothic",
    L"Darkwave", L"Techno-Industrial", L"Electronic", L"Pop-Folk", L"Eurodance", L"Dream", L"Southern Rock",
    L"Comedy", L"Cult", L"Gangsta", L"Top 40", L"Christian Rap", L"Pop/Funk", L"Jungle", L"Native American",
    L"Cabaret", L"New Wave", L"Psychedelic", L"Rave", L"Showtunes", L"Trailer", L"Lo-Fi", L"Tribal",
    L"Acid Punk", L"Acid Jazz", L"Polka", L"Retro", L"Musical", L"Rock & Roll", L"Hard Rock", L"Folk",
    L"Folk-Rock", L"National Folk", L"Swing", L"Fast Fusion", L"Bebop", L"Latin", L"Revival", L"Celtic",
    L"Bluegrass", L"Avantgarde", L"Gothic Rock", L"Progressive Rock", L"Psychedelic Rock", L"Symphonic Rock",
    L"Slow Rock", L"Big Band", L"Chorus", L"Easy Listening", L"Acoustic", L"Humour", L"Speech", L"Chanson",
    L"Opera", L"Chamber Music", L"Sonata", L"Symphony", L"Booty Bass", L"Primus", L"Porn Groove", L"Satire",
    L"Slow Jam", L"Club", L"Tango", L"Samba", L"Folklore", L"Ballad", L"Power Ballad", L"Rhythmic Soul",
    L"Freestyle", L"Duet", L"Punk Rock", L"Drum Solo", L"A Cappella", L"Euro-House", L"Dance Hall", L"Goa",
    L"Drum & Bass", L"Club-House", L"Hardcore", L"Terror", L"Indie", L"BritPop", L"Afro-Punk", L"Polsk Punk",
    L"Beat", L"Christian Gangsta Rap", L"Heavy Metal", L"Black Metal", L"Crossover", L"Contemporary Christian",
    L"Christian Rock", L"Merengue", L"Salsa", L"Thrash Metal", L"Anime", L"JPop", L"Synthpop", L"Abstract",
    L"Art Rock", L"Baroque", L"Bhangra", L"Big Beat", L"Breakbeat", L"Chillout", L"Downtempo", L"Dub", L"EBM",
    L"Eclectic", L"Electro", L"Electroclash", L"Emo", L"Experimental", L"Garage", L"Global", L"IDM",
    L"Illbient", L"Industro-Goth", L"Jam Band", L"Krautrock", L"Leftfield", L"Lounge", L"Math Rock",
    L"New Romantic", L"Nu-Breakz", L"Post-Punk", L"Post-Rock", L"Psytrance", L"Shoegaze", L"Space Rock",
    L"Trop Rock", L"World Music", L"Neoclassical", L"Audiobook", L"Audio Theatre", L"Neue Deutsche Welle",
    L"Podcast", L"Indie Rock", L"G-Funk", L"Dubstep", L"Garage Rock", L"Psybient",
};

constexpr TagSet kFrameTags = kMusicTags;

// What a frame id stands for. Year frames come in ranks: the recording time, then the year, then
// the original release; the best one in the tag wins.
enum class FrameUse { kTag, kYear, kLength };
struct FrameKind {
  const char* id;  // four letters, or three in version 2
  FrameUse use;
  Tag tag;
  int yearRank;
};
constexpr FrameKind kFrameKinds[] = {
    {"TIT2", FrameUse::kTag, Tag::Title, 0},      {"TT2", FrameUse::kTag, Tag::Title, 0},
    {"TPE1", FrameUse::kTag, Tag::Artist, 0},     {"TP1", FrameUse::kTag, Tag::Artist, 0},
    {"TALB", FrameUse::kTag, Tag::Album, 0},      {"TAL", FrameUse::kTag, Tag::Album, 0},
    {"TPE2", FrameUse::kTag, Tag::AlbumArtist, 0}, {"TP2", FrameUse::kTag, Tag::AlbumArtist, 0},
    {"TRCK", FrameUse::kTag, Tag::Track, 0},      {"TRK", FrameUse::kTag, Tag::Track, 0},
    {"TPOS", FrameUse::kTag, Tag::Disc, 0},       {"TPA", FrameUse::kTag, Tag::Disc, 0},
    {"TCON", FrameUse::kTag, Tag::Genre, 0},      {"TCO", FrameUse::kTag, Tag::Genre, 0},
    {"TCOM", FrameUse::kTag, Tag::Composer, 0},   {"TCM", FrameUse::kTag, Tag::Composer, 0},
    {"TDRC", FrameUse::kYear, Tag::Year, 0},      {"TYER", FrameUse::kYear, Tag::Year, 1},
    {"TYE", FrameUse::kYear, Tag::Year, 1},       {"TDOR", FrameUse::kYear, Tag::Year, 2},
    {"TORY", FrameUse::kYear, Tag::Year, 2},      {"TOR", FrameUse::kYear, Tag::Year, 2},
    {"TLEN", FrameUse::kLength, Tag::Duration, 0}, {"TLE", FrameUse::kLength, Tag::Duration, 0},
};
constexpr int kYearRanks = 3;

const FrameKind* KindOf(const char* id, size_t length) {
  for (const FrameKind& k : kFrameKinds) {
    if (std::strlen(k.id) == length && std::memcmp(k.id, id, length) == 0) return &k;
  }
  return nullptr;
}

bool IsFrameIdChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

uint32_t Syncsafe(const unsigned char* b) {
  return uint32_t{b[0]} << 21 | uint32_t{b[1]} << 14 | uint32_t{b[2]} << 7 | b[3];
}
bool IsSyncsafe(const unsigned char* b) { return ((b[0] | b[1] | b[2] | b[3]) & 0x80) == 0; }
uint32_t Be32(const unsigned char* b) {
  return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
}

// Undoes unsynchronisation: every 0xFF 0x00 pair stands for 0xFF.
std::string Resynchronised(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += bytes[i];
    if (bytes[i] == '\xFF' && i + 1 < bytes.size() && bytes[i + 1] == '\0') ++i;
  }
  return out;
}

// The bytes of a tag's body in order. In versions 2 and 3 a whole tag may be unsynchronised; its
// bytes are then restored on the way, block by block, so that a large picture frame is skipped
// without being held in memory.
class BodyReader {
 public:
  BodyReader(ByteSource& source, uint64_t start, uint64_t end, bool unsync)
      : source_(source), raw_(start), end_(end), unsync_(unsync) {}

  // At most this many bytes are left (exactly so when the body is not unsynchronised).
  uint64_t Left() const { return end_ - raw_ + (blockAt_ < block_.size() ? block_.size() - blockAt_ : 0); }
  uint64_t RawPosition() const { return raw_ - (block_.size() - blockAt_); }

  bool Read(size_t count, std::string& out) {
    out.clear();
    if (!unsync_) {
      if (count > end_ - raw_) return false;
      out.resize(count);
      if (count != 0 && !source_.Read(raw_, count, reinterpret_cast<unsigned char*>(out.data()))) return false;
      raw_ += count;
      return true;
    }
    char c = 0;
    while (out.size() < count) {
      if (!Next(c)) return false;
      out += c;
    }
    return true;
  }

  bool Skip(uint64_t count) {
    if (!unsync_) {
      if (count > end_ - raw_) return false;
      raw_ += count;
      return true;
    }
    char c = 0;
    for (uint64_t i = 0; i < count; ++i) {
      if (!Next(c)) return false;
    }
    return true;
  }

 private:
  bool NextRaw(char& c) {
    if (blockAt_ == block_.size()) {
      const size_t want = static_cast<size_t>(std::min<uint64_t>(kUnsyncBlock, end_ - raw_));
      if (want == 0) return false;
      block_.resize(want);
      if (!source_.Read(raw_, want, reinterpret_cast<unsigned char*>(block_.data()))) return false;
      raw_ += want;
      blockAt_ = 0;
    }
    c = block_[blockAt_++];
    return true;
  }
  bool Next(char& c) {
    if (!NextRaw(c)) return false;
    if (c == '\xFF') {
      char following = 0;
      if (NextRaw(following) && following != '\0') --blockAt_;  // not an inserted zero: give it back
    }
    return true;
  }

  ByteSource& source_;
  uint64_t raw_;
  uint64_t end_;
  bool unsync_;
  std::string block_;
  size_t blockAt_ = 0;
};

// The texts of a text frame (its encoding byte, then the text). Version 4 separates several values
// by NUL characters; the earlier versions hold one.
std::vector<std::wstring> FrameTexts(std::string_view data, bool severalValues) {
  std::vector<std::wstring> texts;
  if (data.empty()) return texts;
  const auto encoding = static_cast<unsigned char>(data[0]);
  if (encoding > 3) return texts;
  std::string_view rest = data.substr(1);
  const bool wide = encoding == 1 || encoding == 2;
  bool bigEndian = encoding == 2;  // UTF-16 without a mark of its own takes the previous value's order
  while (!rest.empty() && texts.size() < kMaxValuesPerFrame) {
    size_t end = 0;
    if (wide) {
      end = rest.size() & ~size_t{1};
      for (size_t i = 0; i + 1 < rest.size(); i += 2) {
        if (rest[i] == '\0' && rest[i + 1] == '\0') {
          end = i;
          break;
        }
      }
    } else {
      end = std::min(rest.find('\0'), rest.size());
    }
    const std::string_view piece = rest.substr(0, end);
    switch (encoding) {
      case 0: texts.push_back(TextFromLatin1(piece)); break;
      case 1:
        if (piece.size() >= 2 && piece[0] == '\xFE' && piece[1] == '\xFF') bigEndian = true;
        if (piece.size() >= 2 && piece[0] == '\xFF' && piece[1] == '\xFE') bigEndian = false;
        texts.push_back(TextFromUtf16WithMark(piece, bigEndian));
        break;
      case 2: texts.push_back(TextFromUtf16(piece, true)); break;
      default: texts.push_back(TextFromUtf8(piece)); break;
    }
    if (!severalValues) break;
    const size_t terminator = wide ? 2 : 1;
    if (end + terminator > rest.size()) break;
    rest.remove_prefix(end + terminator);
  }
  return texts;
}

bool AllDigits(std::wstring_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// The name a genre reference ("13", "RX", "CR") stands for; empty for none.
std::wstring GenreReference(std::wstring_view reference) {
  if (reference == L"RX") return L"Remix";
  if (reference == L"CR") return L"Cover";
  if (!AllDigits(reference) || reference.size() > 3) return {};
  const int number = std::stoi(std::wstring(reference));
  return Id3GenreName(static_cast<unsigned>(number));
}

// A genre text as the versions write it: "Pop", "13", "(13)", "(4)(13)", "(13)Pop" (the text after
// the references refines them and wins), "((text)" for a text that itself starts with "(".
std::vector<std::wstring> GenreNames(std::wstring_view text) {
  if (AllDigits(text) || text == L"RX" || text == L"CR") {
    std::wstring name = GenreReference(text);
    return name.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{name};
  }
  std::vector<std::wstring> names;
  while (text.size() >= 2 && text[0] == L'(' && text[1] != L'(' && names.size() < kMaxGenreReferences) {
    const size_t close = text.find(L')');
    if (close == std::wstring_view::npos) break;
    std::wstring name = GenreReference(text.substr(1, close - 1));
    if (name.empty()) break;  // "(live)" and the like are text, not references
    names.push_back(std::move(name));
    text.remove_prefix(close + 1);
  }
  if (text.size() >= 2 && text[0] == L'(' && text[1] == L'(') text.remove_prefix(1);
  if (!text.empty()) return {std::wstring(text)};
  return names;
}

// The year a date text begins with ("2004-05-06T10:00" gives "2004"); any other text as it is.
std::wstring YearOf(const std::wstring& text) {
  if (text.size() > 4 && AllDigits(std::wstring_view(text).substr(0, 4)) && !(text[4] >= L'0' && text[4] <= L'9')) {
    return text.substr(0, 4);
  }
  return text;
}

struct TagHeader {
  unsigned version = 0;
  uint8_t flags = 0;
  uint64_t bodySize = 0;
  uint64_t totalSize = 0;
};

bool ReadTagHeader(ByteSource& source, uint64_t start, TagHeader& header) {
  unsigned char b[kHeaderSize];
  if (!source.Read(start, sizeof(b), b) || std::memcmp(b, "ID3", 3) != 0) return false;
  if (b[3] < 2 || b[3] > 4 || b[4] == 0xFF || !IsSyncsafe(b + 6)) return false;
  header.version = b[3];
  header.flags = b[5];
  header.bodySize = Syncsafe(b + 6);
  const bool footer = header.version == 4 && (header.flags & 0x10) != 0;
  header.totalSize = kHeaderSize + header.bodySize + (footer ? kHeaderSize : 0);
  return true;
}

// Reads the frames of a tag whose body lies in [bodyStart, bodyEnd).
class FrameWalker {
 public:
  FrameWalker(ByteSource& source, const TagHeader& header, uint64_t bodyStart, uint64_t bodyEnd, TagValues& values)
      : source_(source),
        header_(header),
        bodyEnd_(bodyEnd),
        values_(values),
        reader_(source, bodyStart, bodyEnd, header.version < 4 && (header.flags & 0x80) != 0) {}

  void Walk() {
    if (!SkipExtendedHeader()) return;
    const size_t headerSize = header_.version == 2 ? 6 : 10;
    const size_t idSize = header_.version == 2 ? 3 : 4;
    std::string head, data;
    for (size_t n = 0; n < kMaxFrames && reader_.Left() >= headerSize && !HasEverything(); ++n) {
      if (!reader_.Read(headerSize, head)) break;
      if (head[0] == '\0') break;  // padding
      if (!std::all_of(head.begin(), head.begin() + static_cast<long>(idSize), IsFrameIdChar)) break;
      const auto* h = reinterpret_cast<const unsigned char*>(head.data());
      uint64_t size = 0;
      unsigned flags = 0;
      if (header_.version == 2) {
        size = uint32_t{h[3]} << 16 | uint32_t{h[4]} << 8 | h[5];
      } else {
        size = header_.version == 4 ? FrameSize4(h + 4) : Be32(h + 4);
        flags = h[9];
      }
      if (size > reader_.Left()) break;  // a frame running past the tag: the rest is damaged
      const FrameKind* kind = KindOf(head.data(), idSize);
      const bool wanted = kind != nullptr && values_.Wanted().Has(kind->tag) && size <= kMaxTextFrameBytes;
      if (!wanted) {
        if (!reader_.Skip(size)) break;
        continue;
      }
      if (!reader_.Read(static_cast<size_t>(size), data)) break;
      if (FrameData(flags, data)) Use(*kind, data);
    }
    for (int rank = 0; rank < kYearRanks; ++rank) {
      if (!years_[rank].empty()) {
        values_.Put(Tag::Year, years_[rank]);
        break;
      }
    }
  }

 private:
  // Whether every tag asked for is found: a text frame stands once in a tag, so the frames behind
  // (often a large picture) need not be read. A year of lower rank and a length are no reason to stop.
  bool HasEverything() const {
    TagSet open = values_.Wanted().Without(values_.Found());
    if (!years_[0].empty()) open.Remove(Tag::Year);
    return !open.Intersects(kFrameTags);
  }

  bool SkipExtendedHeader() {
    if (header_.version == 2 || (header_.flags & 0x40) == 0) return true;
    std::string size;
    if (!reader_.Read(4, size)) return false;
    const auto* b = reinterpret_cast<const unsigned char*>(size.data());
    if (header_.version == 3) return reader_.Skip(Be32(b));
    // Version 4 counts the size field itself.
    return IsSyncsafe(b) && Syncsafe(b) >= 6 && reader_.Skip(Syncsafe(b) - 4);
  }

  // A version-4 frame size is syncsafe, but many writers put a plain number there. The plain
  // reading is taken when only it leads to a next frame (or padding, or the end).
  uint64_t FrameSize4(const unsigned char* b) {
    const uint64_t plain = Be32(b);
    if (!IsSyncsafe(b)) return plain;
    const uint64_t syncsafe = Syncsafe(b);
    if (syncsafe == plain || LandsOnFrame(syncsafe) || !LandsOnFrame(plain)) return syncsafe;
    return plain;
  }

  bool LandsOnFrame(uint64_t size) {
    const uint64_t at = reader_.RawPosition();
    if (size > bodyEnd_ - at) return false;
    const uint64_t next = at + size;
    if (next == bodyEnd_) return true;
    char id[4] = {};
    const size_t count = static_cast<size_t>(std::min<uint64_t>(4, bodyEnd_ - next));
    if (!source_.Read(next, count, reinterpret_cast<unsigned char*>(id))) return false;
    if (id[0] == '\0') return true;
    return count == 4 && std::all_of(id, id + 4, IsFrameIdChar);
  }

  // Turns a frame's stored bytes into its content: compressed and encrypted frames are given up,
  // the group byte and the data length dropped, unsynchronisation undone.
  bool FrameData(unsigned flags, std::string& data) {
    if (header_.version == 3) {
      if (flags & 0xC0) return false;
      if (flags & 0x20) data.erase(0, std::min<size_t>(1, data.size()));
      return true;
    }
    if (header_.version != 4) return true;
    if (flags & 0x0C) return false;
    size_t skip = (flags & 0x40) ? 1 : 0;
    uint32_t dataLength = 0;
    if (flags & 0x01) {
      if (data.size() < skip + 4) return false;
      const auto* b = reinterpret_cast<const unsigned char*>(data.data() + skip);
      dataLength = Syncsafe(b);
      skip += 4;
    }
    if (data.size() < skip) return false;
    data.erase(0, skip);
    if ((flags & 0x02) || (header_.flags & 0x80)) data = Resynchronised(data);
    if ((flags & 0x01) && dataLength < data.size()) data.resize(dataLength);
    return true;
  }

  void Use(const FrameKind& kind, const std::string& data) {
    if (data.size() < 2) return;  // an encoding byte and nothing to decode
    const std::vector<std::wstring> texts = FrameTexts(data, header_.version == 4);
    for (const std::wstring& text : texts) {
      switch (kind.use) {
        case FrameUse::kTag:
          if (kind.tag == Tag::Genre) {
            for (std::wstring& name : GenreNames(text)) values_.Put(Tag::Genre, std::move(name));
          } else {
            values_.Put(kind.tag, text);
          }
          break;
        case FrameUse::kYear:
          if (years_[kind.yearRank].empty()) years_[kind.yearRank] = YearOf(text);
          break;
        case FrameUse::kLength:
          // Milliseconds; more than a few digits is no length a file can have.
          if (AllDigits(text) && text.size() <= 12) values_.PutDuration(std::stod(text) / 1000.0);
          break;
      }
    }
  }

  ByteSource& source_;
  const TagHeader& header_;
  uint64_t bodyEnd_;
  TagValues& values_;
  BodyReader reader_;
  std::wstring years_[kYearRanks];
};

// What an ID3v1 field holds: the trailing NULs and spaces that fill it are not part of it.
std::wstring Id3v1Text(const unsigned char* field, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(field), size);
  text = text.substr(0, std::min(text.find('\0'), text.size()));
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return TextFromLatin1(text);
}

}  // namespace

std::wstring Id3GenreName(unsigned number) { return number < kGenres.size() ? kGenres[number] : L""; }

uint64_t ReadId3v2Tags(ByteSource& source, uint64_t start, TagValues& values) {
  TagHeader header;
  if (!ReadTagHeader(source, start, header)) return 0;
  // Version 2's compression flag means a tag nobody could read.
  const bool readable = !(header.version == 2 && (header.flags & 0x40) != 0);
  if (readable && values.WantsAny(kFrameTags)) {
    const uint64_t bodyStart = start + kHeaderSize;
    const uint64_t bodyEnd = bodyStart + std::min(header.bodySize, source.Size() - bodyStart);
    // A local set: several frames of one tag are joined, but nothing is added to values found before.
    TagValues found(values.Wanted().Without(values.Found()));
    FrameWalker(source, header, bodyStart, bodyEnd, found).Walk();
    values.MergeMissing(found);
  }
  return header.totalSize;
}

bool ReadId3v1Tags(ByteSource& source, TagValues& values) {
  unsigned char b[kId3v1Size];
  if (source.Size() < kId3v1Size || !source.Read(source.Size() - kId3v1Size, sizeof(b), b) ||
      std::memcmp(b, "TAG", 3) != 0) {
    return false;
  }
  if (!values.WantsAny(kFrameTags)) return true;
  TagValues found(values.Wanted().Without(values.Found()));
  found.Put(Tag::Title, Id3v1Text(b + 3, 30));
  found.Put(Tag::Artist, Id3v1Text(b + 33, 30));
  found.Put(Tag::Album, Id3v1Text(b + 63, 30));
  found.Put(Tag::Year, Id3v1Text(b + 93, 4));
  if (b[125] == 0 && b[126] != 0) found.PutNumber(Tag::Track, b[126]);
  found.Put(Tag::Genre, Id3GenreName(b[127]));
  values.MergeMissing(found);
  return true;
}

}  // namespace korval
