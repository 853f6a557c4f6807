// The reads that fill the rename list, and the filters, limits and questions that go with them.
#include "filelist/list_reader.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "engine/list_filter.h"
#include "engine/path_existence.h"
#include "engine/path_kind.h"
#include "engine/show_message.h"
#include "filelist/list_texts.h"
#include "filelist/shortcut.h"
#include "modes/string_helpers.h"
#include "platform/format_text.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

constexpr const wchar_t* kStopUndoMode = L"変更UnDoモードを中止";
constexpr const wchar_t* kStopFolderTarget = L"フォルダ名変更モードを変更";
// "0,0": files cannot be read, and the user is asked whether to take the action now.
constexpr const wchar_t* kReadFilesQuestion = L"0,0";
constexpr const wchar_t* kNoSubFolderText =
    L"サブフォルダが見つかりません。\r\n\r\n１階層下のフォルダを追加する設定になっていますが、\r\n"
    L"フォルダ自身をリストに追加する設定に変更しますか。";
// The status hint is re-shown every this many files (folders).
constexpr size_t kFileHintEvery = 18;
constexpr size_t kFolderHintEvery = 5;
// The counter is asked to refresh (it does a few times a second) every so many items, not every item.
constexpr size_t kCounterEvery = 16;

bool IsDirectory(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::uint64_t EntrySize(const WIN32_FIND_DATAW& entry) {
  return (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

std::wstring ChildPath(const std::wstring& folder, const wchar_t* name) {
  if (!folder.empty() && folder.back() == L'\\') return folder + name;
  return folder + L'\\' + name;
}

// The entries of a folder in the order the file system gives them; false when it cannot be listed.
// They are taken in full before any is read further, so no find handle stays open while recursing.
bool ListEntries(FileSystem& fs, const ReadHooks& hooks, const std::wstring& path,
                 std::vector<WIN32_FIND_DATAW>& entries) {
  const std::wstring folder = (!path.empty() && path.back() == L'\\') ? path : path + L'\\';
  if (hooks.listFolder) return hooks.listFolder(folder, entries);
  return fs.ListFolder(folder.c_str(), [&entries](const WIN32_FIND_DATAW& entry) { entries.push_back(entry); });
}

// A long path in lines of at most 64 characters: a box sizes itself to its longest line, and a
// path has nowhere to break, so unbroken it would reach past the screen's edges.
std::wstring BrokenIntoLines(const std::wstring& path) {
  constexpr size_t kLine = 64;
  std::wstring text;
  for (size_t at = 0; at < path.size(); at += kLine) {
    if (at) text += L"\r\n";
    text.append(path, at, kLine);
  }
  return text;
}

bool AskYes(const wchar_t* caption, const wchar_t* text) {
  return ShowMessage(MessageKind::Plain, MB_YESNO, caption, text, MessageClass::Question) == IDYES;
}

}  // namespace

int MaxRowsFor(int maxfilenum) { return kMaxRowTable[Clamp(0, maxfilenum, kMaxRowChoices - 1)]; }

ListReader::LevelEntries::LevelEntries(ListReader& reader)
    : entries(reader.levelsInUse_ < reader.levelBuffers_.size() ? reader.levelBuffers_[reader.levelsInUse_]
                                                                : reader.levelBuffers_.emplace_back()),
      reader_(reader) {
  ++reader_.levelsInUse_;
  entries.clear();
}

ListReader::ListReader(RenameList& list, ReadSettings& settings, ReadHooks hooks, FileSystem& fs)
    : list_(list), settings_(settings), hooks_(std::move(hooks)), fs_(fs) {
  RebuildExtensionFilter();
}

void ListReader::RebuildExtensionFilter() { extensions_ = BuildExtensionFilterList(settings_.filter.filterextall); }

bool ListReader::BeginRead() { return duplicates_.Build(list_); }

void ListReader::EndRead() { duplicates_.Release(); }

bool ListReader::AddListedRow(size_t index, const std::wstring& path, const WIN32_FIND_DATAW* entry) {
  if (path.empty()) return false;
  // The run's own report is never one of the items it renames.
  if (!settings_.ownFile.empty() && path.size() == settings_.ownFile.size() &&
      FileSystemKey(path) == FileSystemKey(settings_.ownFile)) {
    return false;
  }
  // A path longer than any the system takes is not listed, and the reader says so.
  if (path.size() > kMaxLongPathChars) {
    const PathParts parts = SplitPath(path);
    if (ExtensionPasses(extensions_, settings_.filter.extensionsExclude, parts.extension)) refused_.push_back({path, kTooLongReason});
    return false;
  }
  RenameItem item;
  if (path.size() > 3 && path[1] == L':' && path[2] == L'\\') {
    // A drive path, the common case of a read: split at its last separator without the general
    // splitter's copies (this runs once per file of the tree).
    const size_t nameStart = path.find_last_of(L"\\/") + 1;
    item.folder.assign(path, 0, nameStart);
    item.oldName.assign(path, nameStart);
    const size_t dot = item.oldName.rfind(L'.');
    if (dot != std::wstring::npos) item.extension.assign(item.oldName, dot);
  } else {
    const PathParts parts = SplitPath(path);
    item.oldName = parts.stem + parts.extension;
    item.extension = parts.extension;
    item.folder = parts.Directory();
  }
  if (item.oldName.empty()) return false;  // a drive root has no name to change

  // Size and time stamps come from the enumeration that found the path, else from one lookup.
  WIN32_FIND_DATAW looked{};
  bool haveEntry = entry != nullptr;
  auto directoryEntry = [&]() -> const WIN32_FIND_DATAW* {
    if (!haveEntry) {
      haveEntry = fs_.Find(path.c_str(), &looked);
      entry = haveEntry ? &looked : nullptr;
    }
    return entry;
  };

  const ReadSettings& s = settings_;
  bool sizeComputed = false;
  if (s.fileDir == 0 && s.listcols1 &&
      !(s.automaticRun && SizeBoundsAtDefaults(s.filter) && !s.sortedBySize)) {
    const WIN32_FIND_DATAW* found = directoryEntry();
    const std::uint64_t bytes = found ? EntrySize(*found) : 0;
    item.size = SizeTextOf(bytes, s.sizeUnit);
    sizeComputed = true;
    if (!SizePasses(s.filter, bytes)) return false;
  }

  if (!ExtensionPasses(extensions_, s.filter.extensionsExclude, item.extension)) return false;

  if (AttributeFilterActive(s.filter)) {
    const DWORD attributes = entry ? entry->dwFileAttributes : fs_.GetAttributes(path.c_str());
    if (!AttributesPass(s.filter, attributes)) return false;
  }

  item.date = L" ";
  if (s.listcols2 && (!s.automaticRun || s.sortedByDate)) {
    const WIN32_FIND_DATAW* found = directoryEntry();
    if (found) {
      DateTextFromTimes(path, s.columndate, found->ftCreationTime, found->ftLastWriteTime, s.timezone, item.date);
    }
  }
  if (!sizeComputed) item.size = BlankSizeText(s.sizeUnit);
  list_.Insert(index, std::move(item));
  return true;
}

bool ListReader::CheckRowLimit(size_t count, bool ask) {
  while (count >= static_cast<size_t>(MaxRowsFor(settings_.maxfilenum))) {
    if (!ask) return false;
    if (hooks_.refreshCounter) hooks_.refreshCounter();
    const int index = Clamp(0, settings_.maxfilenum, kMaxRowChoices - 1);
    if (index < 3) {
      const int answer = ShowMessage(MessageKind::TooManyFiles, 0, std::to_wstring(kMaxRowTable[index]),
                                     std::to_wstring(kMaxRowTable[index + 1]), MessageClass::Question);
      if (answer != IDYES) return false;
      settings_.maxfilenum = index + 1;
      continue;
    }
    // An unattended run goes on without the items left out: an error it shows with "/errmsg".
    const bool error = index >= kMaxRowChoices - 1 || settings_.automaticRun;
    ShowMessage(MessageKind::FileLimitInfo, 0, index >= kMaxRowChoices - 1 ? L"1" : L"0", L"",
                error ? MessageClass::Error : MessageClass::Info);
    return false;
  }
  return true;
}

bool ListReader::EscapeAborts() {
  bool down = false;
  if (hooks_.escapeDown) {
    down = hooks_.escapeDown();
  } else {
    // The key is asked for once per clock tick, not per file: a key held by a hand is down for
    // tens of ticks, and a read finds hundreds of files in one.
    const DWORD now = GetTickCount();
    if (now != escapeAskedAt_) {
      escapeAskedAt_ = now;
      down = (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
    }
  }
  if (!down) return false;
  if (hooks_.refreshCounter) hooks_.refreshCounter();
  if (!settings_.showRenameErrors) return true;
  // Yes stops the read: a close of the window meanwhile answers Yes, rather than wait for all of it.
  return ShowMessageStoppedBy(IDYES, MB_YESNO, L"Abort", L"読み込みを中止します。", MessageClass::Question) == IDYES;
}

void ListReader::Throttle(size_t count, size_t every) {
  if (count % every == 0) {
    if (hooks_.showReadingHint) hooks_.showReadingHint();
  } else if (++throttled_ % kCounterEvery == 0 && hooks_.refreshCounter) {
    hooks_.refreshCounter();
  }
}

bool ListReader::TooDeep(int level, bool fromTree) const {
  int depth = (fromTree && settings_.subdirtree) ? 1 : settings_.subdir;
  if (settings_.depthOverride >= 0) depth = settings_.depthOverride + 1;
  return level % 1000 >= 2 * depth && depth <= 10;
}

void ListReader::AnnounceSubfolders(const std::wstring& childPath, size_t nameStart, int level, bool fromTree,
                                    const std::vector<WIN32_FIND_DATAW>& entries) {
  // The subfolders are a level deeper; those whose path does not fit a row are not gone into.
  if (TooDeep(level + 2, fromTree)) return;
  ahead_.clear();
  for (const WIN32_FIND_DATAW& child : entries) {
    if (!IsDirectory(child.dwFileAttributes) || nameStart + wcslen(child.cFileName) > kMaxLongPathChars) continue;
    ahead_.push_back(childPath.substr(0, nameStart) + child.cFileName + L'\\');
  }
  if (!ahead_.empty()) hooks_.foldersAhead(ahead_);
}

bool ListReader::LinkLeadsBack(const std::wstring& linkPath) {
  FileIdentity target;
  if (!fs_.FolderIdentity(linkPath.c_str(), target)) return false;
  // Each folder the link's path goes through, from its own folder up to the root.
  for (size_t slash = linkPath.find_last_of(L'\\'); slash != std::wstring::npos && slash >= 2;
       slash = linkPath.find_last_of(L'\\', slash - 1)) {
    FileIdentity above;
    if (fs_.FolderIdentity(linkPath.substr(0, slash + 1).c_str(), above) && above == target) return true;
  }
  return false;
}

ReadOutcome ListReader::ReadFileTree(const std::wstring& path, size_t baseCount, size_t& addedCount, int level,
                                     bool fromTree, const WIN32_FIND_DATAW* entry) {
  if (!CheckRowLimit(baseCount + addedCount, true)) return ReadOutcome::LimitReached;
  if (EscapeAborts()) return ReadOutcome::Aborted;
  Throttle(baseCount + addedCount, kFileHintEvery);

  int kind = kPathIsMissing;
  if (entry) {
    kind = IsDirectory(entry->dwFileAttributes) ? kPathIsFolder : kPathIsFile;
  } else if (!path.empty()) {
    kind = PathKind(path, fs_);
  }
  if (kind == kPathIsMissing) return ReadOutcome::Continue;

  const bool tooDeep = TooDeep(level, fromTree);
  // A folder whose path is longer than any the system takes cannot be read: its files are left out,
  // and the reader says so.
  if (kind == kPathIsFolder && path.size() > kMaxLongPathChars) {
    if (!tooDeep) refused_.push_back({path, kTooLongReason});
    return ReadOutcome::Continue;
  }

  if (kind == kPathIsFile) {
    if (duplicates_.FindDuplicatePath(path, baseCount) != -1) return ReadOutcome::Continue;
    if (settings_.shortcutlink && path.find(L".lnk") != std::wstring::npos) {
      // A shortcut found through a shortcut is not followed, so links cannot lead in circles.
      if (level >= kShortcutLevel) return ReadOutcome::Continue;
      std::wstring target;
      if (!ResolveShortcut(path, target)) return ReadOutcome::Continue;
      return ReadFileTree(target, baseCount, addedCount, level + kShortcutLevel + 2, fromTree);
    }
    if (AddListedRow(baseCount + addedCount, path, entry)) ++addedCount;
    return ReadOutcome::Continue;
  }

  if (tooDeep || path.size() < 3) return ReadOutcome::Continue;

  LevelEntries listed(*this);
  std::vector<WIN32_FIND_DATAW>& entries = listed.entries;
  if (!ListEntries(fs_, hooks_, path, entries)) return ReadOutcome::Continue;
  SetAsideUnreachable(path, entries);
  // One path buffer for the folder's entries: each entry's path replaces the last one's name.
  std::wstring childPath = ChildPath(path, L"");
  const size_t nameStart = childPath.size();
  if (hooks_.foldersAhead) AnnounceSubfolders(childPath, nameStart, level, fromTree, entries);
  for (const WIN32_FIND_DATAW& child : entries) {
    childPath.resize(nameStart);
    childPath += child.cFileName;
    const DWORD linkedFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if ((child.dwFileAttributes & linkedFolder) == linkedFolder && LinkLeadsBack(childPath)) continue;
    const int childLevel = IsDirectory(child.dwFileAttributes) ? level + 2 : level;
    const ReadOutcome outcome = ReadFileTree(childPath, baseCount, addedCount, childLevel, fromTree, &child);
    if (outcome != ReadOutcome::Continue) return outcome;
  }
  return ReadOutcome::Continue;
}

ReadOutcome ListReader::ReadFolderTree(const std::wstring& path, size_t baseCount, size_t& addedCount, int level,
                                       const WIN32_FIND_DATAW* entry) {
  if (!CheckRowLimit(baseCount + addedCount, false)) return ReadOutcome::LimitReached;
  if (EscapeAborts()) return ReadOutcome::Aborted;
  Throttle(baseCount + addedCount, kFolderHintEvery);
  if (path.size() <= 2) return ReadOutcome::Continue;
  if (path.size() > kMaxLongPathChars) {
    // A folder whose path is longer than any the system takes is neither listed nor read, and the
    // reader says so.
    const bool directory = entry ? IsDirectory(entry->dwFileAttributes) : PathKind(path, fs_) == kPathIsFolder;
    if (directory) refused_.push_back({path, kTooLongReason});
    return ReadOutcome::Continue;
  }

  const int folderread = settings_.folderreadWorking;
  const bool enumerate = ((folderread == 0 || folderread == 1) && level >= 1000 && level < 1003) || folderread == 2;
  if (enumerate) {
    LevelEntries listed(*this);
    std::vector<WIN32_FIND_DATAW>& entries = listed.entries;
    if (!ListEntries(fs_, hooks_, path, entries)) return ReadOutcome::Continue;
    SetAsideUnreachable(path, entries);
    const int childLevel = level + 2;
    if (childLevel <= 1002) {
      for (const WIN32_FIND_DATAW& child : entries) {
        const std::wstring childPath = ChildPath(path, child.cFileName);
        const ReadOutcome outcome = ReadFolderTree(childPath, baseCount, addedCount, childLevel, &child);
        if (outcome != ReadOutcome::Continue) return outcome;
      }
    }
    if (level == 1000) return ReadOutcome::Continue;
    level += 2;
  }

  const bool directory = entry ? IsDirectory(entry->dwFileAttributes) : PathKind(path, fs_) == kPathIsFolder;
  if (!directory) return ReadOutcome::Continue;
  if (duplicates_.FindDuplicatePath(path, baseCount) == -1) {
    if (AddListedRow(baseCount + addedCount, path, entry)) ++addedCount;
  }
  if (level == 1004) subfolderFound_ = true;
  return ReadOutcome::Continue;
}

void ListReader::SetAsideUnreachable(const std::wstring& folder, std::vector<WIN32_FIND_DATAW>& entries) {
  // A name holding a separator (which other systems allow, and Wine shows from a Linux drive) cannot
  // be reached through any path: its row would name another item.
  auto unreachable = [](const WIN32_FIND_DATAW& entry) { return wcspbrk(entry.cFileName, L"\\/") != nullptr; };
  for (const WIN32_FIND_DATAW& entry : entries) {
    if (!unreachable(entry)) continue;
    const std::wstring parent = ChildPath(folder, L"");
    refused_.push_back({parent + entry.cFileName, kSeparatorInNameReason, parent.size()});
  }
  entries.erase(std::remove_if(entries.begin(), entries.end(), unreachable), entries.end());
}

ReadResult ListReader::ReadOne(const std::wstring& path, size_t& baseCount, size_t& added, int fileLevel,
                               int folderLevel, bool fromTree) {
  ReadResult result;
  result.read = true;
  if (const wchar_t* reason = PathRefusal(path)) {
    refused_.push_back({path, reason});
    return result;
  }
  result.outcome = settings_.fileDir == 1 ? ReadFolderTree(path, baseCount, added, folderLevel)
                                          : ReadFileTree(path, baseCount, added, fileLevel, fromTree);
  if (hooks_.refreshCounter) hooks_.refreshCounter();
  return result;
}

namespace {

void ResetPreview(RenameList& list) {
  for (RenameItem& row : list.Rows()) {
    row.newName.clear();
    row.status = ItemStatus::None;
  }
}

}  // namespace

// The rows read so far stay; the preview is out of date and the narrowing filter runs over them.
bool ListReader::StartRead() {
  if (!BeginRead()) {
    ShowMessage(MessageKind::OutOfMemory, 0, L"", L"", MessageClass::Error);
    return false;
  }
  if (hooks_.markListChanged) hooks_.markListChanged();
  subfolderFound_ = false;
  ResetPreview(list_);
  // Room for as many rows as the user allows, taken at once: grown step by step, a read of tens of
  // thousands of rows copies them into ever larger blocks whose pages are each touched anew (a
  // fifth of a large read's time). Rows not read leave their room untouched.
  list_.Rows().reserve(static_cast<size_t>(MaxRowsFor(settings_.maxfilenum)));
  return true;
}

void ListReader::FinishRead() {
  EndRead();
  if (refused_.size() > toldRefused_) {
    const RefusedPath& first = refused_[toldRefused_];
    const int count = static_cast<int>(refused_.size() - toldRefused_);
    const std::wstring shown = BrokenIntoLines(first.path);
    if (std::wstring_view(first.reason) == kTooLongReason) {  // texts, not addresses: each unit has its own copy
      ShowMessage(MessageKind::Plain, MB_OK | MB_ICONEXCLAMATION, kTooLongCaption,
                  FormatText(kTooLongText, count, shown.c_str()), MessageClass::Error);
    } else {
      ShowMessage(MessageKind::Plain, MB_OK | MB_ICONEXCLAMATION, kRefusedCaption,
                  FormatText(kRefusedText, first.reason, count, shown.c_str()), MessageClass::Error);
    }
    toldRefused_ = refused_.size();
  }
  if (hooks_.previewOutOfDate) hooks_.previewOutOfDate();
  if (hooks_.positionSample) {
    std::wstring longest;
    for (const RenameItem& row : list_.Rows()) {
      if (row.oldName.size() > longest.size()) longest = row.oldName;
    }
    hooks_.positionSample(longest);
  }
  ApplyFilter(list_, FilterKind::Full, list_.lastFilterText);
  if (hooks_.idleHint) hooks_.idleHint();
}

ReadResult ListReader::ReadDroppedItems(const std::vector<std::wstring>& paths) {
  ReadResult result;
  if (hooks_.bringToFront) hooks_.bringToFront();
  if (list_.undoMode) {
    if (ShowMessage(MessageKind::StopMode, 0, kStopUndoMode, kReadFilesQuestion,
                    MessageClass::Question) != IDYES) {
      return result;
    }
    if (hooks_.leaveUndoMode) {
      hooks_.leaveUndoMode();
    } else {
      list_.undoMode = false;
      list_.Clear();
    }
  }
  if (!StartRead()) return result;
  result.read = true;

  size_t baseCount = list_.Count();
  size_t added = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    // Taken whole: a cut path could name another item. One longer than any the system takes is
    // left out by the reading, which says so.
    const std::wstring& path = paths[i];
    if (i == 0 && settings_.fileDir == 1 && PathKind(path, fs_) == kPathIsFile) {
      if (ShowMessage(MessageKind::StopMode, 0, kStopFolderTarget, kReadFilesQuestion,
                      MessageClass::Question) == IDYES) {
        if (hooks_.switchToFiles) {
          hooks_.switchToFiles();
        } else {
          settings_.fileDir = 0;
          list_.Clear();
        }
        settings_.fileDir = 0;
        baseCount = 0;
      }
    }
    const int folderLevel = kSubfolderLevel - kSubfolderLevel * Clamp(0, settings_.folderreadWorking, 2);
    const ReadResult one = ReadOne(path, baseCount, added, 0, folderLevel, false);
    result.outcome = one.outcome;
    if (one.outcome != ReadOutcome::Continue) break;
  }
  result.added = added;

  if (!paths.empty() && settings_.fileDir == 1 && !subfolderFound_ && settings_.folderreadWorking == 0 &&
      !settings_.noSubFolderAsked) {
    if (AskYes(L"No Sub Folder", kNoSubFolderText)) {
      settings_.folderread = 1;
      settings_.folderreadWorking = 1;
    }
    settings_.noSubFolderAsked = true;
  }
  FinishRead();
  return result;
}

ReadResult ListReader::ReadPathIntoList(const std::wstring& path, bool clearFirst, bool fromTree) {
  ReadResult result;
  if (clearFirst) {
    if (hooks_.clearList) {
      hooks_.clearList();
    } else {
      list_.Clear();
    }
  }
  if (path.size() < 3) return result;
  if (!StartRead()) return result;
  size_t baseCount = list_.Count();
  size_t added = 0;
  result = ReadOne(path, baseCount, added, 0, kSubfolderLevel, fromTree);
  result.added = added;
  FinishRead();
  return result;
}

}  // namespace korval
