// The substitution on UTF-16 text, shared by the wide and the ANSI library.
#include "regex/substitute.h"

#include <new>

#include "regex/code_point_text.h"
#include "regex/pattern_cache.h"
#include "regex/regex_traits.h"

namespace korval::regex {
namespace {

// Texts of at most seven characters fit the string's own small buffer, so this allocates nothing.
SubstStatus Failed(const wchar_t* why, std::wstring& result, std::wstring& message, int& count) {
  result.clear();
  count = 0;
  message = why;
  return SubstStatus::Error;
}

// Builds the new text into result; returns the number of matches replaced (0: result untouched).
// The match runs over whole characters; what it cuts out is taken from the original UTF-16 units, so
// a surrogate pair is never split and nothing is re-encoded.
int ReplaceMatches(const CompiledCommand& compiled, std::wstring_view text, std::wstring& result,
                   std::vector<SourceSpan>* spans, std::chrono::steady_clock::time_point deadline) {
  using Iterator = boost::regex_iterator<BudgetIterator, char32_t, Traits>;
  const CodePointText codes(text);
  ResultWriter writer(codes, result, spans);
  // Never null, also for an empty text; the replacement measures group positions from it.
  const char32_t* base = codes.Codes().data();
  MatchBudget budget(kMatchBudgetReads, deadline);
  const BudgetIterator first(base, &budget);
  const BudgetIterator last(base + codes.Codes().size(), &budget);
  size_t copiedTo = 0;
  int count = 0;
  // The iterator steps past an empty match by one whole character, so a pattern that can match
  // nothing still ends.
  for (Iterator match(first, last, compiled.pattern), end; match != end; ++match) {
    const size_t matchStart = static_cast<size_t>((*match)[0].first.Get() - base);
    writer.Original(copiedTo, matchStart);
    AppendReplacement(compiled.replacement, *match, writer);
    copiedTo = static_cast<size_t>((*match)[0].second.Get() - base);
    ++count;
    if (result.size() > kMaxResultChars) return count;
    if (!compiled.global) break;
  }
  if (count > 0) writer.Original(copiedTo, codes.Codes().size());
  return count;
}

}  // namespace

SubstStatus Substitute(std::wstring_view command, std::wstring_view text, std::wstring& result,
                       std::wstring& message, int& count, std::vector<SourceSpan>* spans) noexcept {
  count = 0;
  // The time counts from the call, so compiling a new pattern leaves less of it for the match.
  const auto deadline = std::chrono::steady_clock::now() + kMatchBudgetTime;
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
    const std::shared_ptr<const CompiledCommand> compiled = FindOrCompile(command);
    if (!compiled->error.empty()) {
      message = compiled->error;
      return SubstStatus::Error;
    }
    count = ReplaceMatches(*compiled, text, result, spans, deadline);
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
