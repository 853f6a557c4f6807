// A second start hands its path arguments to the running instance: one global atom per full path,
// marked with a trailing "@", and the registered message with the lowest and highest atom. Atoms
// hold at most 255 characters: longer paths follow in one WM_COPYDATA message (older instances,
// which do not know it, still take the atoms).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace korval {

inline constexpr wchar_t kHandOverMark = L'@';
// A path goes over in an atom when it and its mark are 1..255 characters long (the atom limit).
inline constexpr size_t kMaxHandOverText = 255;
// The tag of the WM_COPYDATA message that carries the longer paths: their full paths, each ended
// by a NUL, as UTF-16.
inline constexpr ULONG_PTR kHandOverCopyData = 0x4B4F5250;
// At most this many arguments (after the program name) are looked at.
inline constexpr size_t kMaxHandOverArguments = 1000;
// The main window's titles, in the order they are searched for.
inline constexpr const wchar_t* kHandOverTitles[] = {L"Korvalith ", L"こ～ばりす～ず "};
// Only a window that holds the instance mutex carries this property and takes a hand-over: a hidden
// unattended run, or a window of an instance started with `multiple`, has the same title but refuses
// or should not receive the paths.
inline constexpr const wchar_t* kHandOverReceiverProperty = L"KorvalithHandOverReceiver";
// A start of several files at once (the folder verb on a selection) meets a first instance that
// holds the mutex but whose window is not made yet: the sender looks again for this long.
inline constexpr DWORD kHandOverWindowWaitMs = 5000;

// How the sender reaches the other window; tests replace these to run both sides in one process.
struct HandOverSeams {
  std::function<HWND(const wchar_t* title)> findWindow;                // a receiver window with the title
  std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> sendMessage;     // SendMessageW
  std::function<void(HWND, const wchar_t*)> setOwnTitle;               // SetWindowTextW
  std::function<bool()> waitAgain;  // pauses before the next search; false when the wait is over
};
HandOverSeams SystemHandOverSeams();

// What the receiver answers when it took every path sent (read at once, or kept to be read as soon
// as it can); anything else (a refusal, a full list, a window that does not know the message) means
// that paths were not taken, and the sender says so with its exit code.
inline constexpr LRESULT kHandOverTaken = 1;

struct HandOverResult {
  bool windowFound = false;
  bool taken = false;  // the receiver answered kHandOverTaken
  size_t pathsSent = 0;
  ATOM lowest = 0;
  ATOM highest = 0;
};

// Marks (or unmarks) the window as the one that takes hand-overs.
void MarkHandOverReceiver(HWND window, bool receives);

// `arguments` is the whole argument vector; element 0 (the program) is skipped. Clears ownWindow's
// title (when given) so that it cannot be found, finds the running main window (looking again while
// seams.waitAgain allows), sends the
// arguments' full paths and then removes whatever of its atoms the receiver left behind.
HandOverResult HandOverPaths(HWND ownWindow, const std::vector<std::wstring>& arguments, UINT message,
                             const HandOverSeams& seams = SystemHandOverSeams());

// The full path of a hand-over argument, or an empty string when it has none (empty, or longer than
// any path the system takes).
std::wstring HandOverPath(const std::wstring& argument);
// The full path of a hand-over argument with its mark, or an empty string when it cannot go over in
// an atom (no full path, or more than 255 characters with the mark).
std::wstring HandOverText(const std::wstring& argument);

// The reasons the running instance does not take paths now.
struct HandOverRefusal {
  bool macroPlayback = false;
  bool undoMode = false;
  bool textEditorOpen = false;
  bool noListBuffer = false;  // the list's working buffer could not be allocated
  bool busy = false;          // an unattended run is under way (a pass of a person's start keeps the paths)
  bool Any() const { return macroPlayback || undoMode || textEditorOpen || noListBuffer || busy; }
};

enum class PathReadResult { kRoomForMore, kListFull };

// Reads one handed-over path into the list as a drop would.
using ReadHandedPath = std::function<PathReadResult(const std::wstring& path)>;

struct ReceiveResult {
  bool refused = false;
  size_t pathsRead = 0;
  size_t pathsNotTaken = 0;  // ours in the range that were refused, or left when the list was full
};

// The answer to the sender for what ReceivePaths did.
LRESULT HandOverAnswer(const ReceiveResult& result);

// The running instance's handler of the hand-over message. When pathsRead is not 0 the caller
// refreshes the longest-name box, the ChangedOnly filter and the status bar; unless refused it
// brings its window to the front (BringWindowToFront).
ReceiveResult ReceivePaths(WPARAM lowest, LPARAM highest, const HandOverRefusal& refusal,
                           const ReadHandedPath& read);

// The same for the longer paths of a WM_COPYDATA message (anything but kHandOverCopyData, or bytes
// that are not whole UTF-16 paths each ended by a NUL, is refused).
ReceiveResult ReceiveCopiedPaths(const COPYDATASTRUCT* data, const HandOverRefusal& refusal,
                                 const ReadHandedPath& read);

// Topmost and at once not topmost again: in front without staying on top.
void BringWindowToFront(HWND window);

}  // namespace korval
