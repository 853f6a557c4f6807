// The dialog answerer of the GUI tests: it retries until a dialog is ready, and a dialog that does
// not come, or that nobody answers, ends the wait with a failure that says what was awaited.
#include "testing/dialog_answers.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace korval {
namespace {

TEST(DialogAnswers, AnAnswerIsTriedAgainUntilTheDialogTakesIt) {
  int tries = 0;
  DialogAnswers answers;
  answers.Expect(L"the question", [&tries](HWND box) { return ++tries >= 3 && PressButtonOf(L"Question", IDNO)(box); });
  EXPECT_EQ(IDNO, MessageBoxW(nullptr, L"Go on?", L"Question", MB_YESNO));
  EXPECT_EQ(3, tries);
}

TEST(DialogAnswers, EveryDialogGetsTheStandingAnswer) {
  DialogAnswers answers;
  answers.AnswerEvery(CancelDialog);
  EXPECT_EQ(IDCANCEL, MessageBoxW(nullptr, L"1", L"First", MB_OKCANCEL));
  EXPECT_EQ(IDCANCEL, MessageBoxW(nullptr, L"2", L"Second", MB_OKCANCEL));
}

// The failures the bounded waits give instead of a hang, each case a wait of 300 ms.
void NeverComes() {
  DialogAnswers answers(0, 300);
  answers.Expect(L"the options sheet", CancelDialog);
  answers.Wait();
}

void NobodyAnswers() {
  DialogAnswers answers(0, 300);
  MessageBoxW(nullptr, L"Unexpected", L"Surprise", MB_OK);
}

void TheAnswerIsNotTaken() {
  DialogAnswers answers(0, 300);
  answers.Expect(L"a box with a name field", [](HWND box) { return HasControl(box, 0x480); });
  MessageBoxW(nullptr, L"No name field here", L"Plain", MB_OK);
}

TEST(DialogAnswers, AWaitThatCannotEndFailsAndSaysForWhat) {
  EXPECT_NONFATAL_FAILURE(NeverComes(), "waited 300 ms for the options sheet; no dialog was open");
  EXPECT_NONFATAL_FAILURE(NobodyAnswers(), "a dialog that no test expected stayed open; open: \"Surprise\"");
  EXPECT_NONFATAL_FAILURE(TheAnswerIsNotTaken(), "waited 300 ms for a box with a name field; open: \"Plain\"");
}

}  // namespace
}  // namespace korval
