#include "engine/show_message.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>

#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

const HWND kOwner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4711));

// Every test starts and ends outside an automatic run; the boxes belong to kOwner.
class ShowMessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessagePolicy({});
    SetMessageOwner(kOwner);
  }
  void TearDown() override {
    SetMessagePolicy({});
    SetMessageOwner(nullptr);
  }
  ScriptedMessageSink sink_;
};

using ShowMessageTexts = ShowMessageTest;
using ShowMessageModeLimit = ShowMessageTest;
using ShowMessageStopMode = ShowMessageTest;
using ShowMessagePolicy = ShowMessageTest;
using ShowMessageBuffer = ShowMessageTest;

struct BoxCase {
  MessageKind kind;
  int modeOrFlags;
  std::wstring s1;
  std::wstring s2;
  std::wstring caption;
  std::wstring text;
  UINT style;
};

TEST_F(ShowMessageTexts, EveryKindComposesItsCaptionTextAndStyle) {
  const std::wstring failedRename = L"\"a.txt\"  を \n\"b.txt\"  に\n変更できませんでした。\n\n続行しますか。";
  const std::wstring confirmRename = L"\"C:\\d\\a.txt\"\n ↓\n\"C:\\d\\b.txt\"\n\nに\n変更します。\n\nよろしいですか？";
  const UINT failed = MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2;
  const UINT confirm = MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3;
  const UINT confirmYesNo = MB_YESNO | MB_ICONEXCLAMATION;
  const BoxCase cases[] = {
      {MessageKind::Plain, MB_OKCANCEL | MB_ICONWARNING, L"Empty List", L"ファイルリストが空です。", L"Empty List",
       L"ファイルリストが空です。", MB_OKCANCEL | MB_ICONWARNING},
      {MessageKind::Plain, 0, L"", L"", L"", L"", MB_OK},
      {MessageKind::ChangeFailed, 1, L"a.txt", L"b.txt", L"Continue?", failedRename, failed},
      {MessageKind::ChangeFailed, 12, L"a.txt", L"b.txt", L"Continue?", failedRename, failed},
      {MessageKind::ChangeFailed, 19, L"a.txt", L"b.txt", L"Continue?", failedRename, failed},
      {MessageKind::ChangeFailed, 13, L"C:\\d\\a.txt", L"", L"Continue?",
       L"\"C:\\d\\a.txt\"\nのタイムスタンプを変更できませんでした。\n\n続行しますか。", failed},
      {MessageKind::ChangeFailed, 14, L"C:\\d\\a.txt", L"", L"Continue?",
       L"\"C:\\d\\a.txt\"\nの属性を変更できませんでした。\n\n続行しますか。", failed},
      {MessageKind::TooManyFiles, 0, L"5000", L"10000", L"Too Many Files!",
       L"扱える最大ファイル数に達しました。\r\n\r\n設定値を増加しますか。(5000 → 10000)", MB_YESNO | MB_ICONEXCLAMATION},
      {MessageKind::OutOfMemory, 0, L"", L"", L"Run Short of Memory!", L"メモリが不足しているため、処理できません。",
       MB_OK | MB_ICONSTOP},
      {MessageKind::ConfirmChange, 1, L"C:\\d\\a.txt", L"C:\\d\\b.txt", L"Rename?", confirmRename, confirm},
      {MessageKind::ConfirmChange, 19, L"C:\\d\\a.txt", L"C:\\d\\b.txt", L"Rename?", confirmRename, confirm},
      {MessageKind::ConfirmChangeYesNo, 10, L"C:\\d\\a.txt", L"C:\\d\\b.txt", L"Rename?", confirmRename, confirmYesNo},
      {MessageKind::ConfirmChange, 13, L"C:\\d\\a.txt", L"", L"Change?",
       L"\"C:\\d\\a.txt\"\nのタイムスタンプを変更します。\n\nよろしいですか？", confirm},
      {MessageKind::ConfirmChangeYesNo, 14, L"C:\\d\\a.txt", L"", L"Change?",
       L"\"C:\\d\\a.txt\"\nの属性を変更します。\n\nよろしいですか？", confirmYesNo},
      {MessageKind::ConfirmChange, 15, L"C:\\d\\a.txt", L"C:\\d\\b.txt", L"Continue?",
       L"\"C:\\d\\a.txt\"\n\nの処理をします。よろしいですか？", confirm},
      {MessageKind::ConfirmChangeYesNo, 24, L"C:\\d\\a.txt", L"", L"Continue?",
       L"\"C:\\d\\a.txt\"\n\nの処理をします。よろしいですか？", confirmYesNo},
      {MessageKind::ConfirmChange, 0, L"x", L"", L"Continue?", L"\"x\"\n\nの処理をします。よろしいですか？", confirm},
      {MessageKind::FileLimitInfo, 0, L"1", L"", L"Too Many Files!", L"扱える最大ファイル数を超えています。",
       MB_OK | MB_ICONSTOP},
      {MessageKind::FileLimitInfo, 0, L"0", L"", L"Too Many Files!",
       L"扱える最大ファイル数に達しました。\r\n\r\nオプションで値を増加することができます。", MB_OK},
  };
  for (const auto& c : cases) {
    sink_.requests.clear();
    ShowMessage(c.kind, c.modeOrFlags, c.s1, c.s2, MessageClass::Info);
    ASSERT_EQ(1u, sink_.requests.size()) << static_cast<int>(c.kind) << " mode " << c.modeOrFlags;
    const MessageRequest& r = sink_.requests[0];
    EXPECT_EQ(Utf8(c.caption), Utf8(r.caption)) << static_cast<int>(c.kind) << " mode " << c.modeOrFlags;
    EXPECT_EQ(Utf8(c.text), Utf8(r.text)) << static_cast<int>(c.kind) << " mode " << c.modeOrFlags;
    EXPECT_EQ(c.style, r.style) << static_cast<int>(c.kind) << " mode " << c.modeOrFlags;
    EXPECT_EQ(kOwner, r.owner);
  }
}

