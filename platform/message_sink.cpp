// The message box sink and the switch that tests use to replace it.
#include "platform/message_sink.h"

namespace korval {
namespace {

Win32MessageSink gWin32Sink;
MessageSink* gSink = nullptr;
HWND gOwner = nullptr;

}  // namespace

int Win32MessageSink::Show(const MessageRequest& request) {
  return MessageBoxW(request.owner, request.text.c_str(), request.caption.c_str(), request.style);
}

MessageSink& CurrentMessageSink() { return gSink ? *gSink : gWin32Sink; }

MessageSink* SetMessageSink(MessageSink* sink) {
  MessageSink* previous = gSink;
  gSink = sink;
  return previous;
}

void SetMessageOwner(HWND owner) { gOwner = owner; }

HWND MessageOwner() { return gOwner; }

}  // namespace korval
