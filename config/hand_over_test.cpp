#include "config/hand_over.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "config/single_instance.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

// Paths unique to this process, so that atoms of other test processes never match ours.
std::wstring TestPath(const std::wstring& name) {
  return L"C:\\hand over " + std::to_wstring(GetCurrentProcessId()) + L"\\" + name;
}

bool AtomExists(const std::wstring& text) { return GlobalFindAtomW(text.c_str()) != 0; }

// Atoms a test adds itself, deleted at its end whatever happened.
class TestAtoms {
 public:
  ~TestAtoms() {
    for (ATOM atom : atoms_) GlobalDeleteAtom(atom);
  }
  ATOM Add(const std::wstring& text) {
    const ATOM atom = GlobalAddAtomW(text.c_str());
    atoms_.push_back(atom);
    return atom;
  }
  ATOM Lowest() const { return *std::min_element(atoms_.begin(), atoms_.end()); }
  ATOM Highest() const { return *std::max_element(atoms_.begin(), atoms_.end()); }

 private:
  std::vector<ATOM> atoms_;
};

// A receiver without a window: the sender's message goes straight to ReceivePaths.
struct Loopback {
  std::vector<std::wstring> received;
  std::vector<std::wstring> events;
  HandOverRefusal refusal;
  ReceiveResult last;
  size_t listLimit = 100000;
  HWND window = reinterpret_cast<HWND>(0x4242);
  const wchar_t* windowTitle = L"こ～ばりす～ず ";

  HandOverSeams Seams() {
    HandOverSeams seams;
    seams.setOwnTitle = [this](HWND, const wchar_t* title) { events.push_back(L"title '" + std::wstring(title) + L"'"); };
    seams.findWindow = [this](const wchar_t* title) {
      events.push_back(L"find '" + std::wstring(title) + L"'");
      return windowTitle != nullptr && std::wstring(title) == windowTitle ? window : nullptr;
    };
    seams.sendMessage = [this](HWND target, UINT message, WPARAM lo, LPARAM hi) -> LRESULT {
      events.push_back(message == WM_COPYDATA ? L"copy" : L"send");
      EXPECT_EQ(window, target);
      const ReadHandedPath read = [this](const std::wstring& path) {
        received.push_back(path);
        return received.size() >= listLimit ? PathReadResult::kListFull : PathReadResult::kRoomForMore;
      };
      if (message == WM_COPYDATA) {
        last = ReceiveCopiedPaths(reinterpret_cast<const COPYDATASTRUCT*>(hi), refusal, read);
      } else {
        EXPECT_EQ(HandOverMessage(), message);
        last = ReceivePaths(lo, hi, refusal, read);
      }
      return HandOverAnswer(last);
    };
    return seams;
  }
};

std::vector<std::wstring> Arguments(const std::vector<std::wstring>& paths) {
  std::vector<std::wstring> arguments{L"korvalith.exe"};
  arguments.insert(arguments.end(), paths.begin(), paths.end());
  return arguments;
}

TEST(HandOverText, FullPathWithMarkWithinTheAtomLimit) {
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  std::wstring here = current;
  if (here.back() != L'\\') here += L'\\';
  const struct {
    std::wstring argument;
    std::wstring expected;
  } cases[] = {
      {L"C:\\a\\b", L"C:\\a\\b@"},
      {L"C:\\a\\..\\b", L"C:\\b@"},
      {L"relative", here + L"relative@"},
      {L"C:\\" + std::wstring(251, L'x'), L"C:\\" + std::wstring(251, L'x') + L"@"},  // 254 + 1
      {L"C:\\" + std::wstring(252, L'x'), L""},                                      // 255 + 1
      {L"C:\\" + std::wstring(257, L'x'), L""},                                      // 260
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, HandOverText(c.argument)) << c.argument.size();
}

TEST(HandOver, PathsRoundTripInOrderAndNoAtomIsLeft) {
  Loopback loop;
  const std::vector<std::wstring> paths{TestPath(L"フォルダ"), TestPath(L"b.txt"), TestPath(L"a.txt")};
  const HandOverResult result = HandOverPaths(reinterpret_cast<HWND>(0x77), Arguments(paths), HandOverMessage(), loop.Seams());
  EXPECT_TRUE(result.windowFound);
  EXPECT_EQ(3u, result.pathsSent);
  EXPECT_EQ(paths, loop.received);
  EXPECT_EQ((std::vector<std::wstring>{L"title ''", L"find 'Korvalith '", L"find 'こ～ばりす～ず '", L"send"}),
            loop.events);
  for (const auto& path : paths) EXPECT_FALSE(AtomExists(path + L"@"));
}

