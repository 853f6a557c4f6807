// The change log: one UTF-16 line per changed item, written while an execution runs, kept in ten
// numbered slots in the program folder, and read back for the undo.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/file_attributes.h"
#include "engine/file_times.h"
#include "platform/file_system.h"
#include "platform/named_lock.h"
#include "platform/path_limits.h"

namespace korval {

// How long a run waits for another run of the same program folder to finish its log.
inline constexpr unsigned long kLogTurnWaitMs = 120000;

// Slot 0 is the log being written; 1 the newest finished run; 9 the oldest kept.
inline constexpr int kLogSlotWriting = 0;
inline constexpr int kLogSlotNewest = 1;
inline constexpr int kLogSlotOldest = 9;

// Limits of the reader: lines read from one log, and units per line including its "\n" (three
// fields as long as the longest path, their quotes and commas).
inline constexpr size_t kMaxLogLines = 50000;
inline constexpr size_t kMaxLogLineChars = 3 * (kMaxLongPathChars + 3);
// The most bytes worth reading: every line as long as three paths of the classic limit, with a CR
// each, in the widest encoding the reader accepts (three bytes of UTF-8 per unit), after a byte order
// mark. (Versions before long paths end their reading at a line of more than 780 units.)
inline constexpr size_t kMaxLogBytes = 4 + kMaxLogLines * 781 * 3;

// The tags of the third field.
inline constexpr const wchar_t* kTagRename = L"<NORMAL>";
inline constexpr const wchar_t* kTagTimestamp = L"<TIMESTAMP>";
inline constexpr const wchar_t* kTagAttribute = L"<ATTRIBUTE>";

// "%srename%d.log" in the given folder (ending in a backslash).
std::wstring ChangeLogPath(const std::wstring& folder, int slot);

// One line of the log as it is written, with its CR LF. Empty when the line could not be read back
// as written: a field longer than 259 characters, or one holding a double quote or a line break; or,
// for a time stamp, old times that do not hold both values.
std::wstring FormatRenameLine(const std::wstring& source, const std::wstring& target);
std::wstring FormatTimestampLine(const std::wstring& path, const OldFileTimes& old);
std::wstring FormatAttributeLine(const std::wstring& path, const AttributeFlags& old);

// The writer of slot 0 for one execution. Every line is on the disk when its Append returns, so a
// run that is cut short still leaves an undoable log behind (see RecoverOrphanedLog).
class ChangeLog {
 public:
  explicit ChangeLog(FileSystem& fs = SystemFileSystem()) : fs_(fs) {}
  // Closes (and rotates) a log that is still open.
  ~ChangeLog();
  ChangeLog(const ChangeLog&) = delete;
  ChangeLog& operator=(const ChangeLog&) = delete;

  // Waits for the other runs of the same program folder to finish their logs (they take turns on
  // slot 0 from its creation to its rotation), rescues the log of an interrupted run, deletes
  // whatever else is in slot 0 and creates it anew with its byte order mark. False when slot 0 cannot be created or written (the run then goes on
  // without a log), or when an interrupted run's log could not be moved out of the way.
  bool Open(const std::wstring& folder);
  bool IsOpen() const { return file_ != nullptr; }
  // At least one line reached the file.
  bool Written() const { return written_; }

  // Append one line each; false when nothing was written. A failed write ends the logging for the
  // rest of the run (a half-written line must not be followed by more lines); what was written stays.
  bool AppendRename(const std::wstring& source, const std::wstring& target);
  bool AppendTimestamp(const std::wstring& path, const OldFileTimes& old);
  bool AppendAttributes(const std::wstring& path, const AttributeFlags& old);
  // Removes the line appended last (its change did not happen). When that fails the logging ends,
  // as after a failed append, and false is returned.
  bool TakeBackLastLine();

  // Ends the run's log: when a line was written the slots move up by one (9 is dropped, 0 becomes 1),
  // otherwise slot 0 is deleted. Returns whether slot 0 is gone where it should be (a failed rotation
  // leaves it for the next run to rescue). Nothing happens when the log was never opened.
  bool Close();

 private:
  bool AppendLine(const std::wstring& line);
  bool CreateSlotZero(const std::wstring& folder);

  FileSystem& fs_;
  std::wstring folder_;  // non-empty from a successful Open to Close
  std::unique_ptr<AppendFile> file_;
  std::unique_ptr<NamedLock> turn_;  // held from Open to Close
  size_t lastLineBytes_ = 0;
  size_t lines_ = 0;
  bool written_ = false;
};

// Moves every slot up by one: deletes slot 9, then renames 8 to 9 and so on down to 0 to 1. Missing
// slots are passed over. Returns whether slot 0 became slot 1.
bool RotateLogSlots(const std::wstring& folder, FileSystem& fs = SystemFileSystem());

enum class OrphanedLog {
  None,     // no slot 0 was there
  Rotated,  // it held complete lines and is now slot 1, like a finished run
  Deleted,  // it held no complete line and is gone
  Kept,     // it could not be read, moved or deleted (another run may be writing it)
};

// A run that is interrupted (a crash, a power loss) leaves slot 0 behind. Opening the next log would
// delete it, and that run could never be undone; so a slot 0 with at least one complete line is
// rotated into slot 1 first, and one without is deleted. The program also calls this at start, so
// the interrupted run can be undone right away.
OrphanedLog RecoverOrphanedLog(const std::wstring& folder, FileSystem& fs = SystemFileSystem());

// One line of a log: the three fields between the first six double quotes.
struct ChangeLogEntry {
  std::wstring before;
  std::wstring after;
  std::wstring tag;
};

// Reads at most kMaxLogBytes of a file. False when it cannot be opened or read, which includes a log
// that is open for writing elsewhere.
bool ReadLogBytes(const std::wstring& path, std::vector<unsigned char>& bytes, FileSystem& fs = SystemFileSystem());

// The text of a log as a wide text-mode stream reads it: a byte order mark FF FE (or none) means
// UTF-16LE, EF BB BF means UTF-8; the mark is dropped, CR LF becomes LF, an odd last byte is ignored.
std::wstring DecodeLogText(const unsigned char* bytes, size_t size);

// The entries of a log text, in file order. At most kMaxLogLines lines are looked at; a line is read
// up to its "\n", and one that runs kMaxLogLineChars units without it (which is also how the end of
// the text shows, so a last line without "\n" is not used) ends the reading. Lines with fewer than
// six double quotes, or with a field longer than the longest path, are passed over.
std::vector<ChangeLogEntry> ParseChangeLog(const std::wstring& text);

}  // namespace korval
