// RIFF files (WAVE sound and AVI movies): the text items of the LIST INFO chunk, an ID3v2 tag in an
// "id3 " chunk, and the duration from the format and data chunks (AVI: from its main header, which
// also gives the frame size). Chunks are walked by their sizes, padded to even.
#include <algorithm>
#include <cstring>
#include <string>

#include "metadata/tag_readers.h"
#include "metadata/tag_text.h"

namespace korval {
namespace {

constexpr size_t kMaxChunks = 4096;        // per level; more is no real file
constexpr uint32_t kMaxTextBytes = 65536;  // longer INFO items are skipped, not read
constexpr uint32_t kMaxFrameSide = 65535;  // pixels; anything larger is a damaged header

constexpr TagSet kRiffTags = kMusicTags.Union(TagSet::Of(Tag::Width)).Union(TagSet::Of(Tag::Height));

struct InfoItem {
  char id[5];
  Tag tag;
};
constexpr InfoItem kInfoItems[] = {
    {"INAM", Tag::Title}, {"IART", Tag::Artist}, {"IPRD", Tag::Album}, {"IGNR", Tag::Genre},
    {"ICRD", Tag::Year},  {"ITRK", Tag::Track},  {"IPRT", Tag::Track},
};

uint32_t Le32(const unsigned char* b) {
  return uint32_t{b[3]} << 24 | uint32_t{b[2]} << 16 | uint32_t{b[1]} << 8 | b[0];
}

struct Chunk {
  char id[4];
  uint64_t body = 0;
  uint64_t size = 0;       // as far as the parent holds it
  bool cut = false;        // the chunk claims more than its parent holds
  bool Is(const char* name) const { return std::memcmp(id, name, 4) == 0; }
};

// Calls visit(chunk) for the chunks in [from, end). A chunk that claims more than is left is the
// last one; it is visited with `cut` set (a data chunk's size often lies).
template <typename Visit>
void ForEachChunk(ByteSource& source, uint64_t from, uint64_t end, Visit visit) {
  uint64_t at = from;
  for (size_t n = 0; n < kMaxChunks && at < end && end - at >= 8; ++n) {
    unsigned char head[8];
    if (!source.Read(at, sizeof(head), head)) return;
    Chunk chunk;
    std::memcpy(chunk.id, head, 4);
    chunk.body = at + 8;
    const uint64_t claimed = Le32(head + 4);
    chunk.cut = claimed > end - chunk.body;
    chunk.size = std::min(claimed, end - chunk.body);
    visit(chunk);
    if (chunk.cut) return;
    at = chunk.body + chunk.size + (chunk.size & 1);
  }
}


bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The year a date begins with ("2004-05-06" gives "2004"); any other text as it is.
std::wstring YearOf(const std::wstring& text) {
  const bool leadingYear = text.size() > 4 && std::all_of(text.begin(), text.begin() + 4, IsDigit) && !IsDigit(text[4]);
  return leadingYear ? text.substr(0, 4) : text;
}

void ReadInfo(ByteSource& source, uint64_t from, uint64_t end, TagValues& values) {
  std::string bytes;
  ForEachChunk(source, from, end, [&](const Chunk& c) {
    for (const InfoItem& item : kInfoItems) {
      if (!c.Is(item.id) || c.cut || !values.Wanted().Has(item.tag) || c.size > kMaxTextBytes) continue;
      if (!source.ReadText(c.body, static_cast<size_t>(c.size), bytes)) return;
      const std::wstring text = TextFromUtf8OrLatin1(bytes);
      values.Put(item.tag, item.tag == Tag::Year ? YearOf(text) : text);
    }
  });
}

// An ID3v2 tag that fills a chunk: taken only when it fits in it.
void ReadId3Chunk(ByteSource& source, const Chunk& c, TagValues& values) {
  TagValues sizeOnly(TagSet{});
  const uint64_t tagSize = ReadId3v2Tags(source, c.body, sizeOnly);
  if (tagSize != 0 && tagSize <= c.size) ReadId3v2Tags(source, c.body, values);
}

struct AviHeader {
  uint32_t microsecondsPerFrame = 0;
  uint32_t frames = 0;
  uint32_t framesOfAllParts = 0;  // from the extended header of a movie written in several parts
  uint32_t width = 0;
  uint32_t height = 0;
};

void ReadAviHeaders(ByteSource& source, const Chunk& hdrl, AviHeader& header) {
  ForEachChunk(source, hdrl.body + 4, hdrl.body + hdrl.size, [&](const Chunk& c) {
    unsigned char b[40];
    if (c.Is("avih") && c.size >= sizeof(b) && source.Read(c.body, sizeof(b), b)) {
      header.microsecondsPerFrame = Le32(b);
      header.frames = Le32(b + 16);
      header.width = Le32(b + 32);
      header.height = Le32(b + 36);
    } else if (c.Is("LIST") && c.size >= 12 && source.Read(c.body, 4, b) && std::memcmp(b, "odml", 4) == 0) {
      ForEachChunk(source, c.body + 4, c.body + c.size, [&](const Chunk& d) {
        if (d.Is("dmlh") && d.size >= 4 && source.Read(d.body, 4, b)) header.framesOfAllParts = Le32(b);
      });
    }
  });
}

}  // namespace

void ReadRiffTags(ByteSource& source, TagValues& values) {
  unsigned char head[12];
  if (!source.Read(0, sizeof(head), head) || std::memcmp(head, "RIFF", 4) != 0) return;
  const bool wave = std::memcmp(head + 8, "WAVE", 4) == 0;
  const bool avi = std::memcmp(head + 8, "AVI ", 4) == 0;
  if ((!wave && !avi) || !values.WantsAny(kRiffTags)) return;
  // Writers that stream leave the size 0 (or too large): the file then decides where RIFF ends.
  const uint64_t riffSize = Le32(head + 4);
  const uint64_t end = riffSize < 4 ? source.Size() : std::min(8 + riffSize, source.Size());

  const TagSet open = values.Wanted().Without(values.Found());
  TagValues id3(open), info(open);
  uint32_t bytesPerSecond = 0;
  uint64_t dataSize = 0;
  bool haveData = false;
  AviHeader avih;
  ForEachChunk(source, 12, end, [&](const Chunk& c) {
    unsigned char b[12];
    if (c.Is("data")) {
      dataSize = c.size;
      haveData = true;
    } else if (c.cut) {
      return;
    } else if (c.Is("fmt ") && c.size >= 16 && source.Read(c.body, 12, b)) {
      bytesPerSecond = Le32(b + 8);
    } else if (c.Is("LIST") && c.size >= 4 && source.Read(c.body, 4, b)) {
      if (std::memcmp(b, "INFO", 4) == 0) ReadInfo(source, c.body + 4, c.body + c.size, info);
      if (avi && std::memcmp(b, "hdrl", 4) == 0) ReadAviHeaders(source, c, avih);
    } else if (c.Is("id3 ") || c.Is("ID3 ")) {
      ReadId3Chunk(source, c, id3);
    }
  });

  if (wave && haveData && bytesPerSecond != 0) values.PutDuration(static_cast<double>(dataSize) / bytesPerSecond);
  if (avi) {
    const uint32_t frames = avih.framesOfAllParts != 0 ? avih.framesOfAllParts : avih.frames;
    if (avih.microsecondsPerFrame != 0 && frames != 0) {
      values.PutDuration(static_cast<double>(avih.microsecondsPerFrame) * frames / 1e6);
    }
    if (avih.width != 0 && avih.width <= kMaxFrameSide && avih.height != 0 && avih.height <= kMaxFrameSide) {
      values.PutNumber(Tag::Width, avih.width);
      values.PutNumber(Tag::Height, avih.height);
    }
  }
  // The ID3v2 tag ranks above the INFO items; the length frame counts only when the chunks gave none.
  values.MergeMissing(id3);
  values.MergeMissing(info);
}

}  // namespace korval
