// The substitution both libraries perform, on UTF-16 text: parse and compile the command (cached),
// find the first or every match, build the result. Never throws.
#pragma once

#include <array>
#include <chrono>
#include <memory>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "regex/code_point_text.h"
#include "regex/command.h"
#include "regex/pattern_cache.h"
#include "regex/regex_api.h"
#include "regex/regex_traits.h"

namespace korval::regex {

// Bounds of what one call accepts; the renamer's texts are far below them.
inline constexpr size_t kMaxCommandChars = 8192;
inline constexpr size_t kMaxTextChars = 8192;
inline constexpr size_t kMaxResultChars = 1 << 20;

// What one substitution may spend matching, all its matches together: characters read, and time.
// Both bound the work whatever the pattern and its length; the count makes the cut the same on
// every machine, the time is the backstop on a slow or busy one.
inline constexpr uint64_t kMatchBudgetReads = 1'000'000;
inline constexpr std::chrono::milliseconds kMatchBudgetTime{50};

// The message of a match stopped by its budget or by the matcher's bounds on memory.
inline constexpr const wchar_t* kExhaustedText = kRegexCutOffMessage;

enum class SubstStatus {
  Replaced,  // result holds the whole new text
  NoMatch,   // nothing was replaced; result is empty
  Error,     // message says why; result is empty
};

// What one substitution needs besides its result, kept by a caller that makes many (the libraries
// keep one in each result record): reused, its buffers make a run over many names allocate nothing
// once its first names are done.
struct Workspace {
  CodePointText text;
  Match match;

  // The commands of the last calls, so a caller going round its few items again and again needs
  // neither the shared cache's lock nor its hashing. Null when command is not among them.
  const CompiledCommand* Recall(std::wstring_view command) const;
  void Remember(std::wstring_view command, std::shared_ptr<const CompiledCommand> compiled);

 private:
  struct Recent {
    std::wstring command;
    std::shared_ptr<const CompiledCommand> compiled;
  };
  std::array<Recent, 4> recent_;
  size_t next_ = 0;
};

// count receives the number of matches replaced; spans, when given, the stretches of result copied
// from text. result may keep the capacity of an earlier call; so does workspace, when given.
SubstStatus Substitute(std::wstring_view command, std::wstring_view text, std::wstring& result,
                       std::wstring& message, int& count, std::vector<SourceSpan>* spans = nullptr,
                       Workspace* workspace = nullptr) noexcept;

}  // namespace korval::regex
