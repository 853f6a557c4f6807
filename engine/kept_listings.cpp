// Folder listings kept between previews, and the packed name table of one folder.
#include "engine/kept_listings.h"

#include <cwchar>

namespace korval {
namespace {

constexpr wchar_t kFileKind = 1;
constexpr wchar_t kFolderKind = 2;

// FNV-1a over the code units of a key.
std::uint32_t HashOf(std::wstring_view key) {
  std::uint32_t hash = 2166136261u;
  for (const wchar_t c : key) hash = (hash ^ static_cast<std::uint32_t>(c)) * 16777619u;
  return hash;
}

// Two seconds in the 100-nanosecond units of a file time.
constexpr ULONGLONG kUnconfirmedSpan = 20'000'000;

ULONGLONG Ticks(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Whether a folder's time lies so close to the moment of its listing (or after it) that an entry
// changed after the listing may have left it as it is.
bool Unconfirmed(const FILETIME& folderTime, const FILETIME& listedAt) {
  return Ticks(folderTime) + kUnconfirmedSpan > Ticks(listedAt);
}

bool HasWildcard(std::wstring_view name) { return name.find_first_of(L"*?") != std::wstring_view::npos; }

// Appends the key of name (FileSystemKey) to text; the number of code units appended.
size_t AppendKey(std::vector<wchar_t>& text, const wchar_t* name) {
  size_t length = wcslen(name);
  while (length > 0 && (name[length - 1] == L'.' || name[length - 1] == L' ')) --length;
  const size_t start = text.size();
  bool ascii = true;
  for (size_t i = 0; i < length; ++i) {
    wchar_t c = name[i];
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - (L'a' - L'A'));
    ascii = ascii && c < 0x80;
    text.push_back(c);
  }
  if (!ascii) CharUpperBuffW(text.data() + start, static_cast<DWORD>(length));
  return length;
}

}  // namespace

void FolderNames::Add(const WIN32_FIND_DATAW& entry) {
  // Written straight into the buffer: a listing adds thousands of entries.
  const auto offset = static_cast<std::uint32_t>(text_.size());
  text_.push_back((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? kFolderKind : kFileKind);
  const size_t nameLength = AppendKey(text_, entry.cFileName);
  text_.push_back(0);
  const size_t shortStart = text_.size();
  size_t shortLength = entry.cAlternateFileName[0] ? AppendKey(text_, entry.cAlternateFileName) : 0;
  const std::wstring_view name(text_.data() + offset + 1, nameLength);
  if (shortLength > 0 && std::wstring_view(text_.data() + shortStart, shortLength) == name) {
    text_.resize(shortStart);
    shortLength = 0;
  }
  text_.push_back(0);
  ++entries_;
  if ((used_ + 2) * 2 > slots_.size()) Grow();
  Insert(offset + 1, LongName(offset));
  if (shortLength > 0) Insert((offset + 1) | kShortSlot, ShortName(offset));
}

void FolderNames::Clear() {
  text_.clear();
  slots_.clear();
  entries_ = used_ = 0;
}

void FolderNames::Trim() { text_.shrink_to_fit(); }

std::wstring_view FolderNames::LongName(std::uint32_t offset) const { return text_.data() + offset + 1; }

std::wstring_view FolderNames::ShortName(std::uint32_t offset) const {
  const std::wstring_view name = LongName(offset);
  return text_.data() + offset + 1 + name.size() + 1;
}

std::wstring_view FolderNames::SlotName(std::uint32_t slot) const {
  const std::uint32_t offset = (slot & ~kShortSlot) - 1;
  return (slot & kShortSlot) ? ShortName(offset) : LongName(offset);
}

size_t FolderNames::Probe(std::wstring_view key, bool wantShort, bool& found) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = HashOf(key) & mask;; i = (i + 1) & mask) {
    const std::uint32_t slot = slots_[i];
    if (slot == 0) {
      found = false;
      return i;
    }
    if ((!wantShort || (slot & kShortSlot)) && SlotName(slot) == key) {
      found = true;
      return i;
    }
  }
}

void FolderNames::Insert(std::uint32_t slot, std::wstring_view key) {
  const size_t mask = slots_.size() - 1;
  size_t i = HashOf(key) & mask;
  while (slots_[i] != 0) i = (i + 1) & mask;
  slots_[i] = slot;
  ++used_;
}

void FolderNames::Grow() {
  std::vector<std::uint32_t> old = std::move(slots_);
  slots_.assign(old.empty() ? 16 : old.size() * 2, 0);
  used_ = 0;
  for (const std::uint32_t slot : old) {
    if (slot != 0) Insert(slot, SlotName(slot));
  }
}