TEST(HandOver, EnglishTitleIsPreferredAndNoWindowSendsNothing) {
  Loopback loop;
  loop.windowTitle = L"Korvalith ";
  HandOverPaths(nullptr, Arguments({TestPath(L"x")}), HandOverMessage(), loop.Seams());
  EXPECT_EQ((std::vector<std::wstring>{L"find 'Korvalith '", L"send"}), loop.events);  // no own window: title untouched

  // No window: the sender looks again while its wait allows, then gives up without sending.
  Loopback none;
  none.windowTitle = nullptr;
  HandOverSeams seams = none.Seams();
  int pauses = 0;
  seams.waitAgain = [&] { return ++pauses < 2; };
  const HandOverResult result = HandOverPaths(nullptr, Arguments({TestPath(L"y")}), HandOverMessage(), seams);
  EXPECT_FALSE(result.windowFound);
  EXPECT_EQ(0u, result.pathsSent);
  EXPECT_EQ((std::vector<std::wstring>{L"find 'Korvalith '", L"find 'こ～ばりす～ず '", L"find 'Korvalith '",
                                       L"find 'こ～ばりす～ず '"}),
            none.events);
}

// Several starts at once (the folder verb on a selection): the first instance's window shows a
// moment after its mutex, and the others wait for it rather than drop their paths.
TEST(HandOver, TheSenderWaitsForTheRunningWindowToShow) {
  Loopback loop;
  HandOverSeams seams = loop.Seams();
  const auto find = seams.findWindow;
  int searches = 0;
  seams.findWindow = [&](const wchar_t* title) { return ++searches > 4 ? find(title) : nullptr; };
  seams.waitAgain = [] { return true; };
  const HandOverResult result = HandOverPaths(nullptr, Arguments({TestPath(L"z")}), HandOverMessage(), seams);
  EXPECT_TRUE(result.windowFound);
  EXPECT_EQ(std::vector<std::wstring>{TestPath(L"z")}, loop.received);
}

// Paths too long for an atom follow in one WM_COPYDATA message, after the atoms (which an older
// instance takes alone); empty arguments and paths longer than any the system takes are not sent.
TEST(HandOver, LongerPathsFollowInOneCopiedMessage) {
  Loopback loop;
  const std::wstring prefix = TestPath(L"");
  const std::wstring fits = prefix + std::wstring(254 - prefix.size(), L'f');      // 254 + "@" = 255
  const std::wstring longer = prefix + std::wstring(255 - prefix.size(), L'g');    // 255 + "@" = 256
  const std::wstring deep = prefix + std::wstring(4000, L'長');
  const std::wstring beyond = prefix + std::wstring(kMaxLongPathChars, L'x');
  const HandOverResult result =
      HandOverPaths(nullptr, Arguments({longer, L"", fits, beyond, deep}), HandOverMessage(), loop.Seams());
  EXPECT_EQ(3u, result.pathsSent);
  EXPECT_TRUE(result.taken);
  EXPECT_EQ((std::vector<std::wstring>{fits, longer, deep}), loop.received);
  EXPECT_EQ(L"copy", loop.events.back());
  // Only long paths: no atom message at all.
  Loopback onlyLong;
  HandOverPaths(nullptr, Arguments({deep}), HandOverMessage(), onlyLong.Seams());
  EXPECT_EQ(std::vector<std::wstring>{deep}, onlyLong.received);
  EXPECT_EQ(0, std::count(onlyLong.events.begin(), onlyLong.events.end(), L"send"));
}

TEST(HandOverReceive, CopiedPathsAreCheckedAndRefusalsCounted) {
  std::wstring two = std::wstring(L"C:\\a") + L'\0' + L"C:\\b" + L'\0';
  std::wstring unended = L"C:\\a";
  std::string odd(5, 'a');
  const struct {
    const char* what;
    COPYDATASTRUCT data;
    bool refusedByUser;
    size_t read, notTaken;
    LRESULT answer;
  } cases[] = {
      {"two paths", {kHandOverCopyData, static_cast<DWORD>(two.size() * 2), two.data()}, false, 2, 0, kHandOverTaken},
      {"refused", {kHandOverCopyData, static_cast<DWORD>(two.size() * 2), two.data()}, true, 0, 2, 0},
      {"another tag", {1, static_cast<DWORD>(two.size() * 2), two.data()}, false, 0, 0, 0},
      {"no end", {kHandOverCopyData, static_cast<DWORD>(unended.size() * 2), unended.data()}, false, 0, 0, 0},
      {"odd bytes", {kHandOverCopyData, 5, odd.data()}, false, 0, 0, 0},
      {"no bytes", {kHandOverCopyData, 0, nullptr}, false, 0, 0, 0},
  };
  for (const auto& c : cases) {
    HandOverRefusal refusal;
    refusal.undoMode = c.refusedByUser;
    size_t read = 0;
    const ReceiveResult result = ReceiveCopiedPaths(&c.data, refusal, [&](const std::wstring&) {
      ++read;
      return PathReadResult::kRoomForMore;
    });
    EXPECT_EQ(c.read, read) << c.what;
    EXPECT_EQ(c.notTaken, result.pathsNotTaken) << c.what;
    EXPECT_EQ(c.answer, HandOverAnswer(result)) << c.what;
  }
}

