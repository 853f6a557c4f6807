// The substitution on UTF-16 text, shared by the wide and the ANSI library.
#include "regex/substitute.h"

#include <new>
#include <optional>

#include "regex/code_point_text.h"
#include "regex/pattern_cache.h"
#include "regex/regex_traits.h"

namespace korval::regex {
namespace {

static_assert(kMaxTextChars <= kCodeBlockCapacity, "a text must fit the block of its code points");

// Texts of at most seven characters fit the string's own small buffer, so this allocates nothing.
SubstStatus Failed(const wchar_t* why, std::wstring& result, std::wstring& message, int& count) {
  result.clear();
  count = 0;
  message = why;
  return SubstStatus::Error;
}

// Whether a match may start anywhere in [from, last). This is the matcher's own first test of each
// position, made here before the matcher is set up at all: most searches after the last match of a
// "g" command, and many on names without the pattern's first character, find nothing.
bool MayStartIn(const Regex& pattern, const char32_t* from, const char32_t* last) {
  if (pattern.get_restart_type() != boost::regbase::restart_any || pattern.can_be_null()) return true;
  const unsigned char* map = pattern.get_map();
  for (; from != last; ++from) {
    if (*from > 0xFF || (map[*from] & boost::BOOST_REGEX_DETAIL_NS::mask_any) != 0) return true;
  }
  return false;
}

// Builds the new text into result; returns the number of matches replaced (0: result untouched).
// The match runs over whole characters; what it cuts out is taken from the original UTF-16 units, so
// a surrogate pair is never split and nothing is re-encoded.
int ReplaceMatches(const CompiledCommand& compiled, std::wstring_view text, std::wstring& result,
                   std::vector<SourceSpan>* spans, Workspace& work, MatchBudget& budget) {
  namespace rc = boost::regex_constants;
  work.text.Assign(text);
  work.text.Charge(&budget);
  const CodePointText& codes = work.text;
  ResultWriter writer(codes, result, spans);
  // Never null, also for an empty text; the replacement measures group positions from it.
  const char32_t* base = codes.Codes().data();
  const BudgetIterator first(base);
  const BudgetIterator last(base + codes.Codes().size());
  Match& match = work.match;
  size_t copiedTo = 0;
  int count = 0;
  // Each search starts where the last match ended and sees the text before it (for \b and looking
  // behind). After an empty match the next one may not be empty at the same place, so the search
  // moves on by one whole character and a pattern that can match nothing still ends.
  rc::match_flag_type flags = rc::match_default;
  for (BudgetIterator from = first; MayStartIn(compiled.pattern, from.Get(), last.Get()) &&
                                    boost::regex_search(from, last, match, compiled.pattern, flags, first);) {
    const size_t matchStart = static_cast<size_t>(match[0].first.Get() - base);
    writer.Original(copiedTo, matchStart);
    AppendReplacement(compiled.replacement, match, compiled.resets, writer);
    copiedTo = static_cast<size_t>(match[0].second.Get() - base);
    ++count;
    if (result.size() > kMaxResultChars) return count;
    if (!compiled.global) break;
    from = match[0].second;
    flags = match[0].first == match[0].second ? rc::match_not_initial_null : rc::match_default;
  }
  if (count > 0) writer.Original(copiedTo, codes.Codes().size());
  return count;
}

}  // namespace

const CompiledCommand* Workspace::Recall(std::wstring_view command) const {
  for (const Recent& entry : recent_) {
    if (entry.compiled != nullptr && entry.command == command) return entry.compiled.get();
  }
  return nullptr;
}

void Workspace::Remember(std::wstring_view command, std::shared_ptr<const CompiledCommand> compiled) {
  Recent& entry = recent_[next_];
  next_ = (next_ + 1) % recent_.size();
  entry.command.assign(command);
  entry.compiled = std::move(compiled);
}

SubstStatus Substitute(std::wstring_view command, std::wstring_view text, std::wstring& result,
                       std::wstring& message, int& count, std::vector<SourceSpan>* spans,
                       Workspace* workspace) noexcept {
  count = 0;
  try {
    result.clear();
    if (spans != nullptr) spans->clear();
    message.clear();
    if (command.size() > kMaxCommandChars) {
      message = L"コマンドが長すぎます";
      return SubstStatus::Error;
    }
    if (text.size() > kMaxTextChars) {
      message = L"対象の文字列が長すぎます";
      return SubstStatus::Error;
    }
    MatchBudget budget(kMatchBudgetReads, kMatchBudgetTime);
    // Compiling a new pattern counts against the time. A cached one costs too little to be worth a
    // look at the clock: the budget reads it when its first slice of reads is used up.
    const CompiledCommand* compiled = workspace != nullptr ? workspace->Recall(command) : nullptr;
    std::shared_ptr<const CompiledCommand> found;
    if (compiled == nullptr) {
      std::optional<std::chrono::steady_clock::time_point> compileStart;
      found = FindOrCompile(command, &compileStart);
      if (compileStart) budget.StartClock(*compileStart);
      if (workspace != nullptr) workspace->Remember(command, found);
      compiled = found.get();
    }
    if (!compiled->error.empty()) {
      message = compiled->error;
      return SubstStatus::Error;
    }
    if (workspace == nullptr) {
      // A caller without a workspace of its own (the libraries always give one) shares its thread's.
      thread_local Workspace shared;
      workspace = &shared;
    }
    count = ReplaceMatches(*compiled, text, result, spans, *workspace, budget);
    if (count == 0) return SubstStatus::NoMatch;
    if (result.size() > kMaxResultChars) {
      result.clear();
      count = 0;
      message = L"置換結果が長すぎます";
      return SubstStatus::Error;
    }
    return SubstStatus::Replaced;
  } catch (const MatchBudgetSpent&) {
    return Failed(kExhaustedText, result, message, count);
  } catch (const boost::regex_error& error) {
    // A pattern whose matching would take too long or too much memory (nested repeats that can
    // match the same text in very many ways) is stopped by the matcher's bounds.
    const bool tooComplex = error.code() == boost::regex_constants::error_complexity ||
                            error.code() == boost::regex_constants::error_stack;
    return Failed(tooComplex ? kExhaustedText : L"処理できません", result, message, count);
  } catch (const std::bad_alloc&) {
    return Failed(L"メモリ不足", result, message, count);
  } catch (...) {
    return Failed(L"処理できません", result, message, count);
  }
}

}  // namespace korval::regex