TEST_F(ShowMessageTexts, ChangeFailedInAnEmptyModeSlotIsWordedAsARename) {
  ShowMessage(MessageKind::ChangeFailed, 20, L"a", L"b", MessageClass::Error);
  ASSERT_EQ(1u, sink_.requests.size());
  EXPECT_EQ(Utf8(L"\"a\"  を \n\"b\"  に\n変更できませんでした。\n\n続行しますか。"), Utf8(sink_.requests[0].text));
}

TEST_F(ShowMessageTexts, PercentSignsInNamesArePrintedAsTheyAre) {
  ShowMessage(MessageKind::ChangeFailed, 1, L"100%s.txt", L"%d%n.txt", MessageClass::Error);
  ASSERT_EQ(1u, sink_.requests.size());
  EXPECT_EQ(Utf8(L"\"100%s.txt\"  を \n\"%d%n.txt\"  に\n変更できませんでした。\n\n続行しますか。"),
            Utf8(sink_.requests[0].text));
}

TEST_F(ShowMessageTexts, TheAnswerOfTheBoxIsReturned) {
  const int answers[] = {IDYES, IDNO, IDCANCEL};
  for (int answer : answers) sink_.Answer(answer);
  for (int answer : answers) EXPECT_EQ(answer, ShowMessage(MessageKind::ConfirmChange, 1, L"a", L"b", MessageClass::Question));
}

TEST_F(ShowMessageModeLimit, AModeAbove24ShowsNothingAndReturnsOne) {
  const MessageKind kinds[] = {MessageKind::ChangeFailed, MessageKind::TooManyFiles, MessageKind::OutOfMemory,
                               MessageKind::StopMode,     MessageKind::ConfirmChange, MessageKind::ConfirmChangeYesNo,
                               MessageKind::FileLimitInfo};
  for (MessageKind kind : kinds) {
    for (int mode : {25, 100, INT_MAX}) {
      EXPECT_EQ(1, ShowMessage(kind, mode, L"a", L"0,0", MessageClass::Error)) << static_cast<int>(kind);
    }
    EXPECT_TRUE(sink_.requests.empty()) << static_cast<int>(kind);
    ShowMessage(kind, 24, L"a", L"0,0", MessageClass::Error);
    EXPECT_EQ(1u, sink_.requests.size()) << "mode 24 is still shown, kind " << static_cast<int>(kind);
    sink_.requests.clear();
  }
}

TEST_F(ShowMessageModeLimit, AnUndefinedKindShowsNothing) {
  EXPECT_EQ(1, ShowMessage(static_cast<MessageKind>(4), 1, L"a", L"b", MessageClass::Info));
  EXPECT_EQ(1, ShowMessage(static_cast<MessageKind>(-1), 1, L"a", L"b", MessageClass::Info));
  EXPECT_TRUE(sink_.requests.empty());
}

