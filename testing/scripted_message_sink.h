// Test double of the message sink: records every request and answers from a script.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/message_sink.h"

namespace korval {

class ScriptedMessageSink final : public MessageSink {
 public:
  // Installs itself as the current sink for its lifetime.
  ScriptedMessageSink() : previous_(SetMessageSink(this)) {}
  ~ScriptedMessageSink() override { SetMessageSink(previous_); }
  ScriptedMessageSink(const ScriptedMessageSink&) = delete;
  ScriptedMessageSink& operator=(const ScriptedMessageSink&) = delete;

  // Queues the answer to the next question; without one, the first button of the box is pressed.
  void Answer(int button) { answers_.push_back(button); }

  int Show(const MessageRequest& request) override;

  std::vector<MessageRequest> requests;
  // Runs as each box shows, to look at the window behind it.
  std::function<void(const MessageRequest&)> onShow;

 private:
  std::deque<int> answers_;
  MessageSink* previous_;
};

// The button a user reaches first in a box of the given style (OK, Yes, Abort, Retry ...).
int FirstButtonOf(UINT style);

}  // namespace korval
