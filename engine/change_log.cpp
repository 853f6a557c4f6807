// Writing, rotating, rescuing and reading the change log files.
#include "engine/change_log.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "engine/path_kind.h"
#include "platform/data_files.h"
#include "platform/format_text.h"
#include "platform/path_limits.h"
#include "platform/scoped_handle.h"

namespace korval {
namespace {

constexpr unsigned char kByteOrderMark[] = {0xFF, 0xFE};

// A field the reader gets back unchanged: it has no quote to shift the fields, no line break to split
// the line, and is no longer than a path the system takes. (Earlier versions skip a line whose field
// is over 259 characters, and read the others.)
bool ReadableField(const std::wstring& field) {
  return field.size() <= kMaxLongPathChars && field.find_first_of(L"\"\r\n") == std::wstring::npos;
}

// Little-endian UTF-16 bytes, whatever the machine's byte order.
std::string LogBytes(const std::wstring& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const wchar_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
  }
  return bytes;
}

}  // namespace

std::wstring ChangeLogPath(const std::wstring& folder, int slot) {
  return DataFilePath(DataFile::ChangeLog, folder, slot);
}

std::wstring FormatRenameLine(const std::wstring& source, const std::wstring& target) {
  if (!ReadableField(source) || !ReadableField(target)) return {};
  return FormatText(L"\"%s\",\"%s\",\"%s\"\r\n", source.c_str(), target.c_str(), kTagRename);
}

std::wstring FormatTimestampLine(const std::wstring& path, const OldFileTimes& old) {
  if (!ReadableField(path) || old.reported != kTimesBoth) return {};
  const SYSTEMTIME& c = old.localCreation;
  const SYSTEMTIME& m = old.localModification;
  return FormatText(
      L"\"%s\",\"<%s：%4d/%02d/%02d %02d:%02d:%02d, %s：%4d/%02d/%02d %02d:%02d:%02d>\",\"%s\"\r\n", path.c_str(),
      L"作成", c.wYear, c.wMonth, c.wDay, c.wHour, c.wMinute, c.wSecond, L"更新", m.wYear, m.wMonth, m.wDay, m.wHour,
      m.wMinute, m.wSecond, kTagTimestamp);
}

std::wstring FormatAttributeLine(const std::wstring& path, const AttributeFlags& old) {
  if (!ReadableField(path)) return {};
  // Anything but a flag letter would sit where the reader expects one; it reads as "leave".
  auto flag = [](wchar_t c) { return c == L'Y' || c == L'N' ? c : L'-'; };
  return FormatText(L"\"%s\",\"<読：%c, 隠：%c, ア：%c, シ：%c>\",\"%s\"\r\n", path.c_str(), flag(old[0]), flag(old[1]),
                    flag(old[2]), flag(old[3]), kTagAttribute);
}

ChangeLog::~ChangeLog() { Close(); }

bool ChangeLog::Open(const std::wstring& folder) {
  Close();
  written_ = false;
  lines_ = 0;
  lastLineBytes_ = 0;
  if (folder.empty()) return false;
  turn_ = std::make_unique<NamedLock>(L"change-log:" + folder, kLogTurnWaitMs);
  // A run that keeps its turn longer (one waiting on a question, say) leaves this one without a log,
  // which it is told, rather than waiting without end.
  if (!turn_->Held() || !CreateSlotZero(folder)) {
    file_.reset();
    turn_.reset();
    return false;
  }
  folder_ = folder;
  return true;
}

bool ChangeLog::CreateSlotZero(const std::wstring& folder) {
  // Never delete a log that still holds an interrupted run's changes.
  if (RecoverOrphanedLog(folder, fs_) == OrphanedLog::Kept) return false;
  const std::wstring path = ChangeLogPath(folder, kLogSlotWriting);
  if (PathKind(path, fs_) == kPathIsFile) DeleteFileForce(path, fs_);
  file_ = fs_.CreateAppendFile(path.c_str());
  if (!file_) return false;
  if (file_->Append(kByteOrderMark, sizeof kByteOrderMark)) return true;
  file_.reset();
  DeleteFileForce(path, fs_);
  return false;
}

bool ChangeLog::AppendLine(const std::wstring& line) {
  if (!file_ || line.empty()) return false;
  const std::string bytes = LogBytes(line);
  if (!file_->Append(bytes.data(), bytes.size())) {
    file_.reset();
    return false;
  }
  lastLineBytes_ = bytes.size();
  ++lines_;
  written_ = true;
  return true;
}

bool ChangeLog::TakeBackLastLine() {
  if (!file_ || lastLineBytes_ == 0) return false;
  if (!file_->TakeBack(std::exchange(lastLineBytes_, 0))) {
    file_.reset();
    return false;
  }
  written_ = --lines_ > 0;
  return true;
}

