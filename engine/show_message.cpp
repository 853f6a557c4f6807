// Composes the program's messages (caption, text, buttons and icon) and decides, by the options of an
// automatic run, whether a box is shown, shown topmost without owner, or answered silently.
#include "engine/show_message.h"

#include <cwchar>
#include <utility>

#include "modes/change_mode.h"
#include "platform/format_text.h"
#include "platform/message_sink.h"

namespace korval {
namespace {

MessagePolicy gMessagePolicy;

// Texts are composed into a buffer of this many characters, the terminator included.
constexpr size_t kMessageBuffer = 5000;
// Kinds other than Plain show nothing for a mode number above this.
constexpr int kHighestMode = 24;

struct ComposedBox {
  std::wstring caption;
  std::wstring text;
  UINT style = MB_OK;
  int stopAnswer = 0;  // 0: the usual one (StopAnswerOf)
};

// Cuts the text to what the buffer holds, without leaving half of a surrogate pair at the end.
std::wstring BoundToBuffer(std::wstring text) {
  constexpr size_t kMaxChars = kMessageBuffer - 1;
  if (text.size() <= kMaxChars) return text;
  size_t keep = kMaxChars;
  if (IS_HIGH_SURROGATE(text[keep - 1])) --keep;
  text.resize(keep);
  return text;
}

bool IsTimestampOrAttributeMode(int mode) { return mode == 13 || mode == 14; }
const wchar_t* WhatIsChanged(int mode) { return mode == 13 ? L"のタイムスタンプを" : L"の属性を"; }

// The limits of kind TooManyFiles arrive as texts; the message shows them as numbers.
int CountOf(const std::wstring& text) { return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10)); }

ComposedBox ChangeFailedBox(int mode, const std::wstring& s1, const std::wstring& s2) {
  ComposedBox box{L"Continue?", L"", MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2};
  constexpr const wchar_t* kFailed = L"変更できませんでした。\n\n続行しますか。";
  if (IsTimestampOrAttributeMode(mode)) {
    box.text = FormatText(L"\"%s\"\n%s%s", s1.c_str(), WhatIsChanged(mode), kFailed);
  } else {
    // The unused slots of the mode tabs have no wording of their own; a failed change there can only
    // be a rename, so it is worded as one rather than shown as an empty box.
    box.text = FormatText(L"\"%s\"  を \n\"%s\"  %s%s", s1.c_str(), s2.c_str(), L"に\n", kFailed);
  }
  return box;
}

ComposedBox ConfirmChangeBox(MessageKind kind, int mode, const std::wstring& s1, const std::wstring& s2) {
  ComposedBox box;
  box.style = kind == MessageKind::ConfirmChange ? MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3
                                                 : MB_YESNO | MB_ICONEXCLAMATION;
  constexpr const wchar_t* kAsk = L"変更します。\n\nよろしいですか？";
  if (IsNameMode(mode)) {
    box.caption = L"Rename?";
    box.text = FormatText(L"\"%s\"\n ↓\n\"%s\"\n\n%s%s", s1.c_str(), s2.c_str(), L"に\n", kAsk);
  } else if (IsTimestampOrAttributeMode(mode)) {
    box.caption = L"Change?";
    box.text = FormatText(L"\"%s\"\n%s%s", s1.c_str(), WhatIsChanged(mode), kAsk);
  } else {
    box.caption = L"Continue?";
    box.text = FormatText(L"\"%s\"\n\nの処理をします。よろしいですか？", s1.c_str());
  }
  return box;
}

// s1 is the action the user has to take first; s2 is the code "d,d": the first digit picks what
// cannot be done ('1' settings, otherwise reading files), the second whether the user is asked to
// take the action now ('1' a notice, otherwise a Yes/No question).
ComposedBox StopModeBox(const std::wstring& s1, const std::wstring& s2) {
  const bool settings = s2.size() >= 1 && s2[0] == L'1';
  const bool notice = s2.size() >= 3 && s2[2] == L'1';
  ComposedBox box;
  box.caption = FormatText(L"Stop this mode%s", notice ? L"." : L"?");
  box.text = FormatText(L"%sしないと%sません。", s1.c_str(), settings ? L"設定を開け" : L"ファイルを読み込め");
  if (notice) {
    box.style = MB_OK;
  } else {
    box.text = FormatText(L"%s\r\n\r\n%sしますか。", box.text.c_str(), s1.c_str());
    box.style = MB_YESNO;
  }
  return box;
}

