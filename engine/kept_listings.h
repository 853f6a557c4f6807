// The list's folders as they were listed when they were read, kept for the previews that follow, so
// that "is this name taken?" is answered from memory instead of listing every folder again. No folder
// is held open between passes (an open folder keeps its parents from being renamed): each listing
// keeps the folder's stamp (its last-write time, which moves with every entry created, deleted or
// renamed in it, and its identity, which the first comparison adds: asking for it opens the folder,
// ten times the cost of the time alone), and a folder whose stamp moved, or that gives none, is
// listed again on the first question of the next preview. A stamp whose time lies within two seconds
// of its listing is unconfirmed (an entry changed in the same tick of the clock would leave the time
// as it is): the next comparison lists the folder once more, and trusts the stamp from then on. Only previews ask here: an execution
// lists the folders anew and asks the file system, so a stale listing can only ever make a preview
// wrong about a status, never an execution lose a file.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/path_existence.h"
#include "platform/file_system.h"

namespace korval {

// The entries of one folder: for each its kind, and its name and short name upper-cased as the file
// system compares them, packed in one buffer behind a table of hashes (a few dozen bytes an entry).
class FolderNames {
 public:
  void Add(const WIN32_FIND_DATAW& entry);
  void Clear();
  // Gives back what the buffers hold beyond their entries.
  void Trim();
  // Whether an entry has key as its name or as its short name.
  bool Contains(std::wstring_view key) const;
  // Whether shortKey is the short name of the entry named longKey.
  bool IsShortNameOf(std::wstring_view shortKey, std::wstring_view longKey) const;
  size_t Entries() const { return entries_; }
  // Whether both hold the same entries in the same order (a folder listed again and found as it was).
  bool SameAs(const FolderNames& other) const { return entries_ == other.entries_ && text_ == other.text_; }
  size_t Bytes() const { return text_.capacity() * sizeof(wchar_t) + slots_.capacity() * sizeof(std::uint32_t); }

 private:
  // A slot holds the entry's offset in text_ plus one (0 = free), with kShortSlot set for its short name.
  static constexpr std::uint32_t kShortSlot = 0x80000000u;
  void Insert(std::uint32_t slot, std::wstring_view key);
  void Grow();
  std::wstring_view LongName(std::uint32_t offset) const;
  std::wstring_view ShortName(std::uint32_t offset) const;
  std::wstring_view SlotName(std::uint32_t slot) const;
  // The slot index where key is, or where it would go.
  size_t Probe(std::wstring_view key, bool wantShort, bool& found) const;

  std::vector<wchar_t> text_;  // per entry: kind (1 file, 2 folder), name, 0, short name, 0
  std::vector<std::uint32_t> slots_;
  size_t entries_ = 0;
  size_t used_ = 0;
};

// One folder as it was listed: its stamp, taken before the listing so that a change made while it
// lists shows as a change, and its names.
struct FolderListing {
  FolderNames names;
  FolderStamp stamp;
  bool stamped = false;
  bool listed = false;
  bool missing = false;  // the folder could not be listed because it is not there
  // The stamp's time lies two seconds or more before the listing: a change after the listing moves
  // it. Else the folder is listed once more at the next comparison.
  bool confirmed = true;
};

// How a listing's stamp is taken: the time alone by the folder's path (a read's listings), or the
// whole stamp through an opened handle, as the comparisons take it (a folder listed again).
enum class StampWay { Quick, Whole };

// Lists folder (ending with a backslash) into listing; with entries, the entries in the file
// system's order go there and the names are left to be made from them (by KeptListings::Keep, on the
// reader's thread, which waits for the listings anyway). Uses nothing but fs, so a thread of its own
// may list ahead of a read with a file system of its own.
void ListFolderInto(FileSystem& fs, const std::wstring& folder, FolderListing& listing,
                    std::vector<WIN32_FIND_DATAW>* entries, StampWay way = StampWay::Quick);

// How much one comparison between passes may ask (KeptListings::NoteOutsideChanges).
struct CompareBound {
  size_t maxFolders = SIZE_MAX;
  // Time after which no further folder is asked (the one being asked is finished).
  std::chrono::steady_clock::duration budget = std::chrono::steady_clock::duration::max();
  // Folders on network drives and shares are left to the previews, which ask them anyway: a server
  // that answers slowly, or not at all, would hold up whoever compares.
  bool skipNetwork = false;
};

class KeptListings final : public PathExistence {
 public:
  explicit KeptListings(FileSystem& fs = SystemFileSystem()) : fs_(fs) {}

  // Lists folder (ending with a backslash) for the list's reader, in the file system's order, and
  // keeps the listing. False when the folder cannot be listed.
  bool List(const std::wstring& folder, std::vector<WIN32_FIND_DATAW>& entries);
  // Keeps a listing of folder made a moment ago elsewhere with its entries; false when it could not
  // be listed.
  bool Keep(const std::wstring& folder, FolderListing&& listing, const std::vector<WIN32_FIND_DATAW>& entries);
  // A preview begins: a folder whose stamp moved is listed again when it is first asked about.
  void BeginPass() { ++pass_; }
  // Compares kept folders' stamps with the disk (a few attribute questions each, no listing), as many
  // as bound allows, taking up where the last call stopped: true when some folder changed from
  // outside since it was listed or last compared, or a folder that was gone is back. Those folders
  // are listed again at the next preview. A folder whose stamp is unconfirmed is listed again here,
  // and counts as changed only when its entries did.
  bool NoteOutsideChanges(const CompareBound& bound = {});
  // The program itself is about to change the disk: every folder is listed again at the next preview
  // (a run renames in many folders at once; listing each again is cheaper than comparing first).
  void MarkAllStale();
  // The list was emptied: the listings go with it.
  void Clear();

  bool Exists(const std::wstring& path) override;
  bool ExistsIn(const std::wstring& folder, const std::wstring& name) override;
  bool IsOwnShortName(const std::wstring& source, const std::wstring& target) override;

  size_t Folders() const { return folders_.size(); }
  size_t Entries() const;
  size_t Bytes() const;

 private:
  struct Folder : FolderListing {
    std::wstring path;  // as it was first given, for the comparisons between passes
    unsigned checkedInPass = 0;
    enum class Place { Unknown, Local, Network } place = Place::Unknown;
  };
  // The folder's listing, made current for this pass.
  Folder& Current(const std::wstring& folder);
  // Takes listing as folder's, which it keeps from now on.
  Folder& Adopt(const std::wstring& folder, FolderListing&& listing);
  // Whether the folder's stamp still is the one of its listing (confirmed or not).
  bool SameStamp(const std::wstring& folder, Folder& kept);
  // Lists the folder again into kept; true when its entries are what they were.
  bool ListAgain(const std::wstring& folder, Folder& kept);
  bool OnNetwork(Folder& kept);
  // The name's key in key_ (no allocation once it has grown).
  std::wstring_view Key(std::wstring_view name);

  FileSystem& fs_;
  std::unordered_map<std::wstring, Folder> folders_;
  std::vector<Folder*> order_;  // the folders in the order they were first kept (map nodes stay put)
  size_t nextToCompare_ = 0;
  unsigned pass_ = 1;
  // The folder asked about last, as it was given: rows come folder by folder.
  std::wstring lastFolder_;
  Folder* last_ = nullptr;
  std::wstring key_;
};

}  // namespace korval