TEST_F(ShowMessageStopMode, TheCodePicksReasonAndQuestionOrNotice) {
  const struct {
    std::wstring code;
    std::wstring caption;
    std::wstring text;
    UINT style;
  } cases[] = {
      {L"0,0", L"Stop this mode?", L"解除しないとファイルを読み込めません。\r\n\r\n解除しますか。", MB_YESNO},
      {L"1,0", L"Stop this mode?", L"解除しないと設定を開けません。\r\n\r\n解除しますか。", MB_YESNO},
      {L"0,1", L"Stop this mode.", L"解除しないとファイルを読み込めません。", MB_OK},
      {L"1,1", L"Stop this mode.", L"解除しないと設定を開けません。", MB_OK},
      // Codes that are cut short or hold other digits fall back to reading files, asked as a question.
      {L"", L"Stop this mode?", L"解除しないとファイルを読み込めません。\r\n\r\n解除しますか。", MB_YESNO},
      {L"1", L"Stop this mode?", L"解除しないと設定を開けません。\r\n\r\n解除しますか。", MB_YESNO},
      {L"2,2", L"Stop this mode?", L"解除しないとファイルを読み込めません。\r\n\r\n解除しますか。", MB_YESNO},
      {L"1,1,", L"Stop this mode.", L"解除しないと設定を開けません。", MB_OK},
  };
  for (const auto& c : cases) {
    sink_.requests.clear();
    ShowMessage(MessageKind::StopMode, 0, L"解除", c.code, MessageClass::Question);
    ASSERT_EQ(1u, sink_.requests.size()) << Utf8(c.code);
    EXPECT_EQ(Utf8(c.caption), Utf8(sink_.requests[0].caption)) << Utf8(c.code);
    EXPECT_EQ(Utf8(c.text), Utf8(sink_.requests[0].text)) << Utf8(c.code);
    EXPECT_EQ(c.style, sink_.requests[0].style) << Utf8(c.code);
  }
}

TEST_F(ShowMessageStopMode, SilencedNoticeAnswersOkAndQuestionYes) {
  SetMessagePolicy({.automatic = true});
  EXPECT_EQ(IDOK, ShowMessage(MessageKind::StopMode, 0, L"解除", L"0,1", MessageClass::Question));
  EXPECT_EQ(IDYES, ShowMessage(MessageKind::StopMode, 0, L"解除", L"0,0", MessageClass::Question));
  EXPECT_TRUE(sink_.requests.empty());
}

TEST_F(ShowMessagePolicy, OptionsOfAnAutomaticRunDecideOwnerPlacementOrSilence) {
  enum class Shown { Owned, TopmostAlone, Silent };
  const struct {
    MessagePolicy policy;
    MessageClass messageClass;
    Shown shown;
  } cases[] = {
      {{}, MessageClass::Error, Shown::Owned},
      {{}, MessageClass::Info, Shown::Owned},
      {{.show = true, .errorsOnly = true, .all = true}, MessageClass::Info, Shown::Owned},  // not automatic
      {{.automatic = true}, MessageClass::Error, Shown::Silent},
      {{.automatic = true}, MessageClass::Question, Shown::Silent},
      {{.automatic = true, .errorsOnly = true}, MessageClass::Error, Shown::TopmostAlone},
      {{.automatic = true, .errorsOnly = true}, MessageClass::Info, Shown::Silent},
      {{.automatic = true, .errorsOnly = true}, MessageClass::Question, Shown::Silent},
      {{.automatic = true, .all = true}, MessageClass::Info, Shown::TopmostAlone},
      {{.automatic = true, .all = true}, MessageClass::Question, Shown::TopmostAlone},
      {{.automatic = true, .show = true}, MessageClass::Info, Shown::Owned},
      {{.automatic = true, .show = true}, MessageClass::Error, Shown::Owned},
      {{.automatic = true, .show = true, .errorsOnly = true}, MessageClass::Error, Shown::TopmostAlone},
      {{.automatic = true, .show = true, .errorsOnly = true}, MessageClass::Info, Shown::Owned},
      {{.automatic = true, .show = true, .all = true}, MessageClass::Info, Shown::TopmostAlone},
  };
  const UINT style = MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3;
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    SetMessagePolicy(c.policy);
    sink_.requests.clear();
    if (c.shown != Shown::Silent) sink_.Answer(IDCANCEL);
    const int result = ShowMessage(MessageKind::ConfirmChange, 1, L"a", L"b", c.messageClass);
    if (c.shown == Shown::Silent) {
      EXPECT_TRUE(sink_.requests.empty()) << "case " << i;
      EXPECT_EQ(IDYES, result) << "case " << i;
      continue;
    }
    EXPECT_EQ(IDCANCEL, result) << "case " << i;
    ASSERT_EQ(1u, sink_.requests.size()) << "case " << i;
    const MessageRequest& r = sink_.requests[0];
    EXPECT_EQ(L"Rename?", r.caption) << "case " << i;
    if (c.shown == Shown::Owned) {
      EXPECT_EQ(kOwner, r.owner) << "case " << i;
      EXPECT_EQ(style, r.style) << "case " << i;
    } else {
      EXPECT_EQ(nullptr, r.owner) << "case " << i;
      EXPECT_EQ(style | MB_TOPMOST, r.style) << "case " << i;
      EXPECT_EQ(0u, r.style & MB_SYSTEMMODAL) << "case " << i;
    }
  }
}

