// Scripted answers for tests of code that asks the user.
#include "testing/scripted_message_sink.h"

namespace korval {

int FirstButtonOf(UINT style) {
  switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: return IDOK;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    default: return IDOK;
  }
}

int ScriptedMessageSink::Show(const MessageRequest& request) {
  requests.push_back(request);
  if (onShow) onShow(request);
  if (answers_.empty()) return FirstButtonOf(request.style);
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace korval
