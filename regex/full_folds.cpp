// Spelling out the folds of one character to several.
#include "regex/full_folds.h"

#include <map>
#include <optional>
#include <vector>

#include "regex/unicode_data.h"

namespace korval::regex {
namespace {

using Text = std::u32string;
using View = std::u32string_view;

constexpr size_t kMaxRun = 32;
constexpr size_t kMaxSpelling = 1024;

// Each multi-character fold ("ss") and the characters that fold to it ("ßẞ").
const std::map<Text, Text>& SourcesByFold() {
  static const std::map<Text, Text> sources = [] {
    std::map<Text, Text> m;
    for (size_t i = 0; i < unicode::kFullFoldCount; ++i) {
      const unicode::FullFold& f = unicode::kFullFolds[i];
      Text to;
      for (char32_t c : f.to) {
        if (c != 0) to += c;
      }
      m[to] += f.from;
    }
    return m;
  }();
  return sources;
}

void AppendLiteral(char32_t c, Text& out) {
  const bool asciiLetterOrDigit = (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9');
  if (c < 0x80 && !asciiLetterOrDigit && c > U' ') out += U'\\';
  out += c;
}

Text Literal(View chars) {
  Text out;
  for (char32_t c : chars) AppendLiteral(c, out);
  return out;
}

struct Speller {
  View run;
  std::vector<std::optional<Text>> memo;
  bool folds = false;
  bool tooLong = false;  // then nothing of it is used

  // The spelling from place i to the end of the run. Once the spelling grows too long nothing more
  // is built: the alternatives repeat what follows them, so each fold place could double it.
  const Text& From(size_t i) {
    if (memo[i]) return *memo[i];
    memo[i] = Text();
    if (tooLong || i >= run.size()) return *memo[i];
    std::vector<Text> options;
    // One option: its own start, then the spelling of what follows from place next.
    auto option = [&](const Text& head, size_t next) {
      const Text& tail = From(next);
      if (tooLong || head.size() + tail.size() > kMaxSpelling) {
        tooLong = true;
        return;
      }
      options.push_back(head + tail);
    };
    option(Literal(run.substr(i, 1)), i + 1);
    // A character of the pattern that folds to several: those several in the name.
    if (const char32_t* to = unicode::FullFoldOf(run[i])) {
      Text several;
      for (int k = 0; k < 3 && to[k] != 0; ++k) several += to[k];
      option(Literal(several), i + 1);
    }
    // Two or three characters of the pattern that one character of the name folds to.
    for (size_t k = 2; k <= 3 && i + k <= run.size(); ++k) {
      Text folded;
      for (size_t j = i; j < i + k; ++j) folded += unicode::SimpleFold(run[j]);
      const auto found = SourcesByFold().find(folded);
      if (found != SourcesByFold().end()) option(U"[" + Literal(found->second) + U"]", i + k);
    }
    if (tooLong) return *memo[i];
    Text result;
    if (options.size() == 1) {
      result = std::move(options[0]);
    } else {
      folds = true;
      result = U"(?:";
      for (size_t k = 0; k < options.size(); ++k) result += (k ? U"|" : U"") + options[k];
      result += U")";
      if (result.size() > kMaxSpelling) tooLong = true;
    }
    memo[i] = std::move(result);
    return *memo[i];
  }
};

}  // namespace

std::u32string SpellFoldedRun(std::u32string_view run) {
  if (run.size() < 1 || run.size() > kMaxRun) return {};
  Speller speller{run, std::vector<std::optional<Text>>(run.size() + 1)};
  Text spelled = speller.From(0);
  if (!speller.folds || speller.tooLong) return {};
  return spelled;
}

}  // namespace korval::regex
