// The one routine through which the program speaks to the user. It composes the documented texts,
// applies the rules of automatic runs (silent, errors only, everything, shown), and hands the box to
// the message sink (message boxes, or a script in tests).
#pragma once

#include <windows.h>

#include <string>

#include "platform/message_sink.h"

namespace korval {

enum class MessageKind {
  Plain = 0,               // caption s1, text s2, style flags in modeOrFlags
  ChangeFailed = 1,        // a change failed: continue?
  TooManyFiles = 2,        // the row limit was reached: raise it? (s1, s2: current and next limit)
  OutOfMemory = 3,
  StopMode = 5,            // s1 the action, s2 "d,d": reason and question or notice
  ConfirmChange = 6,       // Yes/No/Cancel before a change
  ConfirmChangeYesNo = 7,  // Yes/No before a change
  FileLimitInfo = 8,       // s1: "1" when the limit is already the highest but one or above
};

enum class MessageClass { Info, Question, Error };

void SetMessagePolicy(const MessagePolicy& policy);
const MessagePolicy& CurrentMessagePolicy();
// The unattended run was cut and its window closes: every box still open ends with its stop answer,
// and from now on nothing is shown and every question gets its stop answer (No, Cancel ...).
void CloseMessagesForGood();

// Returns the button pressed (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7). The box belongs to the window
// set with SetMessageOwner. modeOrFlags is the change mode
// for the kinds that word their text by mode, or the style flags for Plain. A silenced box answers
// Yes when it has Yes/No buttons, else OK. For kinds other than Plain, a mode above 24 shows nothing
// and returns 1.
int ShowMessage(MessageKind kind, int modeOrFlags, const std::wstring& s1, const std::wstring& s2,
                MessageClass messageClass);
// A Plain box whose answer that stops (given when the window closes or an unattended run is cut
// while it waits) is stopAnswer rather than Cancel, No or OK: a question whose Yes stops, or one
// whose No would change a setting the user never chose.
int ShowMessageStoppedBy(int stopAnswer, UINT flags, const std::wstring& caption, const std::wstring& text,
                         MessageClass messageClass);

}  // namespace korval