bool FolderNames::Contains(std::wstring_view key) const {
  if (slots_.empty()) return false;
  bool found = false;
  Probe(key, false, found);
  return found;
}

bool FolderNames::IsShortNameOf(std::wstring_view shortKey, std::wstring_view longKey) const {
  if (slots_.empty()) return false;
  // Several entries never share a short name, but the probe must skip long names equal to shortKey.
  const size_t mask = slots_.size() - 1;
  for (size_t i = HashOf(shortKey) & mask; slots_[i] != 0; i = (i + 1) & mask) {
    const std::uint32_t slot = slots_[i];
    if ((slot & kShortSlot) && SlotName(slot) == shortKey) return LongName((slot & ~kShortSlot) - 1) == longKey;
  }
  return false;
}

void ListFolderInto(FileSystem& fs, const std::wstring& folder, FolderListing& listing,
                    std::vector<WIN32_FIND_DATAW>* entries, StampWay way) {
  FILETIME listedAt;
  GetSystemTimeAsFileTime(&listedAt);
  listing.stamped = way == StampWay::Whole ? fs.StampFolder(folder.c_str(), listing.stamp)
                                           : fs.QuickStampFolder(folder.c_str(), listing.stamp);
  listing.confirmed = !listing.stamped || !Unconfirmed(listing.stamp.lastWrite, listedAt);
  listing.names.Clear();
  if (entries) entries->clear();
  listing.listed = fs.ListFolder(folder.c_str(), [&](const WIN32_FIND_DATAW& entry) {
    if (entries) {
      entries->push_back(entry);
    } else {
      listing.names.Add(entry);
    }
  });
  // Only a folder that is not there counts as gone: one that cannot be listed (no access) would
  // otherwise seem to come back at every comparison.
  listing.missing = !listing.listed && fs.GetAttributes(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
  listing.names.Trim();
}

bool KeptListings::List(const std::wstring& folder, std::vector<WIN32_FIND_DATAW>& entries) {
  FolderListing listing;
  ListFolderInto(fs_, folder, listing, &entries);
  return Keep(folder, std::move(listing), entries);
}

bool KeptListings::Keep(const std::wstring& folder, FolderListing&& listing,
                        const std::vector<WIN32_FIND_DATAW>& entries) {
  for (const WIN32_FIND_DATAW& entry : entries) listing.names.Add(entry);
  listing.names.Trim();
  Folder& kept = Adopt(folder, std::move(listing));
  kept.checkedInPass = pass_;
  return kept.listed;
}

KeptListings::Folder& KeptListings::Adopt(const std::wstring& folder, FolderListing&& listing) {
  Folder& kept = folders_[FileSystemKey(folder)];
  last_ = nullptr;
  if (kept.path.empty()) {
    kept.path = folder;
    order_.push_back(&kept);
  }
  // An unconfirmed stamp found again by a later listing is trusted: an entry changed in the tick of
  // the first listing is in the second.
  if (!listing.confirmed && kept.stamped && !kept.confirmed && listing.stamp.SameTime(kept.stamp)) {
    listing.confirmed = true;
  }
  static_cast<FolderListing&>(kept) = std::move(listing);
  return kept;
}

bool KeptListings::SameStamp(const std::wstring& folder, Folder& kept) {
  FolderStamp now;
  if (!kept.stamped || !fs_.StampFolder(folder.c_str(), now)) return false;
  // A listing's stamp has the folder's time alone: the first comparison adds the identity while the
  // time is still the listing's.
  if (!kept.stamp.identified && kept.stamp.SameTime(now)) kept.stamp = now;
  return now == kept.stamp;
}

bool KeptListings::ListAgain(const std::wstring& folder, Folder& kept) {
  FolderListing listing;
  ListFolderInto(fs_, folder, listing, nullptr, StampWay::Whole);
  const bool same = kept.listed && listing.listed && listing.names.SameAs(kept.names);
  Adopt(folder, std::move(listing));
  return same;
}

bool KeptListings::OnNetwork(Folder& kept) {
  if (kept.place == Folder::Place::Unknown) {
    kept.place = fs_.OnNetwork(kept.path.c_str()) ? Folder::Place::Network : Folder::Place::Local;
  }
  return kept.place == Folder::Place::Network;
}

bool KeptListings::NoteOutsideChanges(const CompareBound& bound) {
  bool changed = false;
  const size_t count = bound.maxFolders < order_.size() ? bound.maxFolders : order_.size();
  const auto start = std::chrono::steady_clock::now();
  for (size_t i = 0; i < count; ++i) {
    if (i > 0 && std::chrono::steady_clock::now() - start >= bound.budget) break;
    if (nextToCompare_ >= order_.size()) nextToCompare_ = 0;
    Folder& kept = *order_[nextToCompare_++];
    if (bound.skipNetwork && OnNetwork(kept)) continue;
    // A folder that was gone when it was last listed (renamed away, removed) tells when it is back:
    // one attribute question, no handle.
    if (kept.missing) {
      const DWORD attributes = fs_.GetAttributes(kept.path.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        kept.missing = false;
        changed = true;
      }
      continue;
    }
    // A folder already due to be listed again, or one that gives no stamp, has nothing to tell.
    if (!kept.listed || !kept.stamped) continue;
    if (SameStamp(kept.path, kept)) {
      if (kept.confirmed || ListAgain(kept.path, kept)) continue;
      kept.checkedInPass = 0;  // listed anew: the next preview takes the new listing as it is
    } else {
      kept.listed = false;
    }
    changed = true;
  }
  if (changed) last_ = nullptr;
  return changed;
}

void KeptListings::MarkAllStale() {
  for (auto& [key, kept] : folders_) kept.listed = false;
  last_ = nullptr;
}

void KeptListings::Clear() {
  folders_.clear();
  order_.clear();
  nextToCompare_ = 0;
  last_ = nullptr;
  lastFolder_.clear();
}

KeptListings::Folder& KeptListings::Current(const std::wstring& folder) {
  if (last_ && last_->checkedInPass == pass_ && folder == lastFolder_) return *last_;
  Folder& kept = folders_[FileSystemKey(folder)];
  lastFolder_ = folder;
  last_ = &kept;
  if (kept.checkedInPass != pass_) {
    kept.checkedInPass = pass_;
    // Listed again with the whole stamp, as the comparisons take it: a stamp taken another way
    // (a link's own time against its target's) would never agree with theirs.
    if (!kept.listed || !SameStamp(folder, kept) || !kept.confirmed) {
      FolderListing listing;
      ListFolderInto(fs_, folder, listing, nullptr, StampWay::Whole);
      Adopt(folder, std::move(listing));
      last_ = &kept;
    }
  }
  return kept;
}

std::wstring_view KeptListings::Key(std::wstring_view name) {
  FileSystemKeyInto(name, key_);
  return key_;
}

bool KeptListings::ExistsIn(const std::wstring& folder, const std::wstring& name) {
  // Wildcards would make a lookup match patterns; such names never reach here from validation.
  if (HasWildcard(name)) return fs_.Find((folder + name).c_str(), nullptr);
  Folder& kept = Current(folder);
  const std::wstring_view key = Key(name);
  return !key.empty() && kept.names.Contains(key);
}

bool KeptListings::Exists(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos) return false;
  return ExistsIn(path.substr(0, slash + 1), path.substr(slash + 1));
}

