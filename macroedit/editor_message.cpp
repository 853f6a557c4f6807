// The editor's messages go through the current message sink, so tests can answer them.
#include "macroedit/editor_message.h"

#include "platform/message_sink.h"

namespace korval {
namespace {

HWND gMessageOwner = nullptr;

}  // namespace

void SetEditorMessageOwner(HWND owner) { gMessageOwner = owner; }

int EditorMessage(const std::wstring& text, const wchar_t* caption, UINT style) {
  MessageRequest request;
  request.owner = gMessageOwner;
  request.text = text;
  request.caption = caption;
  request.style = style;
  return CurrentMessageSink().Show(request);
}

}  // namespace korval