TEST(HandOver, AtMostAThousandArguments) {
  Loopback loop;
  std::vector<std::wstring> paths;
  for (int i = 0; i < 1005; ++i) paths.push_back(TestPath(std::to_wstring(i)));
  const HandOverResult result = HandOverPaths(nullptr, Arguments(paths), HandOverMessage(), loop.Seams());
  EXPECT_EQ(1000u, result.pathsSent);
  ASSERT_EQ(1000u, loop.received.size());
  // The receiver reads the atoms by their numbers; where earlier atoms of the session left gaps in the
  // table, new atoms fill those first, so the order of arrival is not the order of sending.
  std::vector<std::wstring> sent(paths.begin(), paths.begin() + 1000), received = loop.received;
  std::sort(sent.begin(), sent.end());
  std::sort(received.begin(), received.end());
  EXPECT_EQ(sent, received);
  EXPECT_FALSE(AtomExists(paths[999] + L"@"));
  EXPECT_FALSE(AtomExists(paths[1000] + L"@"));
}

TEST(HandOver, SenderRemovesWhatABusyOrFullReceiverLeft) {
  Loopback busy;
  busy.refusal.undoMode = true;
  const std::vector<std::wstring> paths{TestPath(L"1"), TestPath(L"2"), TestPath(L"3")};
  HandOverPaths(nullptr, Arguments(paths), HandOverMessage(), busy.Seams());
  EXPECT_TRUE(busy.received.empty());
  for (const auto& path : paths) EXPECT_FALSE(AtomExists(path + L"@"));

  Loopback full;
  full.listLimit = 2;
  HandOverPaths(nullptr, Arguments(paths), HandOverMessage(), full.Seams());
  EXPECT_EQ(std::vector<std::wstring>(paths.begin(), paths.begin() + 2), full.received);
  for (const auto& path : paths) EXPECT_FALSE(AtomExists(path + L"@"));
}

// The sender learns whether its paths were taken, and the receiver how many it did not take.
struct TakenCase {
  const char* what;
  bool undoMode;
  size_t listLimit;
  bool taken;
  size_t read, notTaken;
};

TEST(HandOver, TheSenderKnowsWhetherItsPathsWereTaken) {
  const TakenCase cases[] = {
      {"taken", false, 100, true, 3, 0},
      {"refused in undo mode", true, 100, false, 0, 3},
      {"the list full after two", false, 2, false, 2, 1},
  };
  for (const TakenCase& c : cases) {
    SCOPED_TRACE(c.what);
    Loopback loop;
    loop.refusal.undoMode = c.undoMode;
    loop.listLimit = c.listLimit;
    const std::vector<std::wstring> paths{TestPath(L"1"), TestPath(L"2"), TestPath(L"3")};
    const HandOverResult result = HandOverPaths(nullptr, Arguments(paths), HandOverMessage(), loop.Seams());
    EXPECT_TRUE(result.windowFound);
    EXPECT_EQ(c.taken, result.taken);
    EXPECT_EQ(c.read, loop.last.pathsRead);
    EXPECT_EQ(c.notTaken, loop.last.pathsNotTaken);
    for (const auto& path : paths) EXPECT_FALSE(AtomExists(path + L"@"));
  }
}

TEST(HandOverReceive, OtherProgramsAtomsInTheRangeAreLeftAlone) {
  TestAtoms atoms;
  const std::wstring foreign = TestPath(L"foreign");
  const std::wstring mine1 = TestPath(L"mine 1"), mine2 = TestPath(L"mine 2");
  atoms.Add(foreign);
  atoms.Add(mine1 + L"@");
  atoms.Add(foreign + L"@x");
  atoms.Add(mine2 + L"@");
  std::vector<std::wstring> received;
  const ReceiveResult result = ReceivePaths(atoms.Lowest(), atoms.Highest(), {}, [&](const std::wstring& path) {
    received.push_back(path);
    return PathReadResult::kRoomForMore;
  });
  EXPECT_FALSE(result.refused);
  EXPECT_EQ(2u, result.pathsRead);
  EXPECT_EQ((std::vector<std::wstring>{mine1, mine2}), received);
  EXPECT_TRUE(AtomExists(foreign));
  EXPECT_TRUE(AtomExists(foreign + L"@x"));
  EXPECT_FALSE(AtomExists(mine1 + L"@"));
  EXPECT_FALSE(AtomExists(mine2 + L"@"));
}

