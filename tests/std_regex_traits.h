// The benchmark's baseline: the character traits the regular expression libraries compiled their
// patterns with while they ran on the standard library's matcher (ECMAScript syntax), with the
// Japanese locale's case folding, minus the per-character locale look-ups that made [aeiou] or \d
// crawl on UTF-16 text.
#pragma once

#include <regex>
#include <string>

#include "regex/case_fold.h"

namespace korval::regex {

// kFoldCase: the traits of a pattern compiled with "i", whose back-references compare folded text
// (the library compares back-references through transform() for traits other than its own).
template <bool kFoldCase>
class RegexTraits : public std::regex_traits<wchar_t> {
 public:
  wchar_t translate_nocase(wchar_t c) const { return FoldLower(c); }

  template <typename Iterator>
  string_type transform(Iterator first, Iterator last) const {
    string_type key(first, last);
    if constexpr (kFoldCase) {
      for (wchar_t& c : key) c = FoldLower(c);
    }
    return key;
  }

  // The key that makes [[=a=]] match a character: its lower-case form. Bracket expressions ask for
  // it for every character they test, so it must be cheap.
  template <typename Iterator>
  string_type transform_primary(Iterator first, Iterator last) const {
    string_type key(first, last);
    for (wchar_t& c : key) c = FoldLower(c);
    return key;
  }

  // Bracket expressions test their class set even when it holds no class.
  bool isctype(wchar_t c, char_class_type classes) const {
    if (classes == char_class_type()) return false;
    return std::regex_traits<wchar_t>::isctype(c, classes);
  }
};

using ExactRegex = std::basic_regex<wchar_t, RegexTraits<false>>;
using FoldingRegex = std::basic_regex<wchar_t, RegexTraits<true>>;

}  // namespace korval::regex
