// Compiled substitution commands, each distinct command compiled once and kept in a bounded cache,
// so a run over many rows with the same few items compiles nothing after its first row.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "regex/command.h"
#include "regex/regex_traits.h"

namespace korval::regex {

inline constexpr size_t kCacheEntries = 64;
// Compiling descends once per group level; these bounds keep it well within any thread's stack.
inline constexpr size_t kMaxPatternChars = 2048;
inline constexpr int kMaxGroupNesting = 64;

struct CompiledCommand {
  Regex pattern;  // compiled with "i" folded in
  std::vector<ReplacementPiece> replacement;
  std::vector<GroupReset> resets;  // groups Perl would have emptied per repetition
  bool global = false;
  std::wstring error;  // not empty: the command is unusable and this says why
};

// The compiled form of command, from the cache or compiled now (a failure is cached as well, so a
// wrong pattern costs one attempt per run, not one per row). compileStart, when given, receives the
// time compiling started if the command was not cached. May throw std::bad_alloc.
std::shared_ptr<const CompiledCommand> FindOrCompile(
    std::wstring_view command, std::optional<std::chrono::steady_clock::time_point>* compileStart = nullptr);

// How many commands the cache holds now (for tests).
size_t CachedCommandCount();

// The deepest group nesting of pattern, ignoring escaped and bracketed parentheses.
int GroupNesting(std::wstring_view pattern);

}  // namespace korval::regex
