// Spelling out a look-behind body: atoms, their counts, the alternatives of groups.
#include "regex/look_behind.h"

#include <algorithm>

#include "regex/pattern_scan.h"

namespace korval::regex {
namespace {

using Text = std::u32string;
using View = std::u32string_view;
constexpr size_t npos = View::npos;
constexpr size_t kMaxForms = 256;
constexpr size_t kMaxFormChars = 16384;

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

// One past the group opening at k (its ")"), or the end.
size_t GroupEndOrEnd(View b, size_t k) {
  const size_t end = GroupEnd(b, k);
  return end == npos ? b.size() : end;
}

// One past the atom at k: an escape, a bracket, a group or one character.
size_t AtomEnd(View b, size_t k) {
  const char32_t c = b[k];
  if (c == U'\\') {
    if (k + 1 >= b.size()) return b.size();
    if (k + 2 < b.size() && b[k + 2] == U'{' && View(U"xpPNokg").find(b[k + 1]) != npos) {
      const size_t close = b.find(U'}', k + 2);
      return close == npos ? b.size() : close + 1;
    }
    return k + 2;
  }
  if (c == U'[') {
    size_t j = k + 1;
    if (j < b.size() && b[j] == U'^') ++j;
    if (j < b.size() && b[j] == U']') ++j;
    while (j < b.size()) {
      if (b[j] == U'\\') {
        j += 2;
      } else if (b[j] == U'[' && j + 1 < b.size() && b[j + 1] == U':') {
        const size_t close = b.find(U":]", j + 2);
        j = close == npos ? b.size() : close + 2;
      } else if (b[j] == U']') {
        return j + 1;
      } else {
        ++j;
      }
    }
    return b.size();
  }
  if (c == U'(') return GroupEndOrEnd(b, k);
  return k + 1;
}

// The count after an atom, from k: least and most (-1: no bound); returns where it ends.
size_t Count(View b, size_t k, int& least, int& most) {
  least = most = 1;
  if (k >= b.size()) return k;
  size_t end = k;
  if (b[k] == U'?') {
    least = 0;
    end = k + 1;
  } else if (b[k] == U'*' || b[k] == U'+') {
    least = b[k] == U'+' ? 1 : 0;
    most = -1;
    end = k + 1;
  } else if (b[k] == U'{') {
    const size_t close = b.find(U'}', k);
    if (close == npos) return k;
    Text low, high;
    bool comma = false;
    for (size_t j = k + 1; j < close; ++j) {
      if (b[j] == U' ') continue;
      if (b[j] == U',' && !comma) {
        comma = true;
      } else if (IsDigit(b[j]) && (comma ? high : low).size() < 4) {
        (comma ? high : low) += b[j];
      } else {
        return k;
      }
    }
    if (low.empty() && high.empty()) return k;
    const auto number = [](const Text& digits) {
      int n = 0;
      for (char32_t d : digits) n = n * 10 + static_cast<int>(d - U'0');
      return n;
    };
    least = low.empty() ? 0 : number(low);
    most = !comma ? least : high.empty() ? -1 : number(high);
    end = close + 1;
  } else {
    return k;
  }
  if (end < b.size() && (b[end] == U'?' || b[end] == U'+')) ++end;
  return end;
}

std::vector<Text> Alternatives(View b) {
  std::vector<Text> parts(1);
  for (size_t k = 0; k < b.size();) {
    if (b[k] == U'|') {
      parts.emplace_back();
      ++k;
      continue;
    }
    const size_t end = AtomEnd(b, k);
    parts.back().append(b.substr(k, end - k));
    k = end;
  }
  return parts;
}

// Where a capturing group opens at k: the length of its opening ("(", "(?<name>", "(?'name'",
// "(?P<name>"), 0 when the "(" at k captures nothing.
size_t CaptureOpening(View b, size_t k) {
  if (b[k] != U'(') return 0;
  if (k + 1 >= b.size() || b[k + 1] != U'?') return 1;
  size_t name = npos;
  if (k + 3 < b.size() && b[k + 2] == U'<' && b[k + 3] != U'=' && b[k + 3] != U'!') name = k + 3;
  if (k + 2 < b.size() && b[k + 2] == U'\'') name = k + 3;
  if (k + 3 < b.size() && b[k + 2] == U'P' && b[k + 3] == U'<') name = k + 4;
  if (name == npos) return 0;
  const size_t close = b.find_first_of(U">'", name);
  return close == npos ? 0 : close + 1 - k;
}

// Calls each(k, opening length) for every capturing group of b, escapes and brackets skipped.
template <typename Each>
void ForEachCapture(View b, Each each) {
  for (size_t k = 0; k < b.size();) {
    if (b[k] == U'\\' || b[k] == U'[') {
      k = AtomEnd(b, k);
      continue;
    }
    const size_t opening = CaptureOpening(b, k);
    if (opening > 0) each(k, opening);
    k += opening > 0 ? opening : 1;
  }
}

int CaptureCount(View b) {
  int count = 0;
  ForEachCapture(b, [&](size_t, size_t) { ++count; });
  return count;
}

// b with every capturing group made a plain group.
Text WithoutCaptures(View b) {
  Text out;
  size_t copied = 0;
  ForEachCapture(b, [&](size_t k, size_t opening) {
    out.append(b.substr(copied, k - copied));
    out += U"(?:";
    copied = k + opening;
  });
  out.append(b.substr(copied));
  return out;
}

// Empty groups that stand for groups a form leaves out, so that every form of a look-behind holds
// every group in the same order and the forms, joined with "(?|", keep the pattern's numbers.
Text Placeholders(int count) {
  Text out;
  for (int i = 0; i < count; ++i) out += U"()";
  return out;
}

// How many characters a fixed form matches (zero-width assertions count nothing).
size_t FormLength(View form) {
  size_t length = 0;
  for (size_t k = 0; k < form.size();) {
    const size_t end = AtomEnd(form, k);
    const View atom = form.substr(k, end - k);
    k = end;
    if (atom == U"^" || atom == U"$") continue;
    if (atom.size() == 2 && atom[0] == U'\\' && View(U"bBAzZGK").find(atom[1]) != npos) continue;
    if (atom[0] == U'(') {
      if (atom.size() > 2 && atom[1] == U'?' && (atom[2] == U'=' || atom[2] == U'!' || atom[2] == U'<')) {
        if (atom.size() > 3 && atom[2] == U'<' && atom[3] != U'=' && atom[3] != U'!') {
          const size_t open = atom.find(U'>');
          if (open != npos) length += FormLength(atom.substr(open + 1, atom.size() - open - 2));
        }
        continue;
      }
      size_t open = 1;
      if (atom.size() > 2 && atom[1] == U'?') {
        const size_t colon = atom.find_first_of(U":>'", 2);
        open = colon == npos ? atom.size() - 1 : colon + 1;
      }
      length += FormLength(atom.substr(open, atom.size() - 1 - open));
      continue;
    }
    ++length;
  }
  return length;
}

// The forms of body, each holding every capturing group of body once and in order: a group an
// alternative or a count of none leaves out is an empty group; a repeated group captures in its
// last copy only, as Perl keeps the last repetition.
bool Forms(View body, int depth, std::vector<Text>& result) {
  if (depth > 8) return false;
  const std::vector<Text> alternatives = Alternatives(body);
  int groupsBefore = 0, groupsAll = 0;
  for (const Text& alternative : alternatives) groupsAll += CaptureCount(alternative);
  for (const Text& alternative : alternatives) {
    const int groupsHere = CaptureCount(alternative);
    std::vector<Text> partial(1, Placeholders(groupsBefore));
    for (size_t k = 0; k < alternative.size();) {
      const size_t end = AtomEnd(alternative, k);
      const View atom = View(alternative).substr(k, end - k);
      int least = 1, most = 1;
      k = Count(alternative, end, least, most);
      if (most < 0 || most < least) return false;
      // The forms of one copy of the atom: a plain group with alternatives gives one per form.
      std::vector<Text> one;
      size_t open = 0;
      if (atom.size() > 1 && atom[0] == U'(' && atom.back() == U')') {
        if (atom[1] != U'?') {
          open = 1;
        } else if (atom.size() > 2 && atom[2] == U':') {
          open = 3;
        } else if (atom.size() > 3 && ((atom[2] == U'<' && atom[3] != U'=' && atom[3] != U'!') || atom[2] == U'\'' ||
                                       atom[2] == U'P')) {
          const size_t close = atom.find_first_of(U">'", 3);
          open = close == npos ? 0 : close + 1;
        }
      }
      if (open > 0) {
        std::vector<Text> inner;
        if (!Forms(atom.substr(open, atom.size() - 1 - open), depth + 1, inner)) return false;
        for (const Text& form : inner) one.push_back(Text(atom.substr(0, open)) + form + U")");
      } else {
        one.emplace_back(atom);
      }
      const int groups = CaptureCount(atom);
      std::vector<Text> plainCopies;
      for (const Text& o : one) plainCopies.push_back(groups > 0 ? WithoutCaptures(o) : o);
      std::vector<Text> repeats;
      for (int r = least; r <= most; ++r) {
        std::vector<Text> sequences(1, r == 0 ? Placeholders(groups) : Text());
        for (int n = 0; n < r; ++n) {
          std::vector<Text> longer;
          for (const Text& s : sequences) {
            for (const Text& o : n + 1 == r ? one : plainCopies) longer.push_back(s + o);
          }
          sequences.swap(longer);
          if (sequences.size() > kMaxForms) return false;
        }
        repeats.insert(repeats.end(), sequences.begin(), sequences.end());
        if (repeats.size() > kMaxForms) return false;
      }
      std::vector<Text> combined;
      for (const Text& p : partial) {
        for (const Text& r : repeats) {
          if (p.size() + r.size() > kMaxFormChars) return false;
          combined.push_back(p + r);
        }
      }
      if (combined.size() > kMaxForms) return false;
      partial.swap(combined);
    }
    groupsBefore += groupsHere;
    for (Text& form : partial) form += Placeholders(groupsAll - groupsBefore);
    result.insert(result.end(), partial.begin(), partial.end());
    if (result.size() > kMaxForms) return false;
  }
  return true;
}

}  // namespace

std::vector<Text> FixedLengthForms(View body) {
  // \R is a line break of one or two characters: spelled as its two lengths.
  Text spelled;
  bool inBracket = false;
  for (size_t i = 0; i < body.size(); ++i) {
    const char32_t c = body[i];
    if (c == U'\\' && i + 1 < body.size()) {
      if (body[i + 1] == U'R' && !inBracket) {
        spelled += U"(?:\\r\\n|[\\n\\x0B\\f\\r\\x{85}\\x{2028}\\x{2029}])";
      } else {
        spelled.append(body.substr(i, 2));
      }
      ++i;
      continue;
    }
    if (c == U'[') inBracket = true;
    if (c == U']') inBracket = false;
    spelled += c;
  }
  std::vector<Text> forms;
  if (!Forms(spelled, 0, forms)) return {};
  std::stable_sort(forms.begin(), forms.end(),
                   [](const Text& a, const Text& b) { return FormLength(a) > FormLength(b); });
  return forms;
}

}  // namespace korval::regex
