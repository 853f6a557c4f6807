// Passing path arguments from a second start to the running instance through global atoms, and the
// longer ones through WM_COPYDATA.
#include "config/hand_over.h"

#include "platform/full_path.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

// Atom strings are at most 255 characters; one more for the terminator.
constexpr int kAtomBuffer = 256;

std::wstring AtomText(ATOM atom) {
  wchar_t buffer[kAtomBuffer] = {};
  const UINT length = GlobalGetAtomNameW(atom, buffer, kAtomBuffer);
  if (length == 0 || length >= static_cast<UINT>(kAtomBuffer)) return std::wstring();
  return std::wstring(buffer, length);
}

HWND FindRunningWindow(const HandOverSeams& seams) {
  if (!seams.findWindow) return nullptr;
  do {
    for (const wchar_t* title : kHandOverTitles) {
      if (HWND window = seams.findWindow(title)) return window;
    }
  } while (seams.waitAgain && seams.waitAgain());
  return nullptr;
}

struct SentAtom {
  ATOM atom;
  std::wstring text;
};

// The receiver deletes the atoms it took. Those it did not reach (busy, list full) would otherwise
// stay in the global table for good, and a later hand-over whose range covers them would read them
// as its own; so the sender deletes each of its additions whose atom still carries its text.
void RemoveLeftovers(const std::vector<SentAtom>& sent) {
  for (const SentAtom& item : sent) {
    if (AtomText(item.atom) == item.text) GlobalDeleteAtom(item.atom);
  }
}

}  // namespace

void MarkHandOverReceiver(HWND window, bool receives) {
  if (receives) {
    SetPropW(window, kHandOverReceiverProperty, reinterpret_cast<HANDLE>(1));
  } else {
    RemovePropW(window, kHandOverReceiverProperty);
  }
}

HandOverSeams SystemHandOverSeams() {
  HandOverSeams seams;
  seams.findWindow = [](const wchar_t* title) {
    for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, title); window;
         window = FindWindowExW(nullptr, window, nullptr, title)) {
      if (GetPropW(window, kHandOverReceiverProperty)) return window;
    }
    return HWND{nullptr};
  };
  seams.sendMessage = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(window, message, wParam, lParam);
  };
  seams.setOwnTitle = [](HWND window, const wchar_t* title) { SetWindowTextW(window, title); };
  const ULONGLONG deadline = GetTickCount64() + kHandOverWindowWaitMs;
  seams.waitAgain = [deadline] {
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
    return true;
  };
  return seams;
}

std::wstring HandOverPath(const std::wstring& argument) {
  if (argument.empty() || argument.find(L'\0') != std::wstring::npos) return std::wstring();
  std::wstring path = FullPath(argument);
  return path.size() > kMaxLongPathChars ? std::wstring() : path;
}

std::wstring HandOverText(const std::wstring& argument) {
  std::wstring text = HandOverPath(argument);
  if (text.empty()) return text;
  text += kHandOverMark;
  if (text.size() > kMaxHandOverText) return std::wstring();
  return text;
}