// Composes the box of a kind; false for a kind that has none.
bool ComposeBox(MessageKind kind, int modeOrFlags, const std::wstring& s1, const std::wstring& s2, ComposedBox* box) {
  switch (kind) {
    case MessageKind::Plain:
      *box = {s1, s2, static_cast<UINT>(modeOrFlags)};
      return true;
    case MessageKind::ChangeFailed:
      *box = ChangeFailedBox(modeOrFlags, s1, s2);
      return true;
    case MessageKind::TooManyFiles:
      *box = {L"Too Many Files!",
              FormatText(L"扱える最大ファイル数に達しました。\r\n\r\n設定値を増加しますか。(%d → %d)", CountOf(s1),
                         CountOf(s2)),
              MB_YESNO | MB_ICONEXCLAMATION};
      return true;
    case MessageKind::OutOfMemory:
      *box = {L"Run Short of Memory!", L"メモリが不足しているため、処理できません。", MB_OK | MB_ICONSTOP};
      return true;
    case MessageKind::StopMode:
      *box = StopModeBox(s1, s2);
      return true;
    case MessageKind::ConfirmChange:
    case MessageKind::ConfirmChangeYesNo:
      *box = ConfirmChangeBox(kind, modeOrFlags, s1, s2);
      return true;
    case MessageKind::FileLimitInfo:
      if (s1 == L"1") {
        *box = {L"Too Many Files!", L"扱える最大ファイル数を超えています。", MB_OK | MB_ICONSTOP};
      } else {
        *box = {L"Too Many Files!", L"扱える最大ファイル数に達しました。\r\n\r\nオプションで値を増加することができます。",
                MB_OK};
      }
      return true;
  }
  return false;
}

// What a box that is not shown answers: Yes when it asks Yes or No, else OK.
int SilentAnswer(UINT style) {
  const UINT buttons = style & MB_TYPEMASK;
  return (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? IDYES : IDOK;
}

int Deliver(const ComposedBox& box, MessageClass messageClass) {
  const MessagePolicy& policy = gMessagePolicy;
  MessageRequest request{MessageOwner(), box.text, box.caption, box.style, box.stopAnswer};
  // Once the run was cut nothing more is agreed to.
  if (policy.closing) return StopAnswerOf(request);
  if (policy.automatic) {
    if (policy.all || (policy.errorsOnly && messageClass == MessageClass::Error)) {
      // Nobody watches the main window of an automatic run: the box stands on its own, above the rest.
      request.owner = nullptr;
      request.style |= MB_TOPMOST;
    } else if (!policy.show) {
      return SilentAnswer(box.style);
    }
  }
  return CurrentMessageSink().Show(request);
}

}  // namespace

void SetMessagePolicy(const MessagePolicy& policy) { gMessagePolicy = policy; }

const MessagePolicy& CurrentMessagePolicy() { return gMessagePolicy; }

void CloseMessagesForGood() {
  gMessagePolicy.closing = true;
  CloseOpenMessageBoxes();
}

int ShowMessage(MessageKind kind, int modeOrFlags, const std::wstring& s1, const std::wstring& s2,
                MessageClass messageClass) {
  if (kind != MessageKind::Plain && modeOrFlags > kHighestMode) return IDOK;
  ComposedBox box;
  if (!ComposeBox(kind, modeOrFlags, s1, s2, &box)) return IDOK;
  box.text = BoundToBuffer(std::move(box.text));
  return Deliver(box, messageClass);
}

int ShowMessageStoppedBy(int stopAnswer, UINT flags, const std::wstring& caption, const std::wstring& text,
                         MessageClass messageClass) {
  return Deliver({caption, BoundToBuffer(text), flags, stopAnswer}, messageClass);
}

}  // namespace korval
