// Test double of the asking callback of the undo: records every question and answers from a script
// (without one: Yes to a question, OK to a notice).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/undo.h"

namespace korval {

struct AskedQuestion {
  MessageKind kind;
  int modeOrFlags;
  std::wstring s1, s2;
  MessageClass messageClass;
};

class AskScript {
 public:
  void Answer(int button) { answers_.push_back(button); }

  AskUser Callback() {
    return [this](MessageKind kind, int modeOrFlags, const std::wstring& s1, const std::wstring& s2,
                  MessageClass messageClass) {
      asked.push_back({kind, modeOrFlags, s1, s2, messageClass});
      if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
      }
      const bool question = kind != MessageKind::Plain || (modeOrFlags & MB_TYPEMASK) == MB_YESNO;
      return question ? IDYES : IDOK;
    };
  }

  std::vector<AskedQuestion> asked;

 private:
  std::deque<int> answers_;
};

}  // namespace korval
