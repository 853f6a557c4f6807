#include "testing/scripted_message_sink.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

TEST(MessageSink, ScriptedSinkRecordsAndAnswersThenRestoresThePrevious) {
  MessageSink* before = &CurrentMessageSink();
  {
    ScriptedMessageSink sink;
    EXPECT_EQ(&sink, &CurrentMessageSink());
    sink.Answer(IDNO);
    EXPECT_EQ(IDNO, CurrentMessageSink().Show({nullptr, L"消去しますか。", L"Clear?", MB_YESNO | MB_ICONQUESTION}));
    // Without a scripted answer the first button is pressed.
    EXPECT_EQ(IDYES, CurrentMessageSink().Show({nullptr, L"続けますか。", L"Go on?", MB_YESNOCANCEL}));
    EXPECT_EQ(IDOK, CurrentMessageSink().Show({nullptr, L"完了", L"Done", MB_OK | MB_ICONINFORMATION}));
    ASSERT_EQ(3u, sink.requests.size());
    EXPECT_EQ(L"消去しますか。", sink.requests[0].text);
    EXPECT_EQ(L"Clear?", sink.requests[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), sink.requests[0].style);
  }
  EXPECT_EQ(before, &CurrentMessageSink());
}

TEST(MessageSink, FirstButtonOfEveryBoxType) {
  EXPECT_EQ(IDOK, FirstButtonOf(MB_OK));
  EXPECT_EQ(IDOK, FirstButtonOf(MB_OKCANCEL | MB_ICONWARNING));
  EXPECT_EQ(IDABORT, FirstButtonOf(MB_ABORTRETRYIGNORE));
  EXPECT_EQ(IDYES, FirstButtonOf(MB_YESNOCANCEL));
  EXPECT_EQ(IDYES, FirstButtonOf(MB_YESNO | MB_TOPMOST));
  EXPECT_EQ(IDRETRY, FirstButtonOf(MB_RETRYCANCEL));
}

}  // namespace
}  // namespace korval