bool ChangeLog::AppendRename(const std::wstring& source, const std::wstring& target) {
  return AppendLine(FormatRenameLine(source, target));
}

bool ChangeLog::AppendTimestamp(const std::wstring& path, const OldFileTimes& old) {
  return AppendLine(FormatTimestampLine(path, old));
}

bool ChangeLog::AppendAttributes(const std::wstring& path, const AttributeFlags& old) {
  return AppendLine(FormatAttributeLine(path, old));
}

bool ChangeLog::Close() {
  if (folder_.empty()) return true;
  file_.reset();  // the handle must be closed before the file can be renamed or deleted
  const std::wstring folder = std::exchange(folder_, std::wstring());
  // The next run's turn starts when slot 0 is out of its way.
  const std::unique_ptr<NamedLock> turn = std::move(turn_);
  if (written_) return RotateLogSlots(folder, fs_);
  const std::wstring path = ChangeLogPath(folder, kLogSlotWriting);
  return DeleteFileForce(path, fs_) || PathKind(path, fs_) == kPathIsMissing;
}

bool RotateLogSlots(const std::wstring& folder, FileSystem& fs) {
  const std::wstring oldest = ChangeLogPath(folder, kLogSlotOldest);
  if (PathKind(oldest, fs) == kPathIsFile) DeleteFileForce(oldest, fs);
  bool moved = false;
  for (int slot = kLogSlotOldest - 1; slot >= kLogSlotWriting; --slot) {
    const std::wstring from = ChangeLogPath(folder, slot);
    if (PathKind(from, fs) != kPathIsFile) continue;
    const bool ok = fs.Move(from.c_str(), ChangeLogPath(folder, slot + 1).c_str());
    if (slot == kLogSlotWriting) moved = ok;
  }
  return moved;
}

OrphanedLog RecoverOrphanedLog(const std::wstring& folder, FileSystem& fs) {
  if (folder.empty()) return OrphanedLog::None;
  const std::wstring path = ChangeLogPath(folder, kLogSlotWriting);
  if (PathKind(path, fs) != kPathIsFile) return OrphanedLog::None;
  std::vector<unsigned char> bytes;
  if (!ReadLogBytes(path, bytes, fs)) return OrphanedLog::Kept;
  if (!ParseChangeLog(DecodeLogText(bytes.data(), bytes.size())).empty()) {
    return RotateLogSlots(folder, fs) ? OrphanedLog::Rotated : OrphanedLog::Kept;
  }
  return DeleteFileForce(path, fs) ? OrphanedLog::Deleted : OrphanedLog::Kept;
}

bool ReadLogBytes(const std::wstring& path, std::vector<unsigned char>& bytes, FileSystem& fs) {
  // Not shared for writing: a log that another run is still writing cannot be read (and so is never
  // taken for an interrupted one).
  return fs.ReadHead(path.c_str(), kMaxLogBytes, FILE_SHARE_READ, bytes);
}

std::wstring DecodeLogText(const unsigned char* bytes, size_t size) {
  std::wstring raw;
  if (!bytes) size = 0;
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    const size_t count = std::min<size_t>(size - 3, INT_MAX);
    const char* text = reinterpret_cast<const char*>(bytes + 3);
    const int units = count ? MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(count), nullptr, 0) : 0;
    if (units > 0) {
      raw.resize(static_cast<size_t>(units));
      MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(count), raw.data(), units);
    }
  } else {
    const size_t start = size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE ? 2 : 0;
    raw.reserve((size - start) / 2);
    for (size_t i = start; i + 1 < size; i += 2) {
      raw.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
  }
  std::wstring text;
  text.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == L'\r' && i + 1 < raw.size() && raw[i + 1] == L'\n') continue;
    text.push_back(raw[i]);
  }
  return text;
}

std::vector<ChangeLogEntry> ParseChangeLog(const std::wstring& text) {
  std::vector<ChangeLogEntry> entries;
  size_t pos = 0;
  for (size_t lines = 0; lines < kMaxLogLines; ++lines) {
    const size_t limit = std::min(text.size(), pos + kMaxLogLineChars);
    size_t end = pos;
    while (end < limit && text[end] != L'\n') ++end;
    if (end >= limit) break;  // no "\n" within a line's length: the end of what can be read
    size_t quotes[6];
    size_t found = 0;
    for (size_t i = pos; i < end && found < 6; ++i) {
      if (text[i] == L'"') quotes[found++] = i;
    }
    pos = end + 1;
    if (found < 6) continue;
    auto field = [&](int first) { return text.substr(quotes[first] + 1, quotes[first + 1] - quotes[first] - 1); };
    ChangeLogEntry entry{field(0), field(2), field(4)};
    if (entry.before.size() > kMaxLongPathChars || entry.after.size() > kMaxLongPathChars ||
        entry.tag.size() > kMaxLongPathChars) {
      continue;
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace korval
