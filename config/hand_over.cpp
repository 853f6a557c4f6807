// Passing path arguments from a second start to the running instance through global atoms.
#include "config/hand_over.h"

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

std::wstring HandOverText(const std::wstring& argument) {
  if (argument.empty()) return std::wstring();
  wchar_t buffer[kAtomBuffer] = {};
  const DWORD length = GetFullPathNameW(argument.c_str(), kAtomBuffer, buffer, nullptr);
  // 0 is a failure; a length of the buffer size or more is the size a longer path would need.
  if (length == 0 || length >= static_cast<DWORD>(kAtomBuffer)) return std::wstring();
  std::wstring text(buffer, length);
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
  const size_t last = arguments.size() < kMaxHandOverArguments + 1 ? arguments.size() : kMaxHandOverArguments + 1;
  for (size_t i = 1; i < last; ++i) {
    std::wstring text = HandOverText(arguments[i]);
    if (text.empty()) continue;
    const ATOM atom = GlobalAddAtomW(text.c_str());
    if (atom == 0) continue;
    if (result.lowest == 0 || atom < result.lowest) result.lowest = atom;
    if (atom > result.highest) result.highest = atom;
    sent.push_back({atom, std::move(text)});
  }
  result.pathsSent = sent.size();
  result.taken = seams.sendMessage(target, message, result.lowest, result.highest) == kHandOverTaken;
  RemoveLeftovers(sent);
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

LRESULT HandOverAnswer(const ReceiveResult& result) {
  return !result.refused && result.pathsNotTaken == 0 ? kHandOverTaken : 0;
}

void BringWindowToFront(HWND window) {
  if (window == nullptr) return;
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace korval
