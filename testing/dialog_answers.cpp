// The dialog answerer of the GUI tests.
#include "testing/dialog_answers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "testing/temp_folder.h"

namespace korval {
namespace {

constexpr UINT kTickMs = 20;

// The answerers by their timers: a thread timer's procedure gets only the id.
std::vector<std::pair<UINT_PTR, DialogAnswers*>>& Answerers() {
  static std::vector<std::pair<UINT_PTR, DialogAnswers*>> answerers;
  return answerers;
}

struct Search {
  DWORD process;
  std::vector<HWND> found;
};

// A dialog a person could answer now: shown, and not disabled by a dialog it opened itself.
BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (search->process) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != search->process) return TRUE;
  }
  wchar_t name[16] = L"";
  GetClassNameW(hwnd, name, 16);
  if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) search->found.push_back(hwnd);
  return TRUE;
}

bool Contains(const std::vector<HWND>& windows, HWND hwnd) {
  return std::find(windows.begin(), windows.end(), hwnd) != windows.end();
}

}  // namespace

bool HasControl(HWND dialog, int id) { return GetDlgItem(dialog, id) != nullptr; }

std::wstring DialogTitle(HWND dialog) {
  wchar_t title[256] = L"";
  GetWindowTextW(dialog, title, 256);
  return title;
}

bool CancelDialog(HWND dialog) { return PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0) != FALSE; }

DialogAnswers::Answer PressButton(int id) {
  return [id](HWND dialog) {
    HWND button = GetDlgItem(dialog, id);
    if (!button || !IsWindowEnabled(button)) return false;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
  };
}

DialogAnswers::Answer PressButtonOf(std::wstring title, int id) {
  return [title = std::move(title), press = PressButton(id)](HWND dialog) {
    return DialogTitle(dialog) == title && press(dialog);
  };
}

DialogAnswers::DialogAnswers(DWORD processId, DWORD deadline)
    : process_(processId), deadline_(deadline), since_(GetTickCount()) {
  timer_ = SetTimer(nullptr, 0, kTickMs, OnTick);
  Answerers().emplace_back(timer_, this);
}

DialogAnswers::~DialogAnswers() {
  Verify();
  KillTimer(nullptr, timer_);
  auto& answerers = Answerers();
  answerers.erase(std::remove_if(answerers.begin(), answerers.end(), [this](const auto& a) { return a.second == this; }),
                  answerers.end());
}

DialogAnswers& DialogAnswers::Expect(std::wstring what, Answer answer) {
  if (expected_.empty() && answered_.empty()) since_ = GetTickCount();
  expected_.push_back({std::move(what), std::move(answer)});
  return *this;
}

DialogAnswers& DialogAnswers::AnswerEvery(Answer answer) {
  every_ = std::move(answer);
  return *this;
}

void CALLBACK DialogAnswers::OnTick(HWND, UINT, UINT_PTR id, DWORD) {
  for (const auto& [timer, answers] : Answerers()) {
    if (timer == id) {
      answers->Tick();
      return;
    }
  }
}

std::vector<HWND> DialogAnswers::OpenDialogs() const {
  Search search{process_, {}};
  if (process_) {
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
  } else {
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&search));
  }
  return search.found;
}

void DialogAnswers::Tick() {
  const std::vector<HWND> open = OpenDialogs();
  if (gaveUp_) {
    for (HWND dialog : open) Cancel(dialog);
    return;
  }
  // An answered dialog that went, or gave way to one it opened, is done with; shown again, it is
  // a dialog to answer again.
  std::erase_if(answered_, [&open](HWND dialog) { return !Contains(open, dialog); });
  for (HWND dialog : open) {
    if (Contains(answered_, dialog)) continue;
    if (!expected_.empty()) {
      // Taken off the queue while it answers: a dialog its answer opens meets the next one.
      Expected next = std::move(expected_.front());
      expected_.pop_front();
      const bool done = next.answer(dialog);
      if (done) {
        answered_.push_back(dialog);
        since_ = GetTickCount();
        return;
      }
      expected_.push_front(std::move(next));
    } else if (every_ && every_(dialog)) {
      answered_.push_back(dialog);
      since_ = GetTickCount();
    }
  }
  // Answered dialogs are among the open ones until they go.
  if (expected_.empty() && open.empty()) {
    since_ = GetTickCount();
    return;
  }
  if (GetTickCount() - since_ < deadline_) return;
  std::wstring why;
  if (!expected_.empty()) {
    why = L"waited " + std::to_wstring(deadline_) + L" ms for " + expected_.front().what;
  } else if (!answered_.empty()) {
    why = L"the dialog \"" + DialogTitle(answered_.front()) + L"\" stayed open after its answer";
  } else {
    why = L"a dialog that no test expected stayed open";
  }
  GiveUp(open, why);
}

void DialogAnswers::GiveUp(const std::vector<HWND>& open, const std::wstring& why) {
  std::wstring shown = open.empty() ? L"no dialog was open" : L"open:";
  for (HWND dialog : open) shown += L" \"" + DialogTitle(dialog) + L"\"";
  ADD_FAILURE() << Utf8(why) << "; " << Utf8(shown);
  gaveUp_ = true;
  expected_.clear();
  answered_.clear();
  // Cancelled, so that the call that opened them returns and the test goes on to its end.
  for (HWND dialog : open) Cancel(dialog);
}

void DialogAnswers::Cancel(HWND dialog) const {
  CancelDialog(dialog);
  PostMessageW(dialog, WM_CLOSE, 0, 0);
}

bool DialogAnswers::Wait() {
  while (!gaveUp_ && (!expected_.empty() || !answered_.empty())) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  }
  return !gaveUp_;
}

void DialogAnswers::Verify() {
  if (!gaveUp_ && !expected_.empty()) {
    std::wstring missing;
    for (const Expected& e : expected_) missing += (missing.empty() ? L"" : L", ") + e.what;
    ADD_FAILURE() << "never opened: " << Utf8(missing);
  }
  expected_.clear();
}

}  // namespace korval
