// Title, Author and Subject of OLE compound documents (doc, xls, ppt): the summary information
// stream, found in the root storage's directory tree and read through the sector tables (or the
// mini stream for a small stream), then its property set in the code page it names.
#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "metadata/tag_readers.h"
#include "metadata/tag_text.h"

namespace korval {
namespace {

constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr unsigned char kSummaryFormat[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                              0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
constexpr char16_t kSummaryName[] = u"\u0005SummaryInformation";
constexpr size_t kHeaderSize = 512;
constexpr size_t kHeaderFatEntries = 109;
constexpr size_t kDirectoryEntrySize = 128;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr uint32_t kNoEntry = 0xFFFFFFFF;
constexpr uint32_t kMiniSectorSize = 64;
constexpr uint32_t kMiniStreamCutoff = 4096;  // smaller streams live in the mini stream
constexpr uint32_t kMaxChainSectors = 1 << 16;     // sectors of one chain followed (32 MB of 512-byte sectors)
constexpr uint32_t kMaxFatSectors = 1 << 17;       // sectors of the sector table (16 million sectors)
constexpr uint32_t kMaxDirectoryEntries = 1 << 16;  // directory entries visited in the tree
constexpr size_t kMaxStreamBytes = 1024 * 1024;     // of the summary stream (a thumbnail may follow the text)
constexpr uint32_t kMaxProperties = 4096;
constexpr uint32_t kMaxSections = 16;
constexpr uint8_t kTypeStream = 2;
constexpr uint8_t kTypeRoot = 5;
constexpr uint32_t kPidCodePage = 1, kPidTitle = 2, kPidSubject = 3, kPidAuthor = 4;
constexpr uint16_t kVtI2 = 2, kVtLpstr = 30, kVtLpwstr = 31;

uint16_t Le16At(const unsigned char* b) { return static_cast<uint16_t>(b[0] | b[1] << 8); }
uint32_t Le32At(const unsigned char* b) { return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24; }

struct DirectoryEntry {
  char16_t name[32] = {};
  uint16_t nameBytes = 0;
  uint8_t type = 0;
  uint32_t left = kNoEntry, right = kNoEntry, child = kNoEntry;
  uint32_t start = 0;
  uint64_t size = 0;
};

class CompoundFile {
 public:
  explicit CompoundFile(ByteSource& source) : source_(source) {}

  bool Open();
  // The stream named `name` directly under the root storage, up to kMaxStreamBytes of it.
  bool ReadRootStream(const char16_t* name, std::string& out);

 private:
  uint64_t SectorOffset(uint32_t sector) const { return (uint64_t{sector} + 1) << shift_; }
  bool NextSector(uint32_t sector, uint32_t& next);
  // The sectors of a chain, `count` of them at most; false when it loops, leaves the file or ends
  // early where `exact`.
  bool Chain(uint32_t start, uint64_t count, bool exact, std::vector<uint32_t>& sectors);
  bool ReadEntry(uint32_t id, DirectoryEntry& entry);
  bool ReadMiniStream(const DirectoryEntry& entry, size_t length, std::string& out);

  ByteSource& source_;
  unsigned shift_ = 9;
  uint32_t sectorSize_ = 512;
  uint32_t sectorCount_ = 0;
  uint32_t firstMiniFat_ = kEndOfChain;
  uint32_t miniFatCount_ = 0;
  std::vector<uint32_t> fat_;  // the sectors that hold the sector table
  std::vector<uint32_t> directory_;
  DirectoryEntry root_;
};

bool CompoundFile::Open() {
  unsigned char h[kHeaderSize];
  if (!source_.Read(0, sizeof(h), h) || std::memcmp(h, kSignature, sizeof(kSignature)) != 0 ||
      Le16At(h + 0x1C) != 0xFFFE) {
    return false;
  }
  shift_ = Le16At(h + 0x1E);
  if (shift_ != 9 && shift_ != 12) return false;
  sectorSize_ = 1u << shift_;
  if (source_.Size() <= sectorSize_) return false;
  sectorCount_ = static_cast<uint32_t>(std::min<uint64_t>((source_.Size() - sectorSize_ + sectorSize_ - 1) >> shift_,
                                                         kMaxRegularSector));
  const uint32_t fatCount = Le32At(h + 0x2C);
  firstMiniFat_ = Le32At(h + 0x3C);
  miniFatCount_ = Le32At(h + 0x40);
  if (Le32At(h + 0x38) != kMiniStreamCutoff || fatCount > kMaxFatSectors || fatCount > sectorCount_) return false;
  for (size_t i = 0; i < kHeaderFatEntries && fat_.size() < fatCount; ++i) fat_.push_back(Le32At(h + 0x4C + i * 4));
  // The rest of the table's sectors are listed in a chain of list sectors, each ending with a link.
  uint32_t difat = Le32At(h + 0x44);
  std::set<uint32_t> seen;
  const uint32_t perSector = sectorSize_ / 4 - 1;
  std::vector<unsigned char> block(sectorSize_);
  while (fat_.size() < fatCount) {
    if (difat >= sectorCount_ || !seen.insert(difat).second ||
        !source_.Read(SectorOffset(difat), sectorSize_, block.data())) {
      return false;
    }
    for (uint32_t i = 0; i < perSector && fat_.size() < fatCount; ++i) fat_.push_back(Le32At(block.data() + i * 4));
    difat = Le32At(block.data() + perSector * 4);
  }
  for (uint32_t sector : fat_) {
    if (sector >= sectorCount_) return false;
  }
  if (!Chain(Le32At(h + 0x30), kMaxDirectoryEntries * kDirectoryEntrySize >> shift_, false, directory_) ||
      directory_.empty()) {
    return false;
  }
  return ReadEntry(0, root_) && root_.type == kTypeRoot;
}

bool CompoundFile::NextSector(uint32_t sector, uint32_t& next) {
  const uint32_t perSector = sectorSize_ / 4;
  const uint32_t index = sector / perSector;
  return index < fat_.size() && source_.ReadLe32(SectorOffset(fat_[index]) + uint64_t{sector % perSector} * 4, next);
}

bool CompoundFile::Chain(uint32_t start, uint64_t count, bool exact, std::vector<uint32_t>& sectors) {
  sectors.clear();
  std::set<uint32_t> seen;
  uint32_t sector = start;
  const uint64_t limit = std::min<uint64_t>({count, sectorCount_, kMaxChainSectors});
  while (sectors.size() < limit) {
    if (sector == kEndOfChain) return !exact;
    if (sector >= sectorCount_ || !seen.insert(sector).second) return false;
    sectors.push_back(sector);
    if (!NextSector(sector, sector)) return false;
  }
  return sectors.size() == count || !exact;
}

bool CompoundFile::ReadEntry(uint32_t id, DirectoryEntry& entry) {
  const uint32_t perSector = sectorSize_ / kDirectoryEntrySize;
  if (id / perSector >= directory_.size()) return false;
  unsigned char e[kDirectoryEntrySize];
  if (!source_.Read(SectorOffset(directory_[id / perSector]) + uint64_t{id % perSector} * kDirectoryEntrySize,
                    sizeof(e), e)) {
    return false;
  }
  for (int i = 0; i < 32; ++i) entry.name[i] = static_cast<char16_t>(Le16At(e + i * 2));
  entry.nameBytes = Le16At(e + 0x40);
  entry.type = e[0x42];
  entry.left = Le32At(e + 0x44);
  entry.right = Le32At(e + 0x48);
  entry.child = Le32At(e + 0x4C);
  entry.start = Le32At(e + 0x74);
  entry.size = Le32At(e + 0x78);
  // Files with 512-byte sectors may leave garbage in the size's high half.
  if (shift_ == 12) entry.size |= uint64_t{Le32At(e + 0x7C)} << 32;
  return entry.nameBytes <= 64;
}

bool CompoundFile::ReadMiniStream(const DirectoryEntry& entry, size_t length, std::string& out) {
  // The mini sectors' chain runs through the mini table, itself a chain of regular sectors; the mini
  // sectors lie in the root entry's stream.
  const uint64_t miniCount = (length + kMiniSectorSize - 1) / kMiniSectorSize;
  std::vector<uint32_t> miniFat, container;
  if (!Chain(firstMiniFat_, miniFatCount_, false, miniFat) ||
      !Chain(root_.start, (root_.size + sectorSize_ - 1) >> shift_, false, container)) {
    return false;
  }
  const uint32_t perSector = sectorSize_ / 4;
  std::set<uint32_t> seen;
  uint32_t mini = entry.start;
  out.clear();
  for (uint64_t i = 0; i < miniCount; ++i) {
    const uint64_t at = uint64_t{mini} * kMiniSectorSize;
    if (mini / perSector >= miniFat.size() || !seen.insert(mini).second || at >= root_.size ||
        (at >> shift_) >= container.size()) {
      return false;
    }
    const size_t take = static_cast<size_t>(std::min<uint64_t>(kMiniSectorSize, length - out.size()));
    std::string piece;
    if (!source_.ReadText(SectorOffset(container[at >> shift_]) + (at & (sectorSize_ - 1)), take, piece) ||
        piece.size() != take) {
      return false;
    }
    out += piece;
    if (!source_.ReadLe32(SectorOffset(miniFat[mini / perSector]) + uint64_t{mini % perSector} * 4, mini)) return false;
  }
  return true;
}

bool CompoundFile::ReadRootStream(const char16_t* name, std::string& out) {
  // The root's children form a tree of siblings (left and right links); each entry is visited once.
  std::vector<uint32_t> pending = {root_.child};
  std::set<uint32_t> seen;
  const size_t nameLength = std::char_traits<char16_t>::length(name);
  while (!pending.empty() && seen.size() < kMaxDirectoryEntries) {
    const uint32_t id = pending.back();
    pending.pop_back();
    DirectoryEntry entry;
    if (id == kNoEntry || !seen.insert(id).second || !ReadEntry(id, entry)) continue;
    pending.push_back(entry.left);
    pending.push_back(entry.right);
    if (entry.type != kTypeStream || entry.nameBytes != (nameLength + 1) * 2 ||
        std::char_traits<char16_t>::compare(entry.name, name, nameLength) != 0) {
      continue;
    }
    const size_t length = static_cast<size_t>(std::min<uint64_t>(entry.size, kMaxStreamBytes));
    if (entry.size < kMiniStreamCutoff) return ReadMiniStream(entry, length, out);
    std::vector<uint32_t> sectors;
    const uint64_t count = (length + sectorSize_ - 1) >> shift_;
    if (!Chain(entry.start, count, true, sectors)) return false;
    out.clear();
    for (uint32_t sector : sectors) {
      std::string piece;
      const size_t take = std::min<size_t>(sectorSize_, length - out.size());
      if (!source_.ReadText(SectorOffset(sector), take, piece) || piece.size() != take) return false;
      out += piece;
    }
    return true;
  }
  return false;
}

// The summary properties of a property set stream: the section of the summary format, its code
// page, then each text property asked for.
void ReadSummaryProperties(std::string_view stream, TagValues& values) {
  const unsigned char* s = reinterpret_cast<const unsigned char*>(stream.data());
  if (stream.size() < 28 || Le16At(s) != 0xFFFE) return;
  const uint32_t sections = std::min(Le32At(s + 24), kMaxSections);
  uint64_t section = 0;
  for (uint32_t i = 0; i < sections && section == 0; ++i) {
    const uint64_t at = 28 + uint64_t{i} * 20;
    if (at + 20 > stream.size()) return;
    if (std::memcmp(s + at, kSummaryFormat, 16) == 0) section = Le32At(s + at + 16);
  }
  if (section == 0 || section > stream.size() || stream.size() - section < 8) return;
  const uint64_t sectionSize = std::min<uint64_t>(Le32At(s + section), stream.size() - section);
  const uint32_t count = Le32At(s + section + 4);
  if (sectionSize < 8 || count > kMaxProperties || count > (sectionSize - 8) / 8) return;
  const unsigned char* base = s + section;
  // The value of property `id`: its type and the bytes behind it inside the section.
  auto find = [&](uint32_t id, uint16_t& type, uint64_t& at) {
    for (uint32_t i = 0; i < count; ++i) {
      const unsigned char* pair = base + 8 + uint64_t{i} * 8;
      if (Le32At(pair) != id) continue;
      at = Le32At(pair + 4);
      if (at > sectionSize || sectionSize - at < 8) return false;
      type = Le16At(base + at);
      at += 4;
      return true;
    }
    return false;
  };
  unsigned codePage = 1252;
  uint16_t type = 0;
  uint64_t at = 0;
  if (find(kPidCodePage, type, at) && type == kVtI2) codePage = Le16At(base + at);
  static constexpr std::pair<uint32_t, Tag> kTexts[] = {
      {kPidTitle, Tag::Title}, {kPidSubject, Tag::Subject}, {kPidAuthor, Tag::Author}};
  for (const auto& [id, tag] : kTexts) {
    if (!values.Wants(tag) || !find(id, type, at)) continue;
    const uint32_t length = Le32At(base + at);  // bytes, or characters of a wide string
    const uint64_t bytes = type == kVtLpwstr ? uint64_t{length} * 2 : length;
    if ((type != kVtLpstr && type != kVtLpwstr) || bytes > sectionSize - at - 4) continue;
    const std::string_view text(reinterpret_cast<const char*>(base + at + 4), static_cast<size_t>(bytes));
    values.Put(tag, type == kVtLpwstr ? TextFromUtf16(text, false) : TextFromCodePage(text, codePage));
  }
}

}  // namespace

void ReadOleTags(ByteSource& source, TagValues& values) {
  TagSet tags = TagSet::Of(Tag::Title);
  tags.Add(Tag::Author);
  tags.Add(Tag::Subject);
  if (!values.WantsAny(tags)) return;
  CompoundFile file(source);
  std::string stream;
  if (file.Open() && file.ReadRootStream(kSummaryName, stream)) ReadSummaryProperties(stream, values);
}

}  // namespace korval