TEST_F(ShowMessagePolicy, SilencedBoxesAnswerYesWhenTheyAskYesOrNoElseOk) {
  SetMessagePolicy({.automatic = true});
  const struct {
    MessageKind kind;
    int modeOrFlags;
    std::wstring s1;
    int answer;
  } cases[] = {
      {MessageKind::ChangeFailed, 1, L"a", IDYES},        {MessageKind::ChangeFailed, 13, L"a", IDYES},
      {MessageKind::ConfirmChange, 14, L"a", IDYES},      {MessageKind::ConfirmChangeYesNo, 3, L"a", IDYES},
      {MessageKind::TooManyFiles, 0, L"5000", IDYES},     {MessageKind::OutOfMemory, 0, L"", IDOK},
      {MessageKind::FileLimitInfo, 0, L"1", IDOK},        {MessageKind::Plain, MB_YESNO | MB_ICONSTOP, L"c", IDYES},
      {MessageKind::Plain, MB_YESNOCANCEL, L"c", IDYES},  {MessageKind::Plain, MB_OKCANCEL, L"c", IDOK},
      {MessageKind::Plain, MB_RETRYCANCEL, L"c", IDOK},   {MessageKind::Plain, MB_OK | MB_ICONINFORMATION, L"c", IDOK},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.answer, ShowMessage(c.kind, c.modeOrFlags, c.s1, L"b", MessageClass::Error))
        << static_cast<int>(c.kind) << " " << c.modeOrFlags;
  }
  EXPECT_TRUE(sink_.requests.empty());
}

TEST_F(ShowMessagePolicy, ThePolicyIsKeptUntilReplaced) {
  SetMessagePolicy({.automatic = true, .errorsOnly = true});
  EXPECT_TRUE(CurrentMessagePolicy().automatic);
  EXPECT_TRUE(CurrentMessagePolicy().errorsOnly);
  EXPECT_FALSE(CurrentMessagePolicy().show);
  EXPECT_FALSE(CurrentMessagePolicy().all);
  SetMessagePolicy({});
  EXPECT_FALSE(CurrentMessagePolicy().automatic);
  ShowMessage(MessageKind::OutOfMemory, 0, L"", L"", MessageClass::Info);
  EXPECT_EQ(1u, sink_.requests.size());
}

TEST_F(ShowMessageBuffer, LongTextsAreCutToTheBuffer) {
  const struct {
    std::wstring s2;
    size_t expected;
  } cases[] = {
      {std::wstring(4999, L'あ'), 4999},
      {std::wstring(5000, L'あ'), 4999},
      {std::wstring(12000, L'x'), 4999},
      // A surrogate pair that would be split by the cut is dropped as a whole.
      {std::wstring(4998, L'x') + L"\U0001F600" + L"y", 4998},
      {std::wstring(4997, L'x') + L"\U0001F600" + L"y", 4999},
  };
  for (const auto& c : cases) {
    sink_.requests.clear();
    ShowMessage(MessageKind::Plain, MB_OK, L"Long", c.s2, MessageClass::Info);
    ASSERT_EQ(1u, sink_.requests.size());
    EXPECT_EQ(c.expected, sink_.requests[0].text.size()) << c.s2.size();
    EXPECT_EQ(c.s2.substr(0, c.expected), sink_.requests[0].text);
  }
}

TEST_F(ShowMessageBuffer, PathsOfFullLengthAndEmptyTextsAreWordedWhole) {
  const std::wstring s259 = L"C:\\" + std::wstring(256, L'n');
  const std::wstring s260 = s259 + L"x";
  ShowMessage(MessageKind::ConfirmChange, 1, s259, s260, MessageClass::Question);
  ShowMessage(MessageKind::ChangeFailed, 13, L"", L"", MessageClass::Error);
  ShowMessage(MessageKind::ConfirmChange, 1, std::wstring(3000, L'a'), std::wstring(3000, L'b'),
              MessageClass::Question);
  ASSERT_EQ(3u, sink_.requests.size());
  EXPECT_EQ(L"\"" + s259 + L"\"\n ↓\n\"" + s260 + L"\"\n\nに\n変更します。\n\nよろしいですか？", sink_.requests[0].text);
  EXPECT_EQ(L"\"\"\nのタイムスタンプを変更できませんでした。\n\n続行しますか。", sink_.requests[1].text);
  EXPECT_EQ(4999u, sink_.requests[2].text.size());
  EXPECT_EQ(L"\"" + std::wstring(3000, L'a') + L"\"\n ↓\n\"", sink_.requests[2].text.substr(0, 3007));
}

}  // namespace
}  // namespace korval