bool KeptListings::IsOwnShortName(const std::wstring& source, const std::wstring& target) {
  const size_t sourceSlash = source.find_last_of(L'\\');
  const size_t targetSlash = target.find_last_of(L'\\');
  if (sourceSlash == std::wstring::npos || targetSlash == std::wstring::npos) return false;
  // Generated short names always carry a "~"; other names need no lookup (nor any key made).
  if (target.find(L'~', targetSlash + 1) == std::wstring::npos) return false;
  const std::wstring folder = target.substr(0, targetSlash + 1);
  if (FileSystemKey(source.substr(0, sourceSlash + 1)) != FileSystemKey(folder)) return false;
  const std::wstring targetKey = FileSystemKey(target.substr(targetSlash + 1));
  const std::wstring sourceKey = FileSystemKey(source.substr(sourceSlash + 1));
  if (targetKey.empty() || targetKey == sourceKey) return false;
  return Current(folder).names.IsShortNameOf(targetKey, sourceKey);
}

size_t KeptListings::Entries() const {
  size_t entries = 0;
  for (const auto& [key, kept] : folders_) entries += kept.names.Entries();
  return entries;
}

size_t KeptListings::Bytes() const {
  size_t bytes = 0;
  for (const auto& [key, kept] : folders_) bytes += kept.names.Bytes() + key.capacity() * sizeof(wchar_t) + sizeof(kept);
  return bytes;
}

}  // namespace korval