HandOverResult HandOverPaths(HWND ownWindow, const std::vector<std::wstring>& arguments, UINT message,
                             const HandOverSeams& seams) {
  HandOverResult result;
  if (ownWindow != nullptr && seams.setOwnTitle) seams.setOwnTitle(ownWindow, L"");
  const HWND target = FindRunningWindow(seams);
  if (target == nullptr || message == 0 || !seams.sendMessage) return result;
  result.windowFound = true;

  std::vector<SentAtom> sent;
  std::wstring longer;  // the paths too long for an atom, each ended by a NUL
  size_t longerCount = 0;
  const size_t last = arguments.size() < kMaxHandOverArguments + 1 ? arguments.size() : kMaxHandOverArguments + 1;
  for (size_t i = 1; i < last; ++i) {
    std::wstring text = HandOverText(arguments[i]);
    if (text.empty()) {
      const std::wstring path = HandOverPath(arguments[i]);
      if (path.empty()) continue;
      longer.append(path).push_back(L'\0');
      ++longerCount;
      continue;
    }
    const ATOM atom = GlobalAddAtomW(text.c_str());
    if (atom == 0) continue;
    if (result.lowest == 0 || atom < result.lowest) result.lowest = atom;
    if (atom > result.highest) result.highest = atom;
    sent.push_back({atom, std::move(text)});
  }
  result.pathsSent = sent.size() + longerCount;
  result.taken = true;
  if (!sent.empty() || longer.empty()) {
    result.taken = seams.sendMessage(target, message, result.lowest, result.highest) == kHandOverTaken;
  }
  RemoveLeftovers(sent);
  if (!longer.empty()) {
    COPYDATASTRUCT data{kHandOverCopyData, static_cast<DWORD>(longer.size() * sizeof(wchar_t)), longer.data()};
    const bool taken = seams.sendMessage(target, WM_COPYDATA, reinterpret_cast<WPARAM>(ownWindow),
                                         reinterpret_cast<LPARAM>(&data)) == kHandOverTaken;
    result.taken = result.taken && taken;
  }
  return result;
}

ReceiveResult ReceivePaths(WPARAM lowest, LPARAM highest, const HandOverRefusal& refusal,
                           const ReadHandedPath& read) {
  ReceiveResult result;
  result.refused = refusal.Any();
  // Atoms are 16-bit; anything else did not come from a hand-over. Below MAXINTATOM lie integer
  // atoms, which carry no text.
  if (highest < 0 || static_cast<ULONG_PTR>(highest) > 0xFFFF || lowest > 0xFFFF) return result;
  const unsigned first = lowest < MAXINTATOM ? MAXINTATOM : static_cast<unsigned>(lowest);
  const unsigned end = static_cast<unsigned>(highest);
  bool full = false;
  for (unsigned number = first; number <= end; ++number) {
    const ATOM atom = static_cast<ATOM>(number);
    const std::wstring text = AtomText(atom);
    // Other programs' atoms may lie in the range: only marked strings are ours.
    if (text.empty() || text.back() != kHandOverMark) continue;
    const std::wstring path = text.substr(0, text.size() - 1);
    // Refused, or past a full list: counted for the user, left for the sender to remove.
    if (result.refused || full) {
      if (!path.empty()) ++result.pathsNotTaken;
      continue;
    }
    PathReadResult readResult = PathReadResult::kRoomForMore;
    if (!path.empty() && read) {
      readResult = read(path);
      ++result.pathsRead;
    }
    GlobalDeleteAtom(atom);
    full = readResult == PathReadResult::kListFull;
  }
  return result;
}

ReceiveResult ReceiveCopiedPaths(const COPYDATASTRUCT* data, const HandOverRefusal& refusal,
                                 const ReadHandedPath& read) {
  ReceiveResult result;
  result.refused = true;
  constexpr size_t kMaxBytes = kMaxHandOverArguments * (kMaxLongPathChars + 1) * sizeof(wchar_t);
  if (data == nullptr || data->dwData != kHandOverCopyData || data->lpData == nullptr || data->cbData == 0 ||
      data->cbData % sizeof(wchar_t) != 0 || data->cbData > kMaxBytes) {
    return result;
  }
  const std::wstring_view text(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
  if (text.back() != L'\0') return result;
  result.refused = refusal.Any();
  bool full = false;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find(L'\0', start);
    const std::wstring path(text.substr(start, end - start));
    start = end + 1;
    if (path.empty() || path.size() > kMaxLongPathChars) continue;
    if (result.refused || full) {
      ++result.pathsNotTaken;
      continue;
    }
    if (read) full = read(path) == PathReadResult::kListFull;
    ++result.pathsRead;
  }
  return result;
}

LRESULT HandOverAnswer(const ReceiveResult& result) {
  return !result.refused && result.pathsNotTaken == 0 ? kHandOverTaken : 0;
}

void BringWindowToFront(HWND window) {
  if (window == nullptr) return;
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace korval
