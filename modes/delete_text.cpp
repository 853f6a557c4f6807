// The twelve deletion rules. Rules 0 to 7 and 11 work on the whole name, rules 8 to 10 on the stem.
#include "modes/delete_text.h"

#include <algorithm>

#include "platform/ansi_escape.h"
#include "modes/string_helpers.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

enum DeleteRule : int {
  kShortcutMarks = 0,
  kCopyMarks = 1,
  kSquareDigits = 2,
  kRoundDigits = 3,
  kSquareAny = 4,
  kRoundAny = 5,
  kCornerAny = 6,
  kLenticularAny = 7,
  kFromFront = 8,
  kFromBack = 9,
  kAfterCount = 10,
  kOutsideAnsi = 11,
};

struct BracketPairs {
  wchar_t halfOpen, halfClose, fullOpen, fullClose;  // a zero half pair: the rule has only one pair
  bool digitsOnly;
};

BracketPairs BracketsOf(int rule) {
  switch (rule) {
    case kSquareDigits:
      return {L'[', L']', L'［', L'］', true};
    case kRoundDigits:
      return {L'(', L')', L'（', L'）', true};
    case kSquareAny:
      return {L'[', L']', L'［', L'］', false};
    case kRoundAny:
      return {L'(', L')', L'（', L'）', false};
    case kCornerAny:
      return {L'｢', L'｣', L'「', L'」', false};
    default:
      return {0, 0, L'【', L'】', false};
  }
}

// The earlier of the two characters from pos on (a zero character is never found).
size_t FindEither(const std::wstring& text, wchar_t a, wchar_t b, size_t pos) {
  const size_t atA = a ? text.find(a, pos) : std::wstring::npos;
  const size_t atB = text.find(b, pos);
  return std::min(atA, atB);
}

void DeleteFirst(std::wstring& text, std::wstring_view mark) {
  const size_t at = text.find(mark);
  if (at != std::wstring::npos) text.erase(at, mark.size());
}

void DeleteShortcutMarks(std::wstring& text) {
  DeleteFirst(text, L" へのショートカット");
  DeleteFirst(text, L" - ショートカット");
}

void DeleteCopyMarks(std::wstring& text) {
  // "コピー ～ abc.txt" and "コピー (2) ～ abc.txt": the " ～ " must begin closely behind "コピー".
  constexpr std::wstring_view kCopy = L"コピー";
  constexpr std::wstring_view kTilde = L" ～ ";
  const size_t copy = text.find(kCopy);
  const size_t tilde = text.find(kTilde);
  if (copy != std::wstring::npos && tilde != std::wstring::npos && tilde > copy) {
    const size_t distance = tilde - copy;
    const bool tenAllowed = text.size() > 9 && text[7] == L'(' && text[9] == L')';
    if (distance < 10 || (distance == 10 && tenAllowed)) text.erase(copy, tilde + kTilde.size() - copy);
  }

  // "abc - コピー.txt" and "abc - コピー (2).txt".
  constexpr std::wstring_view kDashCopy = L" - コピー";
  const size_t dash = text.find(kDashCopy);
  if (dash == std::wstring::npos) return;
  const size_t after = dash + kDashCopy.size();
  if (after < text.size() && text[after] == L'.') {
    text.erase(dash, kDashCopy.size());
  } else if (after + 4 <= text.size() && text[after] == L' ' && text[after + 1] == L'(' && text[after + 3] == L')') {
    text.erase(dash, kDashCopy.size() + 4);
  }
}

bool AllDigits(const std::wstring& text, size_t begin, size_t end) {
  for (size_t i = begin; i < end; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
  }
  return true;
}

void DeleteBracketed(std::wstring& text, int rule) {
  const BracketPairs pairs = BracketsOf(rule);
  size_t pos = 0;
  for (;;) {
    const size_t open = FindEither(text, pairs.halfOpen, pairs.fullOpen, pos);
    if (open == std::wstring::npos) break;
    const size_t close = FindEither(text, pairs.halfClose, pairs.fullClose, open + 1);
    if (close == std::wstring::npos) break;
    if (!pairs.digitsOnly || AllDigits(text, open + 1, close)) {
      text.erase(open, close + 1 - open);
      pos = open;
    } else {
      pos = open + 1;
    }
  }
  text.erase(0, std::min(text.find_first_not_of(L' '), text.size()));
}

void DeleteByCount(std::wstring& stem, int rule, size_t first, size_t second) {
  if (first >= stem.size()) return;
  switch (rule) {
    case kFromFront:
      stem.erase(0, first);
      break;
    case kFromBack:
      stem.erase(stem.size() - first);
      break;
    default:
      if (first > 0 && second > 0) stem.erase(first, second);
      break;
  }
}

void DeleteOutsideAnsi(std::wstring& text) {
  text = AnsiRoundTrip(text);
  text.erase(std::remove(text.begin(), text.end(), L'?'), text.end());
}

}  // namespace

void DeleteTextTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target) {
  target = source;
  Truncate(target, kMaxBuiltPath);
  if (!ctx.params) return;
  const ModeParams& params = *ctx.params;
  const PathParts parts = SplitPathForMode(source, ctx.fileDir);

  std::wstring name;
  const int rule = params.deltype;
  if (rule >= kFromFront && rule <= kAfterCount) {
    std::wstring stem = parts.stem;
    DeleteByCount(stem, rule, static_cast<size_t>(Clamp(0, params.dellen, 255)),
                  static_cast<size_t>(Clamp(0, params.dellen2, 255)));
    name = stem + parts.extension;
  } else {
    name = parts.stem + parts.extension;
    switch (rule) {
      case kShortcutMarks:
        DeleteShortcutMarks(name);
        break;
      case kCopyMarks:
        DeleteCopyMarks(name);
        break;
      case kOutsideAnsi:
        DeleteOutsideAnsi(name);
        break;
      default:
        if (rule >= kSquareDigits && rule <= kLenticularAny) DeleteBracketed(name, rule);
        break;
    }
  }

  const std::wstring directory = parts.Directory();
  Truncate(name, directory.size() < kMaxBuiltPath ? kMaxBuiltPath - directory.size() : 0);
  target = directory + name;
  Truncate(target, kMaxBuiltPath);
}

}  // namespace korval
