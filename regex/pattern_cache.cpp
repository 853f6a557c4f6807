// The least-recently-used cache of compiled commands, and the compilation itself.
#include "regex/pattern_cache.h"

#include <list>
#include <mutex>
#include <unordered_map>

#include "regex/code_point_text.h"
#include "regex/pattern_scan.h"
#include "regex/perl_syntax.h"

namespace korval::regex {
namespace {

// What the message says after "正規表現の誤り: ", by the matcher's error code.
std::wstring RegexErrorText(boost::regex_constants::error_type code) {
  namespace rc = boost::regex_constants;
  switch (code) {
    case rc::error_collate: return L"照合要素の名前が正しくありません";
    case rc::error_ctype: return L"文字クラスの名前が正しくありません";
    case rc::error_escape: return L"\\ の使い方が正しくありません";
    case rc::error_backref: return L"後方参照の番号が正しくありません";
    case rc::error_brack: return L"[ ] の対応が取れていません";
    case rc::error_paren: return L"( ) の対応が取れていません";
    case rc::error_right_paren: return L"( ) の対応が取れていません";
    case rc::error_brace: return L"{ } の対応が取れていません";
    case rc::error_badbrace: return L"{ } の中の回数が正しくありません";
    case rc::error_range: return L"文字の範囲が正しくありません";
    case rc::error_space: return L"パターンが大きすぎます";
    case rc::error_badrepeat: return L"繰り返しの前に文字がありません";
    case rc::error_complexity: return L"パターンが複雑すぎます";
    case rc::error_stack: return L"メモリが足りません";
    case rc::error_perl_extension: return L"(? の後ろの書き方が正しくありません";
    case rc::error_empty: return L"パターンが空です";
    case rc::error_end: return L"パターンが途中で終わっています";
    default: return L"パターンが正しくありません";
  }
}

std::shared_ptr<const CompiledCommand> Compile(std::wstring_view command) {
  auto compiled = std::make_shared<CompiledCommand>();
  SubstCommand parsed;
  if (!ParseCommand(command, parsed, compiled->error)) return compiled;
  compiled->replacement = std::move(parsed.replacement);
  compiled->global = parsed.global;
  if (parsed.pattern.size() > kMaxPatternChars) {
    compiled->error = L"正規表現の誤り: パターンが長すぎます";
    return compiled;
  }
  if (GroupNesting(parsed.pattern) > kMaxGroupNesting) {
    compiled->error = L"正規表現の誤り: ( ) の入れ子が深すぎます";
    return compiled;
  }
  std::u32string pattern;
  const PatternModes modes{parsed.multiLine, parsed.extendedBrackets, parsed.ignoreCase, parsed.extended, parsed.ascii};
  if (!TranslatePerlSyntax(ToCodePoints(parsed.pattern), modes, pattern, compiled->error)) return compiled;
  // Perl's meaning: a name is one line, so ^ and $ stand at its ends and "." does not cross a line
  // break, unless "m" or "s" (or (?m) and (?s) inside the pattern) say otherwise.
  namespace rc = boost::regex_constants;
  const rc::syntax_option_type flags = rc::perl | (parsed.ignoreCase ? rc::icase : 0) |
                                       (parsed.multiLine ? 0 : rc::no_mod_m) |
                                       (parsed.singleLine ? rc::mod_s : rc::no_mod_s) |
                                       (parsed.extended ? rc::mod_x : 0);
  try {
    compiled->pattern.assign(pattern.data(), pattern.data() + pattern.size(), flags);
    compiled->resets = GroupsResetPerRepetition(pattern, parsed.extended);
  } catch (const boost::regex_error& error) {
    compiled->error = L"正規表現の誤り: " + RegexErrorText(error.code());
  }
  return compiled;
}

struct CacheEntry {
  std::wstring command;
  std::shared_ptr<const CompiledCommand> compiled;
};

// Most recently used first; the index points into the list, whose nodes never move.
struct Cache {
  std::mutex lock;
  std::list<CacheEntry> entries;
  std::unordered_map<std::wstring_view, std::list<CacheEntry>::iterator> index;
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

}  // namespace

std::shared_ptr<const CompiledCommand> FindOrCompile(
    std::wstring_view command, std::optional<std::chrono::steady_clock::time_point>* compileStart) {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  const auto found = cache.index.find(command);
  if (found != cache.index.end()) {
    cache.entries.splice(cache.entries.begin(), cache.entries, found->second);
    return found->second->compiled;
  }
  if (compileStart != nullptr) *compileStart = std::chrono::steady_clock::now();
  std::shared_ptr<const CompiledCommand> compiled = Compile(command);
  if (cache.entries.size() >= kCacheEntries) {
    cache.index.erase(cache.entries.back().command);
    cache.entries.pop_back();
  }
  cache.entries.push_front({std::wstring(command), compiled});
  try {
    cache.index.emplace(cache.entries.front().command, cache.entries.begin());
  } catch (...) {
    cache.entries.pop_front();
    throw;
  }
  return compiled;
}

size_t CachedCommandCount() {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  return cache.entries.size();
}

int GroupNesting(std::wstring_view pattern) {
  int depth = 0;
  int deepest = 0;
  ScanPattern(pattern, 0, [&](size_t i) {
    if (pattern[i] == L'(') {
      if (++depth > deepest) deepest = depth;
    } else if (pattern[i] == L')' && depth > 0) {
      --depth;
    }
    return true;
  });
  return deepest;
}

}  // namespace korval::regex
