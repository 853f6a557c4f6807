#include "regex/caseless_ranges.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "regex/unicode_data.h"

namespace korval::regex {
namespace {

struct Token {
  enum Kind { Character, Dash, Other } kind;
  char32_t value = 0;
  std::u32string_view text;
};

bool IsAsciiAlphanumeric(char32_t c) {
  return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9');
}

std::vector<Token> Tokens(std::u32string_view inner) {
  std::vector<Token> tokens;
  for (size_t i = 0; i < inner.size();) {
    const size_t start = i;
    const char32_t c = inner[i];
    Token token{Token::Character, c, {}};
    if (c == U'[' && i + 1 < inner.size() && (inner[i + 1] == U':' || inner[i + 1] == U'=' || inner[i + 1] == U'.')) {
      const std::u32string closing{inner[i + 1], U']'};
      const size_t close = inner.find(closing, i + 2);
      i = close == std::u32string_view::npos ? inner.size() : close + 2;
      token.kind = Token::Other;
    } else if (c == U'\\' && i + 2 < inner.size() && inner[i + 1] == U'x' && inner[i + 2] == U'{') {
      const size_t close = inner.find(U'}', i + 3);
      uint32_t value = 0;
      for (size_t k = i + 3; k < close && close != std::u32string_view::npos; ++k) {
        const char32_t d = inner[k];
        value = value * 16 + static_cast<uint32_t>(d <= U'9' ? d - U'0' : (d | 0x20) - U'a' + 10);
      }
      i = close == std::u32string_view::npos ? inner.size() : close + 1;
      token.value = value;
    } else if (c == U'\\' && i + 1 < inner.size()) {
      // An escaped punctuation character is itself; any other escape is no character of a range.
      token.value = inner[i + 1];
      if (IsAsciiAlphanumeric(token.value)) token.kind = Token::Other;
      i += 2;
    } else {
      if (c == U'-') token.kind = Token::Dash;
      ++i;
    }
    token.text = inner.substr(start, i - start);
    tokens.push_back(token);
  }
  return tokens;
}

// The folded characters of [first, last] as sorted, joined runs; empty when no character of the
// range folds to another (the matcher's own reading is then Perl's).
std::vector<std::pair<char32_t, char32_t>> FoldedRuns(char32_t first, char32_t last) {
  std::vector<char32_t> moved, added;
  for (size_t k = 0; k < unicode::kSimpleFoldsCount; ++k) {
    const unicode::CodePair& fold = unicode::kSimpleFolds[k];
    if (fold.from >= first && fold.from <= last) {
      moved.push_back(fold.from);
      added.push_back(fold.to);
    }
  }
  if (moved.empty()) return {};
  std::sort(moved.begin(), moved.end());
  // The range less the characters that fold away, then the characters they fold to.
  std::vector<std::pair<char32_t, char32_t>> runs;
  char32_t from = first;
  for (char32_t away : moved) {
    if (away > from) runs.emplace_back(from, away - 1);
    from = away + 1;
  }
  if (from <= last) runs.emplace_back(from, last);
  for (char32_t to : added) runs.emplace_back(to, to);
  std::sort(runs.begin(), runs.end());
  std::vector<std::pair<char32_t, char32_t>> joined;
  for (const auto& run : runs) {
    if (!joined.empty() && run.first <= joined.back().second + 1) {
      joined.back().second = std::max(joined.back().second, run.second);
    } else {
      joined.push_back(run);
    }
  }
  return joined;
}

}  // namespace

void AppendHexEscape(uint32_t value, std::u32string& out) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::u32string digits;
  do {
    digits.insert(digits.begin(), static_cast<char32_t>(kDigits[value % 16]));
    value /= 16;
  } while (value != 0);
  out += U"\\x{" + digits + U"}";
}

std::u32string CaselessRanges(std::u32string_view inner) {
  const std::vector<Token> tokens = Tokens(inner);
  std::u32string out;
  for (size_t k = 0; k < tokens.size(); ++k) {
    const bool range = tokens[k].kind == Token::Character && k + 2 < tokens.size() &&
                       tokens[k + 1].kind == Token::Dash && tokens[k + 2].kind == Token::Character &&
                       tokens[k].value <= tokens[k + 2].value;
    const std::vector<std::pair<char32_t, char32_t>> runs =
        range ? FoldedRuns(tokens[k].value, tokens[k + 2].value) : std::vector<std::pair<char32_t, char32_t>>{};
    if (runs.empty()) {
      out += tokens[k].text;
      continue;
    }
    for (const auto& [first, last] : runs) {
      AppendHexEscape(first, out);
      if (last == first) continue;
      out += U'-';
      AppendHexEscape(last, out);
    }
    k += 2;
  }
  return out;
}

}  // namespace korval::regex
