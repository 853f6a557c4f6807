// Turns paths into rows of the rename list: dropped items, a chosen folder, a folder of the tree.
// Decides by depth, list target, filters, shortcuts and duplicates what becomes a row, stops at the
// row limit, and lets the user abort with ESC.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "engine/rename_list.h"
#include "filelist/duplicate_index.h"
#include "filelist/read_filter.h"
#include "modes/quicktime_date.h"
#include "platform/file_system.h"
#include "platform/path_refusal.h"

namespace korval {

enum class ReadOutcome : int { Continue = 0, LimitReached = 1, Aborted = 2 };

// The row limits that `maxfilenum` picks from.
inline constexpr int kMaxRowTable[] = {1000, 2000, 5000, 10000, 20000, 30000, 50000};
inline constexpr int kMaxRowChoices = 7;
int MaxRowsFor(int maxfilenum);

// Depth choices run 0..10; above that ("全") the depth is unlimited.
inline constexpr int kUnlimitedDepth = 11;
// Level offsets: two per folder step, a thousand for "reached through a shortcut".
inline constexpr int kShortcutLevel = 1000;
inline constexpr int kSubfolderLevel = 1000;

// The settings a read uses. maxfilenum, folderread, folderreadWorking and noSubFolderAsked may be
// changed by the user's answers during a read; the caller keeps them.
struct ReadSettings {
  int fileDir = 0;            // 0 files, 1 folders
  int subdir = 1;             // depth 0..11
  bool subdirtree = true;     // a read from the folder tree uses depth 1
  int depthOverride = -1;     // the command line's depth, -1 for none
  int folderread = 0;         // the setting
  int folderreadWorking = 0;  // its working copy
  bool noSubFolderAsked = false;
  bool shortcutlink = false;
  int maxfilenum = 1;
  bool listcols1 = true;      // size column shown
  bool listcols2 = true;      // date column shown
  int columndate = 1;
  int sizeUnit = 0;
  bool showRenameErrors = true;  // "リネームのエラーを表示する": ESC asks before aborting
  std::wstring timezone = kSystemTimeZone;  // movie time-zone setting for capture dates
  // An automatic command-line run skips size and date texts unless the sort order needs them.
  bool automaticRun = false;
  bool sortedBySize = false;
  bool sortedByDate = false;
  FilterSettings filter;
  // A file the reader never lists (the report an unattended run writes), as a full path.
  std::wstring ownFile;
};

// What the reader asks of the program around it. Every member may be empty.
struct ReadHooks {
  std::function<bool()> escapeDown;        // default: the ESC key's asynchronous state
  std::function<void()> refreshCounter;    // the "選択 %3d/ %3d" counter
  std::function<void()> showReadingHint;   // re-show the reading hint with the next list notification
  std::function<void()> bringToFront;
  std::function<void()> leaveUndoMode;     // default: the list leaves undo mode and is emptied
  std::function<void()> switchToFiles;     // default: the target becomes files and the list is emptied
  std::function<void()> clearList;         // default: the list is emptied
  std::function<void()> markListChanged;
  std::function<void()> previewOutOfDate;
  std::function<void(const std::wstring&)> positionSample;  // longest old name of the list
  std::function<void()> idleHint;
  // Lists a folder (ending with a backslash) in the file system's order; default: the reader's file
  // system. The window keeps the listings for its previews.
  std::function<bool(const std::wstring& folder, std::vector<WIN32_FIND_DATAW>& entries)> listFolder;
  // The folders (each ending with a backslash) the read lists next, in this order, before any named
  // earlier: told as soon as a folder's entries are known, so that they may be listed ahead.
  std::function<void(const std::vector<std::wstring>& folders)> foldersAhead;
};

struct ReadResult {
  ReadOutcome outcome = ReadOutcome::Continue;
  size_t added = 0;
  bool read = false;  // false when nothing was read (declined, out of memory, path too short)
};

// Items whose full path does not fit a row, or whose path the program will not read
// (platform/path_refusal.h): they are left out and the user is told how many, and why.
inline constexpr const wchar_t* kTooLongCaption = L"Path Too Long";
inline constexpr const wchar_t* kTooLongText =
    L"ファイル名が長すぎます。\r\n\r\nフルパスが32767文字を超えるため、%d 個の項目をリストに読み込めませんでした。\r\n\r\n%s";
inline constexpr const wchar_t* kRefusedCaption = L"Path Not Read";
inline constexpr const wchar_t* kRefusedText = L"%s\r\n\r\n%d 個の項目をリストに読み込めませんでした。\r\n\r\n%s";

struct RefusedPath {
  std::wstring path;
  const wchar_t* reason;  // one of the texts of platform/path_refusal.h (compare them as texts)
  size_t nameStart = std::wstring::npos;  // where the name begins, when not after the last backslash