TEST(HandOverReceive, RefusalsLeaveTheAtomsUnconsumed) {
  HandOverRefusal refusals[4];
  refusals[0].macroPlayback = true;
  refusals[1].undoMode = true;
  refusals[2].textEditorOpen = true;
  refusals[3].noListBuffer = true;
  for (const HandOverRefusal& refusal : refusals) {
    TestAtoms atoms;
    const std::wstring text = TestPath(L"busy") + L"@";
    atoms.Add(text);
    bool called = false;
    const ReceiveResult result = ReceivePaths(atoms.Lowest(), atoms.Highest(), refusal, [&](const std::wstring&) {
      called = true;
      return PathReadResult::kRoomForMore;
    });
    EXPECT_TRUE(result.refused);
    EXPECT_FALSE(called);
    EXPECT_TRUE(AtomExists(text));
    EXPECT_EQ(1u, result.pathsNotTaken);
    EXPECT_EQ(0, HandOverAnswer(result));
  }
}

TEST(HandOverReceive, StopsWhenTheListIsFullAndSurvivesBadRanges) {
  TestAtoms atoms;
  for (int i = 0; i < 4; ++i) atoms.Add(TestPath(L"row " + std::to_wstring(i)) + L"@");
  atoms.Add(L"@");  // marked but empty: consumed, not read
  int calls = 0;
  auto read = [&](const std::wstring&) { return ++calls == 2 ? PathReadResult::kListFull : PathReadResult::kRoomForMore; };
  EXPECT_EQ(2u, ReceivePaths(atoms.Lowest(), atoms.Highest(), {}, read).pathsRead);
  EXPECT_TRUE(AtomExists(TestPath(L"row 2") + L"@"));
  EXPECT_TRUE(AtomExists(TestPath(L"row 3") + L"@"));

  calls = 10;
  EXPECT_EQ(0u, ReceivePaths(atoms.Highest(), atoms.Lowest(), {}, read).pathsRead);  // reversed
  EXPECT_EQ(0u, ReceivePaths(atoms.Lowest(), 0x10000, {}, read).pathsRead);
  EXPECT_EQ(0u, ReceivePaths(atoms.Lowest(), -1, {}, read).pathsRead);
  EXPECT_EQ(0u, ReceivePaths(0, 0, {}, read).pathsRead);
  EXPECT_EQ(2u, ReceivePaths(atoms.Lowest(), atoms.Highest(), {}, read).pathsRead);
  EXPECT_FALSE(AtomExists(L"@"));
}

// Both sides through real windows: the running instance is a hidden window with the Japanese
// title whose procedure answers the registered message.
std::vector<std::wstring>* gReceivedByWindow = nullptr;
HWND gReceivingWindow = nullptr;

LRESULT CALLBACK ReceiverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == HandOverMessage() && message != 0) {
    gReceivingWindow = window;
    ReceivePaths(wParam, lParam, {}, [](const std::wstring& path) {
      gReceivedByWindow->push_back(path);
      return PathReadResult::kRoomForMore;
    });
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(HandOverWindows, PathsArriveAtTheRunningWindowInOrder) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = ReceiverProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"KorvalithHandOverTest";
  ASSERT_NE(0, RegisterClassW(&windowClass));
  // This start's own window carries the same title until the hand-over clears it.
  HWND running = CreateWindowW(L"KorvalithHandOverTest", L"こ～ばりす～ず ", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                               nullptr, nullptr, instance, nullptr);
  HWND own = CreateWindowW(L"KorvalithHandOverTest", L"こ～ばりす～ず ", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, instance, nullptr);
  // A window with the same title that does not hold the instance mutex (a hidden unattended run)
  // never receives: it is made last, so that a search by title alone would find it first.
  HWND unattended = CreateWindowW(L"KorvalithHandOverTest", L"こ～ばりす～ず ", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, instance, nullptr);
  ASSERT_NE(nullptr, running);
  ASSERT_NE(nullptr, own);
  ASSERT_NE(nullptr, unattended);
  MarkHandOverReceiver(running, true);

  std::vector<std::wstring> received;
  gReceivedByWindow = &received;
  const std::vector<std::wstring> paths{TestPath(L"一"), TestPath(L"二"), TestPath(L"三")};
  const HandOverResult result = HandOverPaths(own, Arguments(paths), HandOverMessage());
  gReceivedByWindow = nullptr;

  EXPECT_TRUE(result.windowFound);
  EXPECT_EQ(running, gReceivingWindow);
  EXPECT_EQ(paths, received);
  EXPECT_EQ(0, GetWindowTextLengthW(own));
  DestroyWindow(unattended);
  DestroyWindow(own);
  DestroyWindow(running);
  UnregisterClassW(L"KorvalithHandOverTest", instance);
}

}  // namespace
}  // namespace korval