  size_t NameStart() const { return nameStart != std::wstring::npos ? nameStart : path.find_last_of(L'\\') + 1; }
};

// The reading hint shown while a read runs.
inline constexpr const wchar_t* kReadingHint = L" ファイルを読み込み中 ... （◆◆ ESCキー長押しで中断します ◆◆）";

class ListReader {
 public:
  ListReader(RenameList& list, ReadSettings& settings, ReadHooks hooks = {}, FileSystem& fs = SystemFileSystem());

  // Reads dropped files and folders in order.
  ReadResult ReadDroppedItems(const std::vector<std::wstring>& paths);
  // Reads one path (the folder tree, the folder dialog, a hand-over); with clearFirst the list is
  // emptied first. Paths shorter than 3 characters are ignored.
  ReadResult ReadPathIntoList(const std::wstring& path, bool clearFirst, bool fromTree);

  // The recursive readers. `entry` is the directory entry of the path when an enumeration found it.
  ReadOutcome ReadFileTree(const std::wstring& path, size_t baseCount, size_t& addedCount, int level, bool fromTree,
                           const WIN32_FIND_DATAW* entry = nullptr);
  ReadOutcome ReadFolderTree(const std::wstring& path, size_t baseCount, size_t& addedCount, int level,
                             const WIN32_FIND_DATAW* entry = nullptr);

  // Applies the filters and inserts the row at index; false when the path is filtered out or cannot
  // be a row.
  bool AddListedRow(size_t index, const std::wstring& path, const WIN32_FIND_DATAW* entry = nullptr);

  // Rebuilds the extension list from the filter settings (after they were loaded or changed).
  void RebuildExtensionFilter();

  // Snapshot handling, public for callers that read outside the two entry points.
  bool BeginRead();
  void EndRead();

  bool SubfolderFound() const { return subfolderFound_; }
  // The items of this reader's reads that were left out because their full path does not fit a row
  // (a folder stands for everything in it) or was refused, in the order met.
  const std::vector<RefusedPath>& RefusedPaths() const { return refused_; }
  const DuplicateIndex& Duplicates() const { return duplicates_; }

  // True while a list of count rows may take one more; at the limit, with ask, the user is asked to
  // raise it ("Too Many Files!").
  bool CheckRowLimit(size_t count, bool ask);

 private:
  bool EscapeAborts();
  // Takes out of a folder's entries those no path can reach, and records them as refused.
  void SetAsideUnreachable(const std::wstring& folder, std::vector<WIN32_FIND_DATAW>& entries);
  // Whether a file read reaching level stops there (folders found at it are not gone into).
  bool TooDeep(int level, bool fromTree) const;
  // Tells the hook which of a folder's entries the file read goes into.
  void AnnounceSubfolders(const std::wstring& childPath, size_t nameStart, int level, bool fromTree,
                          const std::vector<WIN32_FIND_DATAW>& entries);
  std::vector<std::wstring> ahead_;  // AnnounceSubfolders' buffer
  // Whether the folder link (junction, symbolic link, mount point) at linkPath leads to its own
  // folder or a folder above it: read through, it would list the same files again and again, each
  // time deeper, until the paths no longer fit a row.
  bool LinkLeadsBack(const std::wstring& linkPath);
  void Throttle(size_t count, size_t every);
  size_t throttled_ = 0;  // calls of Throttle that did not show the reading hint
  DWORD escapeAskedAt_ = 0;  // the clock tick when the ESC key was last asked for
  // The duplicate snapshot (or the out-of-memory message), the list marked changed, the preview reset.
  bool StartRead();
  void FinishRead();
  ReadResult ReadOne(const std::wstring& path, size_t& baseCount, size_t& added, int fileLevel, int folderLevel,
                     bool fromTree);

  // The entries of the folder being read at each level of the tree, one buffer per level: a buffer keeps
  // its memory from folder to folder, so the large entries are not copied again each time it grows.
  class LevelEntries {
   public:
    explicit LevelEntries(ListReader& reader);
    ~LevelEntries() { --reader_.levelsInUse_; }
    LevelEntries(const LevelEntries&) = delete;
    LevelEntries& operator=(const LevelEntries&) = delete;
    std::vector<WIN32_FIND_DATAW>& entries;

   private:
    ListReader& reader_;
  };
  std::deque<std::vector<WIN32_FIND_DATAW>> levelBuffers_;
  size_t levelsInUse_ = 0;

  RenameList& list_;
  ReadSettings& settings_;
  ReadHooks hooks_;
  FileSystem& fs_;
  DuplicateIndex duplicates_;
  ExtensionFilterList extensions_;
  bool subfolderFound_ = false;
  std::vector<RefusedPath> refused_;
  size_t toldRefused_ = 0;  // how many of them the user was told of
};

}  // namespace korval
