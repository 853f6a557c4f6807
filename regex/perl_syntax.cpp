// The rewriting of Perl's pattern syntax, one construct at a time, left to right.
#include "regex/perl_syntax.h"

#include <string>
#include <algorithm>
#include <vector>

#include "regex/caseless_ranges.h"
#include "regex/full_folds.h"
#include "regex/look_behind.h"
#include "regex/pattern_scan.h"
#include "regex/unicode_data.h"

namespace korval::regex {
namespace {

// \X, one extended grapheme cluster as Unicode's text segmentation spells it out (CR LF, a control,
// or prepended marks, a core of a Hangul syllable, a flag of two regional indicators, an emoji ZWJ
// sequence or any other character, and the marks that extend it), taken whole and with case kept.
// The first alternative is the common case, a character that stands alone, found in fewer lookups.
constexpr std::u32string_view kExtendedGraphemeCluster =
    UR"re((?-i:(?>[[:gcb=xx:]](?![[:gcb=ex:][:gcb=sm:]\x{200D}])|\r\n|[[:gcb=cn:]\r\n]|\p{gcb=pp}*)re"
    UR"re((?:\p{gcb=l}*(?:\p{gcb=v}+|\p{gcb=lv}\p{gcb=v}*|\p{gcb=lvt})\p{gcb=t}*|\p{gcb=l}+|\p{gcb=t}+)re"
    UR"re(|\p{gcb=ri}\p{gcb=ri}|\p{extpict}(?:\p{gcb=ex}*\x{200D}\p{extpict})*|[^[:gcb=cn:]\r\n]))re"
    UR"re([[:gcb=ex:][:gcb=sm:]\x{200D}]*)))re";

using Text = std::u32string;
using View = std::u32string_view;
constexpr size_t npos = View::npos;

bool IsDecimal(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsOctal(char32_t c) { return c >= U'0' && c <= U'7'; }
bool IsAsciiLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }
int HexValue(char32_t c) {
  if (IsDecimal(c)) return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a') + 10;
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A') + 10;
  return -1;
}


// Spaces of Unicode that are no pattern blanks: with "x" Perl keeps them as characters (U+3000, the
// full-width space, matches itself), while the matcher would skip every space. Written as escapes,
// they are characters in every mode.
bool IsSpaceButNoPatternBlank(char32_t c) {
  return c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000;
}

// Under "i" Perl takes a class of one case for every cased character: \p{Lu}, \p{Ll} and \p{Lt} are
// the cased letters, \p{Upper}, \p{Lower}, [[:upper:]] and [[:lower:]] everything cased.
Text CaselessClassName(const Text& name) {
  std::string loose;
  for (char32_t c : name) {
    if (c >= 0x80) return name;
    if (c == U' ' || c == U'-' || c == U'_') continue;
    loose += static_cast<char>(c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c);
  }
  for (const char* prefix : {"gc=", "generalcategory=", "category=", "is"}) {
    const std::string_view p(prefix);
    if (loose.size() > p.size() && loose.compare(0, p.size(), p) == 0) {
      loose.erase(0, p.size());
      break;
    }
  }
  for (const char* one : {"lu", "ll", "lt", "uppercaseletter", "lowercaseletter", "titlecaseletter", "title"}) {
    if (loose == one) return U"LC";
  }
  for (const char* one : {"upper", "uppercase", "lower", "lowercase"}) {
    if (loose == one) return U"cased";
  }
  return name;
}

// The ASCII class Perl's "a" makes of \d, \s or \w (either case).
Text AsciiClassName(char32_t escape) {
  switch (escape | 0x20) {
    case U'd': return U"posixdigit";
    case U's': return U"posixspace";
    default: return U"posixword";
  }
}

// Under "a", a POSIX class name ("alpha", "^digit") as its ASCII class; other names as they are.
Text AsciiPosixName(const Text& name) {
  const bool negated = !name.empty() && name[0] == U'^';
  const Text bare = name.substr(negated ? 1 : 0);
  static const Text kPosix[] = {U"alnum", U"alpha", U"blank", U"cntrl", U"digit", U"graph", U"lower",
                                U"print", U"punct", U"space", U"upper", U"word", U"xdigit"};
  for (const Text& posix : kPosix) {
    if (bare == posix) return (negated ? U"^posix" : U"posix") + bare;
  }
  if (bare == U"cased") return negated ? U"^posixalpha" : U"posixalpha";  // lower or upper under "i"
  return name;
}

// Pattern blanks that are no spaces of Unicode: with "x" Perl skips the left-to-right and
// right-to-left marks, which the matcher would keep.
bool IsPatternBlankTheMatcherKeeps(char32_t c) { return c == 0x200E || c == 0x200F; }

// A character as a literal of the pattern: ASCII punctuation escaped.
void AppendLiteral(char32_t c, Text& out) {
  if (c < 0x80 && !IsAsciiLetter(c) && !IsDecimal(c) && c > U' ') out += U'\\';
  out += c;
}

// How many groups capture: "(" not followed by "?" or "*", and named groups.
int CountGroups(View p) {
  int groups = 0;
  ScanPattern(p, 0, [&](size_t i) {
    if (p[i] != U'(') return true;
    const View rest = p.substr(i + 1);
    if (rest.empty() || (rest[0] != U'?' && rest[0] != U'*')) {
      ++groups;
    } else if (rest.size() > 2 && rest[0] == U'?' &&
               ((rest[1] == U'<' && rest[2] != U'=' && rest[2] != U'!') || rest[1] == U'\'' ||
                (rest[1] == U'P' && rest[2] == U'<'))) {
      ++groups;
    }
    return true;
  });
  return groups;
}

class Translator {
 public:
  Translator(View pattern, const PatternModes& modes, std::wstring& message)
      : source_(pattern), p_(source_), message_(message), groups_(CountGroups(pattern)), modes_(modes) {}

  bool Run(Text& out) {
    while (i_ < p_.size()) {
      const char32_t c = p_[i_];
      bool ok = true;
      if (c == U'\\') {
        ok = FoldedRun(out) || Escape(out);
      } else if (c == U'[') {
        ok = Bracket(out);
      } else if (c == U'(') {
        ok = Group(out);
      } else if (c == U'{') {
        Brace(out);
      } else if (c == U')') {
        CloseGroup();
        out += c;
        ++i_;
      } else if (c == U'^' && modes_.multiLine) {
        // With "m", Perl's ^ is the start or the place after a line break that does not end the text.
        out += U"(?:\\A|(?<=\\n)(?!\\z))";
        ++i_;
      } else if (c == U'$' && !modes_.multiLine) {
        // Without "m", Perl's $ is the end or the place before a final line break; the matcher's
        // would be the very end only.
        out += U"(?=\\n?\\z)";
        ++i_;
      } else if (FoldedRun(out)) {
        // done: a run of literal characters with folds of one character to several
      } else if (modes_.ascii == 2 && modes_.caseless && (c == U's' || c == U'S' || c == U'k' || c == U'K')) {
        // "aa": ASCII letters never match others without case (ſ and the Kelvin sign fold to s and k).
        out += (c | 0x20) == U's' ? U"(?-i:[sS])" : U"(?-i:[kK])";
        ++i_;
      } else {
        if (IsSpaceButNoPatternBlank(c)) {
          AppendHexEscape(c, out);
        } else if (!(modes_.extended && IsPatternBlankTheMatcherKeeps(c))) {
          out += c;
        }
        ++i_;
      }
      if (!ok) return false;
    }
    return true;
  }

 private:
  // Under "i" (not "aa", not "x"), the run of literal characters from i_ spelled with its folds of
  // one character to several; false, with nothing done, when it has none.
  bool FoldedRun(Text& out) {
    if (!modes_.caseless || modes_.extended || modes_.ascii == 2 || inLookBehind_) return false;
    // The run: plain characters and characters written by their code (\xDF, \x{FB00}).
    Text run;
    std::vector<size_t> starts;  // where each character of the run is written
    size_t k = i_;
    while (k < p_.size()) {
      const char32_t c = p_[k];
      if (c == U'\\') {
        size_t next = k + 1;
        uint32_t value = 0;
        if (View(U"xo").find(At(next)) == npos || !CharacterCode(next, value, false) || value > 0x10FFFF) break;
        starts.push_back(k);
        run += static_cast<char32_t>(value);
        k = next;
        continue;
      }
      if (View(U"[](){}|^$.*+?#").find(c) != npos || IsSpaceButNoPatternBlank(c)) break;
      starts.push_back(k);
      run += c;
      ++k;
    }
    // A quantified last character stays out of the run: alone, it is spelled by itself.
    if (k < p_.size() && View(U"*+?{").find(p_[k]) != npos && !run.empty()) {
      if (run.size() == 1) {
        if (!unicode::FullFoldOf(run[0])) return false;
        out += U"(?:" + SpellFoldedRun(run) + U")";
        i_ = k;
        return true;
      }
      k = starts.back();
      run.pop_back();
    }
    if (run.empty()) return false;
    const Text spelled = SpellFoldedRun(run);
    if (spelled.empty()) return false;
    out += spelled;
    i_ = k;
    return true;
  }

  // Groups keep the "m" setting of their start; a group's (?m) ends with it.
  void OpenGroup() {
    outerModes_.push_back(modes_);
    outerLookBehind_.push_back(inLookBehind_);
  }
  void CloseGroup() {
    if (outerModes_.empty()) return;
    modes_ = outerModes_.back();
    outerModes_.pop_back();
    inLookBehind_ = outerLookBehind_.back();
    outerLookBehind_.pop_back();
  }

  bool Refuse(const wchar_t* construct) {
    message_ = std::wstring(L"正規表現の誤り: ") + construct + L" は使えません";
    return false;
  }

  char32_t At(size_t i) const { return i < p_.size() ? p_[i] : U'\0'; }

  // "{n}", "{n,}", "{n,m}" or "{,m}", blanks allowed inside, starting at i: its end, or npos.
  size_t CountEnd(size_t i, Text& normalized) const {
    if (At(i) != U'{') return npos;
    Text low, high;
    bool comma = false;
    for (++i; i < p_.size(); ++i) {
      const char32_t c = p_[i];
      if (c == U'}') break;
      if (c == U' ' || c == U'\t') continue;
      if (c == U',' && !comma) {
        comma = true;
      } else if (IsDecimal(c)) {
        (comma ? high : low) += c;
      } else {
        return npos;
      }
    }
    if (i >= p_.size() || (low.empty() && high.empty())) return npos;
    normalized = U"{" + (low.empty() ? Text(U"0") : low) + (comma ? U"," + high : Text()) + U"}";
    // A count whose least is above its most can never be met (the matcher would refuse it).
    if (comma && !low.empty() && !high.empty() && (low.size() > high.size() || (low.size() == high.size() && low > high))) {
      normalized = U"{0}(?!)";
    }
    return i + 1;
  }

  // A "{" that starts no count is an ordinary character, as in Perl.
  void Brace(Text& out) {
    Text count;
    const size_t end = CountEnd(i_, count);
    if (end == npos) {
      out += U"\\{";
      ++i_;
      return;
    }
    out += count;
    i_ = end;
  }

  // "{...}" from i: its content, i moved behind it; false when it is not closed.
  bool ReadBraced(size_t& i, Text& content) const {
    if (At(i) != U'{') return false;
    const size_t close = p_.find(U'}', i);
    if (close == npos) return false;
    content.assign(p_.substr(i + 1, close - i - 1));
    i = close + 1;
    return true;
  }

  // \x.., \x{...}, \o{...}, \0.. and octal digits, starting at the letter or digit after "\";
  // false when it is none of them.
  bool CharacterCode(size_t& i, uint32_t& value, bool inBracket) const {
    const char32_t e = At(i);
    value = 0;
    if (e == U'x') {
      ++i;
      Text digits;
      if (At(i) == U'{') {
        if (!ReadBraced(i, digits)) return false;
      } else {
        while (digits.size() < 2 && HexValue(At(i)) >= 0) digits += p_[i++];
      }
      for (char32_t d : digits) {
        if (d == U' ' || d == U'_') continue;
        if (HexValue(d) < 0) break;
        value = value * 16 + static_cast<uint32_t>(HexValue(d));
        if (value > 0x10FFFF) value = 0x110000;
      }
      return true;
    }
    if (e == U'o' && At(i + 1) == U'{') {
      ++i;
      Text digits;
      if (!ReadBraced(i, digits)) return false;
      for (char32_t d : digits) {
        if (d == U'_') continue;
        if (!IsOctal(d)) break;
        value = value * 8 + static_cast<uint32_t>(d - U'0');
        if (value > 0x10FFFF) value = 0x110000;
      }
      return true;
    }
    if (e == U'0' || (inBracket && IsOctal(e))) {
      for (int n = 0; n < 3 && IsOctal(At(i)); ++n) value = value * 8 + static_cast<uint32_t>(p_[i++] - U'0');
      return true;
    }
    return false;
  }

  static void Trim(Text& text) {
    while (!text.empty() && (text.front() == U' ' || text.front() == U'\t')) text.erase(0, 1);
    while (!text.empty() && (text.back() == U' ' || text.back() == U'\t')) text.pop_back();
  }

  // \N{U+hex} from i (at the "{"), the only \N{...} there is without a table of character names.
  bool NamedCharacter(size_t& i, Text& out) {
    Text name;
    if (!ReadBraced(i, name)) return Refuse(L"\\N{文字の名前}");
    Trim(name);
    if (name.size() < 3 || name[0] != U'U' || name[1] != U'+') return Refuse(L"\\N{文字の名前}");
    // "U+41.42" is a sequence of characters.
    uint32_t value = 0;
    for (size_t k = 2; k <= name.size(); ++k) {
      if (k == name.size() || name[k] == U'.') {
        if (name[k - 1] == U'.' || name[k - 1] == U'+') break;
        AppendHexEscape(value, out);
        value = 0;
        continue;
      }
      if (name[k] == U'_') continue;
      if (HexValue(name[k]) < 0) break;
      value = value * 16 + static_cast<uint32_t>(HexValue(name[k]));
      if (value > 0x10FFFF) return Refuse(L"U+10FFFF を超える文字コード");
    }
    if (!name.empty() && (name.back() == U'.' || name.find_first_not_of(U"0123456789abcdefABCDEF._", 2) != npos)) {
      message_ = L"正規表現の誤り: \\N{U+...} の16進数が正しくありません";
      return false;
    }
    return true;
  }

  // \p{...} or \pX at i (the "\"): the class name as the matcher reads it and whether it is negated.
  bool Property(Text& name, bool& negated) {
    negated = p_[i_ + 1] == U'P';
    size_t i = i_ + 2;
    if (At(i) == U'{') {
      if (!ReadBraced(i, name)) {
        message_ = L"正規表現の誤り: \\p{ } の対応が取れていません";
        return false;
      }
    } else if (i < p_.size()) {
      name.assign(1, p_[i++]);
    }
    i_ = i;
    while (!name.empty() && name.front() == U' ') name.erase(0, 1);
    if (!name.empty() && name.front() == U'^') {
      negated = !negated;
      name.erase(0, 1);
    }
    if (name == U"L_") name = U"LC";  // Perl's spelling of the cased letters
    // Perl takes "sc:Katakana" for "sc=Katakana".
    if (const size_t colon = name.find(U':'); colon != npos && name.find(U'=') == npos) name[colon] = U'=';
    // The matcher's lone "s" is \s; the category S is "symbol".
    if (name == U"S" || name == U"s") name = U"symbol";
    if (name.empty() || name.find_first_of(U":]") != npos) {
      message_ = L"正規表現の誤り: 文字クラスの名前が正しくありません";
      return false;
    }
    if (modes_.caseless) name = CaselessClassName(name);
    return true;
  }

  bool Escape(Text& out) {
    const char32_t e = At(i_ + 1);
    if (i_ + 1 >= p_.size()) {
      out += U'\\';
      ++i_;
      return true;
    }
    uint32_t value = 0;
    size_t i = i_ + 1;
    if (CharacterCode(i, value, false)) {
      if (value > 0x10FFFF) return Refuse(L"U+10FFFF を超える文字コード");
      AppendHexEscape(value, out);
      i_ = i;
      return true;
    }
    switch (e) {
      case U'N': {
        i_ += 2;
        Text count;
        if (At(i_) != U'{' || CountEnd(i_, count) != npos) {
          out += U"[^\\n]";
          return true;
        }
        return NamedCharacter(i_, out);
      }
      case U'p':
      case U'P': {
        Text name;
        bool negated = false;
        if (!Property(name, negated)) return false;
        out += (negated ? U"\\P{" : U"\\p{") + name + U"}";
        return true;
      }
      case U'k':
      case U'g':
        // \k{name}, \g{name} and \g{ n }: blanks inside the braces do not count.
        if (At(i_ + 2) == U'{') {
          size_t j = i_ + 2;
          Text name;
          if (!ReadBraced(j, name)) break;
          Trim(name);
          const bool number = !name.empty() && name.find_first_not_of(U"-0123456789") == npos;
          out += number ? U"\\g{" + name + U"}" : U"\\k<" + name + U">";
          i_ = j;
          return true;
        }
        break;
      case U'c':
        // \cX: the control character of X.
        if (i_ + 2 < p_.size() && p_[i_ + 2] < 0x80) {
          char32_t c = p_[i_ + 2];
          if (c >= U'a' && c <= U'z') c -= 0x20;
          AppendHexEscape(static_cast<uint32_t>(c) ^ 0x40, out);
          i_ += 3;
          return true;
        }
        break;
      case U'l':
      case U'u':
        if (i_ + 2 < p_.size()) {
          const char32_t c = p_[i_ + 2];
          AppendLiteral(e == U'l' ? unicode::ToLower(c) : unicode::ToUpper(c), out);
          i_ += 3;
          return true;
        }
        break;
      case U'L':
      case U'U':
      case U'F':
        return Refuse(L"\\L \\U \\F");
      case U'd': case U's': case U'w': case U'D': case U'S': case U'W':
        if (!modes_.ascii) break;
        out += (e >= U'a' ? U"\\p{" : U"\\P{") + AsciiClassName(e) + U"}";
        i_ += 2;
        return true;
      case U'b':
      case U'B':
        if (At(i_ + 2) == U'{') return Refuse(L"\\b{...}");
        if (!modes_.ascii) break;
        // Perl's word boundary of ASCII word characters.
        out += e == U'b' ? U"(?:(?<=\\p{posixword})(?!\\p{posixword})|(?<!\\p{posixword})(?=\\p{posixword}))"
                         : U"(?:(?<=\\p{posixword})(?=\\p{posixword})|(?<!\\p{posixword})(?!\\p{posixword}))";
        i_ += 2;
        return true;
      case U'X':
        out += kExtendedGraphemeCluster;
        i_ += 2;
        return true;
      case U'Z':
        // Perl's \Z: the end, or before one final line break.
        out += U"(?=\\n?\\z)";
        i_ += 2;
        return true;
      case U'E':
        // An \E that ends no \Q is nothing, as in Perl, where both act on the pattern's text first.
        i_ += 2;
        return true;
      case U'Q': {
        // Quoted to \E: copied as it is, the matcher reads it the same way.
        const size_t end = p_.find(U"\\E", i_ + 2);
        const size_t stop = end == npos ? p_.size() : end + 2;
        out.append(p_.substr(i_, stop - i_));
        i_ = stop;
        return true;
      }
      default:
        if (e >= U'1' && e <= U'9') return Digits(out);
        break;
    }
    out += U'\\';
    out += e;
    i_ += 2;
    return true;
  }

  // \1 to \9 refer to a group; longer numbers do when there are that many groups, and are an octal
  // character code otherwise.
  bool Digits(Text& out) {
    size_t end = i_ + 1;
    while (IsDecimal(At(end))) ++end;
    const View digits = p_.substr(i_ + 1, end - i_ - 1);
    long number = 0;
    for (char32_t d : digits) number = number < 100000 ? number * 10 + static_cast<long>(d - U'0') : number;
    if (digits.size() == 1 || number <= groups_ || !IsOctal(digits[0])) {
      out += U"\\g{" + Text(digits) + U"}";
      i_ = end;
      return true;
    }
    uint32_t value = 0;
    size_t i = i_ + 1;
    for (int n = 0; n < 3 && IsOctal(At(i)); ++n) value = value * 8 + static_cast<uint32_t>(p_[i++] - U'0');
    AppendHexEscape(value, out);
    i_ = i;
    return true;
  }

  bool Group(Text& out) {
    const char32_t next = At(i_ + 1);
    if (next == U'*') return Verb(out);
    if (next != U'?') {
      OpenGroup();
      out += U'(';
      ++i_;
      return true;
    }
    const char32_t kind = At(i_ + 2);
    if (kind == U'{' || (kind == U'?' && At(i_ + 3) == U'{')) return Refuse(L"(?{...})");
    if (kind == U'#') {
      const size_t close = p_.find(U')', i_);
      if (close == npos) {
        message_ = L"正規表現の誤り: (?# の後ろに ) がありません";
        return false;
      }
      out.append(p_.substr(i_, close + 1 - i_));
      i_ = close + 1;
      return true;
    }
    // An empty look-around always holds (or, negated behind, never): the matcher refuses it empty.
    if (p_.substr(i_, 4) == U"(?=)" || p_.substr(i_, 5) == U"(?<=)") {
      i_ += kind == U'=' ? 4 : 5;
      return true;
    }
    if (p_.substr(i_, 5) == U"(?<!)") {
      out += U"(?!)";
      i_ += 5;
      return true;
    }
    if (kind == U'[') return ExtendedClass(out);
    if (kind == U'<' && (At(i_ + 3) == U'=' || At(i_ + 3) == U'!')) return LookBehind(out);
    if ((kind == U'<' || kind == U'\'') && !GroupNameValid(i_ + 3, kind == U'<' ? U'>' : U'\'')) {
      message_ = L"正規表現の誤り: グループの名前が正しくありません";
      return false;
    }
    if (kind == U'P') {
      const char32_t how = At(i_ + 3);
      if (how == U'<' && !GroupNameValid(i_ + 4, U'>')) {
        message_ = L"正規表現の誤り: グループの名前が正しくありません";
        return false;
      }
      if (how == U'<') {
        OpenGroup();
        out += U"(?<";
        i_ += 4;
        return true;
      }
      if (how == U'=' || how == U'>') {
        const size_t close = p_.find(U')', i_);
        if (close == npos) return Refuse(L"(?P");
        const Text name(p_.substr(i_ + 4, close - i_ - 4));
        out += how == U'=' ? U"\\k<" + name + U">" : U"(?&" + name + U")";
        i_ = close + 1;
        return true;
      }
      return Refuse(L"(?P");
    }
    return Modifiers(out);
  }

  // A group's name starts with a letter or "_" and goes on with letters, digits and "_".
  bool GroupNameValid(size_t i, char32_t close) const {
    const size_t end = p_.find(close, i);
    if (end == npos || end == i) return false;
    if (IsDecimal(p_[i])) return false;
    for (size_t k = i; k < end; ++k) {
      const char32_t c = p_[k];
      if (!IsAsciiLetter(c) && !IsDecimal(c) && c != U'_' && c < 0x80) return false;
    }
    return true;
  }

  // The matcher looks behind by a fixed length only: a body of several lengths becomes its
  // fixed-length forms, longest first, in a group whose alternatives share their group numbers:
  // (?<=ab?) is (?|(?<=ab)|(?<=a)), (?<!ab?) is (?!(?|(?<=ab)|(?<=a))).
  // A look-behind's body with its runs of plain characters spelled with their folds to several
  // characters under "i" (each fold a form of its own length); as it is otherwise.
  Text SpelledBody(View body) const {
    if (!modes_.caseless || modes_.extended || modes_.ascii == 2) return Text(body);
    Text out;
    size_t k = 0;
    while (k < body.size()) {
      const char32_t c = body[k];
      if (c == U'(' && k + 1 < body.size() && body[k + 1] == U'?') {
        // A group's opening with its name or flags, copied whole: names are no text to match.
        size_t next = k + 2;
        if (next < body.size() && body[next] == U'\'') next = body.find(U'\'', next + 1);
        else next = body.find_first_of(U":>=!)'", next);
        next = next == npos ? body.size() : next + 1;
        out.append(body.substr(k, next - k));
        k = next;
        continue;
      }
      if (c == U'\\' || c == U'[') {
        // An escape or a bracket, copied whole.
        size_t next = k + 2;
        if (c == U'[') {
          next = k + 1;
          if (next < body.size() && body[next] == U'^') ++next;
          if (next < body.size() && body[next] == U']') ++next;
          while (next < body.size() && body[next] != U']') next += body[next] == U'\\' ? 2 : 1;
          ++next;
        }
        next = std::min(next, body.size());
        out.append(body.substr(k, next - k));
        k = next;
        continue;
      }
      size_t end = k;
      while (end < body.size() && View(U"\\[](){}|^$.*+?#").find(body[end]) == npos) ++end;
      if (end < body.size() && end > k && View(U"*+?{").find(body[end]) != npos) --end;
      if (end == k) {
        out += c;
        ++k;
        continue;
      }
      const Text spelled = SpellFoldedRun(body.substr(k, end - k));
      out += spelled.empty() ? Text(body.substr(k, end - k)) : spelled;
      k = end;
    }
    return out;
  }

  bool LookBehind(Text& out) {
    // Kept small: the forms are compiled, and compiling is part of a call's time.
    constexpr size_t kMaxRewrittenChars = 4096;
    const size_t end = GroupEnd(View(p_), i_);
    const bool negative = At(i_ + 3) == U'!';
    // A look-behind that calls a group written after it (or the whole pattern) would be measured as
    // if that group matched nothing: refused, never a look-behind of the wrong length.
    const View body = p_.substr(i_ + 4, end == npos ? npos : end - 1 - (i_ + 4));
    const View before = p_.substr(0, i_);
    const int groupsBefore = CountGroups(before);
    for (size_t call = body.find(U"(?"); call != npos; call = body.find(U"(?", call + 2)) {
      if (call > 0 && body[call - 1] == U'\\') continue;
      const size_t at = call + 2;
      const char32_t kind = at < body.size() ? body[at] : U'\0';
      bool later = kind == U'R' || kind == U'+';
      if (IsDecimal(kind)) {
        int number = 0;
        for (size_t k = at; k < body.size() && IsDecimal(body[k]) && number < 100000; ++k) number = number * 10 + (body[k] - U'0');
        later = number == 0 || number > groupsBefore;
      } else if (kind == U'&' || (kind == U'P' && at + 1 < body.size() && body[at + 1] == U'>')) {
        const size_t nameStart = at + (kind == U'&' ? 1 : 2);
        const size_t close = body.find(U')', nameStart);
        const Text name(body.substr(nameStart, close == npos ? npos : close - nameStart));
        later = before.find(U"(?<" + name + U">") == npos && before.find(U"(?'" + name + U"'") == npos &&
                before.find(U"(?P<" + name + U">") == npos;
      }
      if (later) return Refuse(L"後読みの中の、後ろに書いたグループの呼び出し");
    }
    // The forms this translation wrote are spelled already: spelled again, each would grow anew.
    const bool ours = i_ < rewrittenEnd_;
    const std::vector<Text> forms =
        end == npos ? std::vector<Text>() : FixedLengthForms(ours ? Text(body) : SpelledBody(body));
    Text rewritten = negative ? U"(?!(?|" : U"(?|";
    for (size_t k = 0; k < forms.size(); ++k) rewritten += (k ? U"|(?<=" : U"(?<=") + forms[k] + U")";
    rewritten += negative ? U"))" : U")";
    if (forms.size() < 2 || rewritten.size() > kMaxRewrittenChars) {
      OpenGroup();
      inLookBehind_ = true;
      out += p_.substr(i_, 4);
      i_ += 4;
      return true;
    }
    source_.replace(i_, end - i_, rewritten);
    p_ = source_;
    if (rewrittenEnd_ > end) rewrittenEnd_ = rewrittenEnd_ - (end - i_) + rewritten.size();  // shifted along
    rewrittenEnd_ = std::max(rewrittenEnd_, i_ + rewritten.size());
    return true;
  }

  // (?flags) and (?flags:...): i, m, s, x as they are; "^" turns the four off first; a, u, l, d
  // and p change nothing here (classes are always Unicode's).
  bool Modifiers(Text& out) {
    size_t j = i_ + 2;
    while (j < p_.size() && (IsAsciiLetter(p_[j]) || p_[j] == U'^' || p_[j] == U'-')) ++j;
    const char32_t end = At(j);
    const View flags = p_.substr(i_ + 2, j - i_ - 2);
    if ((end != U':' && end != U')') || flags.find_first_not_of(U"imsxnpadlu^-o") != npos) {
      OpenGroup();
      out += U"(?";
      i_ += 2;
      return true;
    }
    Text on, off;
    bool turningOff = false;
    bool charset = false;  // a, aa, u, d or l: which characters \d, \s, \w and the POSIX classes hold
    const bool caret = !flags.empty() && flags[0] == U'^';
    for (char32_t f : flags) {
      if (f == U'^') continue;
      if (f == U'-') {
        turningOff = true;
        continue;
      }
      if (f == U'n') return Refuse(L"(?n)");
      if (f == U'o') return Refuse(L"(?o)");
      if (f == U'a' || f == U'u' || f == U'd' || f == U'l') charset = true;
      if (f != U'i' && f != U'm' && f != U's' && f != U'x') continue;
      Text& set = turningOff ? off : on;
      if (set.find(f) == npos) set += f;
    }
    const bool doubleX = !turningOff && flags.find(U"xx") != npos;
    if (caret) {
      for (char32_t f : Text(U"imsx")) {
        if (on.find(f) == npos && off.find(f) == npos) off += f;
      }
    }
    i_ = j + 1;
    if (end == U':') OpenGroup();
    if (charset || caret) {
      const auto as = std::count(flags.begin(), flags.end(), U'a');  // "aa" may be written apart: "aia"
      modes_.ascii = as >= 2 ? 2 : as == 1 ? 1 : 0;
    }
    if (on.find(U'i') != npos) modes_.caseless = true;
    if (off.find(U'i') != npos) modes_.caseless = false;
    if (on.find(U'm') != npos) modes_.multiLine = true;
    if (off.find(U'm') != npos) modes_.multiLine = false;
    if (on.find(U'x') != npos) modes_.bracketBlanks = doubleX;
    if (off.find(U'x') != npos) modes_.bracketBlanks = false;
    if (on.find(U'x') != npos) modes_.extended = true;
    if (off.find(U'x') != npos) modes_.extended = false;
    if (on.empty() && off.empty()) {
      if (end == U':') out += U"(?:";
      return true;
    }
    out += U"(?" + on + (off.empty() ? Text() : U"-" + off) + end;
    return true;
  }

  // (*FAIL) and the verbs the matcher knows; the alphabetic assertions of newer Perls.
  bool Verb(Text& out) {
    size_t j = i_ + 2;
    while (j < p_.size() && (IsAsciiLetter(p_[j]) || p_[j] == U'_')) ++j;
    const Text name(p_.substr(i_ + 2, j - i_ - 2));
    const char32_t end = At(j);
    if (end == U')' && (name == U"FAIL" || name == U"F")) {
      out += U"(?!)";
      i_ = j + 1;
      return true;
    }
    if (end == U')' && (name == U"ACCEPT" || name == U"COMMIT" || name == U"PRUNE" || name == U"SKIP" ||
                        name == U"THEN")) {
      out.append(p_.substr(i_, j + 1 - i_));
      i_ = j + 1;
      return true;
    }
    if (end == U':' && (name.empty() || View(U"|MARK|PRUNE|THEN|SKIP|ACCEPT|COMMIT|FAIL|F|").find(U"|" + name + U"|") != npos)) {
      // A verb with a name: the names only tell which mark a search passed, which a renaming never
      // shows; (*SKIP:NAME) goes back to its mark, and without a mark of that name it does nothing.
      const size_t close = p_.find(U')', j);
      if (close == npos) return Refuse(L"閉じていない (*...)");
      const Text argument(p_.substr(j + 1, close - j - 1));
      i_ = close + 1;
      if (name == U"SKIP" && argument.empty()) {
        out += U"(*SKIP)";  // an empty name is none
        return true;
      }
      if (name == U"SKIP") {
        if (p_.find(U"(*MARK:" + argument + U")") != npos || p_.find(U"(*:" + argument + U")") != npos) {
          return Refuse(L"印へ戻る (*SKIP:名前)");
        }
        return true;
      }
      if (name == U"FAIL" || name == U"F") out += U"(?!)";
      if (name != U"MARK" && !name.empty() && name != U"FAIL" && name != U"F") out += U"(*" + name + U")";
      return true;
    }
    if (end == U':') {
      struct Alias {
        const char32_t* long_;
        const char32_t* short_;
        const char32_t* as;
      };
      static constexpr Alias kAliases[] = {
          {U"positive_lookahead", U"pla", U"(?="},  {U"negative_lookahead", U"nla", U"(?!"},
          {U"positive_lookbehind", U"plb", U"(?<="}, {U"negative_lookbehind", U"nlb", U"(?<!"},
          {U"atomic", U"atomic", U"(?>"},
      };
      for (const Alias& alias : kAliases) {
        if (name == alias.long_ || name == alias.short_) {
          OpenGroup();
          out += alias.as;
          i_ = j + 1;
          return true;
        }
      }
    }
    message_ = L"正規表現の誤り: (*" + std::wstring(name.begin(), name.end()) + L"...) は使えません";
    return false;
  }

  // A bracket expression. Classes become [:name:] (the only class form the matcher reads inside
  // brackets besides \w \d \s); a bracket with two or more negated classes, which the matcher would
  // join wrongly ([^\W\S] must match nothing), becomes a group of single-class brackets.
  // Perl's extended bracketed class (?[ ... ]): classes joined by "&" (both), "+" or "|" (either),
  // "-" (the first without the second), "^" (one of the two) and "!" (not), grouped by parentheses,
  // blanks only for reading. Each operand matches one character, so each operation becomes a
  // look-ahead over the next character: (?=A)B, (?:A|B), (?!B)A, (?!B)A|(?!A)B, (?!A)(?s:.).
  bool ExtendedClass(Text& out) {
    i_ += 3;
    Text set;
    if (!SetUnion(set)) return false;
    SkipSetBlanks();
    if (At(i_) != U']' || At(i_ + 1) != U')') return SetSyntaxError();
    i_ += 2;
    out += set;
    return true;
  }
  void SkipSetBlanks() {
    while (i_ < p_.size() && (p_[i_] == U' ' || p_[i_] == U'\t' || p_[i_] == U'\n' || p_[i_] == U'\r')) ++i_;
  }
  bool SetSyntaxError() {
    message_ = L"正規表現の誤り: (?[ ]) の中の書き方が正しくありません";
    return false;
  }
  bool SetUnion(Text& out) {
    if (!SetIntersection(out)) return false;
    for (;;) {
      SkipSetBlanks();
      const char32_t op = At(i_);
      if (op != U'+' && op != U'|' && op != U'-' && op != U'^') return true;
      ++i_;
      Text right;
      if (!SetIntersection(right)) return false;
      if (op == U'-') out = U"(?:(?!" + right + U")" + out + U")";
      else if (op == U'^') out = U"(?:(?!" + right + U")" + out + U"|(?!" + out + U")" + right + U")";
      else out = U"(?:" + out + U"|" + right + U")";
    }
  }
  bool SetIntersection(Text& out) {
    if (!SetFactor(out)) return false;
    for (;;) {
      SkipSetBlanks();
      if (At(i_) != U'&') return true;
      ++i_;
      Text right;
      if (!SetFactor(right)) return false;
      out = U"(?:(?=" + out + U")" + right + U")";
    }
  }
  bool SetFactor(Text& out) {
    SkipSetBlanks();
    const char32_t c = At(i_);
    if (c == U'!') {
      ++i_;
      Text inner;
      if (!SetFactor(inner)) return false;
      out = U"(?:(?!" + inner + U")(?s:.))";
      return true;
    }
    if (c == U'(') {
      ++i_;
      if (!SetUnion(out)) return false;
      SkipSetBlanks();
      if (At(i_) != U')') return SetSyntaxError();
      ++i_;
      return true;
    }
    if (c == U'[' && At(i_ + 1) == U':') {
      const size_t close = p_.find(U":]", i_ + 2);
      if (close == npos) return SetSyntaxError();
      out = U"[" + Text(p_.substr(i_, close + 2 - i_)) + U"]";
      i_ = close + 2;
      return true;
    }
    if (c == U'[') return Bracket(out);
    // An escape of one character or of a class; assertions, references and clusters are no operands.
    if (c == U'\\' && i_ + 1 < p_.size() && View(U"XRbBAzZGKQEkg123456789").find(p_[i_ + 1]) == npos) {
      const size_t before = i_;
      if (!Escape(out)) return false;
      return i_ > before ? true : SetSyntaxError();
    }
    return SetSyntaxError();
  }

  bool Bracket(Text& out) {
    const size_t start = i_;
    ++i_;
    while (modes_.bracketBlanks && (At(i_) == U' ' || At(i_) == U'\t')) ++i_;
    const bool negated = At(i_) == U'^';
    if (negated) ++i_;
    Text positive;
    std::vector<Text> negatedClasses;
    bool afterClass = false;  // the item before was a class: a "-" after it is itself
    for (bool first = true;; first = false) {
      if (i_ >= p_.size()) {
        out.append(p_.substr(start));  // unclosed: the matcher says so
        return true;
      }
      const char32_t c = p_[i_];
      if (c == U']' && !first) {
        ++i_;
        break;
      }
      if (c == U'[' && (At(i_ + 1) == U':' || At(i_ + 1) == U'=' || At(i_ + 1) == U'.')) {
        const char32_t kind = p_[i_ + 1];
        const Text closing{kind, U']'};
        const size_t close = p_.find(closing, i_ + 2);
        if (close != npos) {
          Text inner(p_.substr(i_ + 2, close - i_ - 2));
          i_ = close + 2;
          if (kind == U':' && modes_.caseless) {
            const bool negatedName = !inner.empty() && inner[0] == U'^';
            inner = (negatedName ? U"^" : U"") + CaselessClassName(inner.substr(negatedName ? 1 : 0));
          }
          if (kind == U':' && modes_.ascii) inner = AsciiPosixName(inner);
          if (kind == U':' && !inner.empty() && inner[0] == U'^') {
            negatedClasses.push_back(U"[:" + inner + U":]");
          } else {
            positive += U"[" + Text(1, kind) + inner + Text(1, kind) + U"]";
          }
          afterClass = kind == U':';
          continue;
        }
      }
      if ((c == U' ' || c == U'\t') && modes_.bracketBlanks) {
        ++i_;  // "xx": blanks in brackets are only for reading
        continue;
      }
      if (c == U'\\' && i_ + 1 < p_.size()) {
        const size_t positiveBefore = positive.size();
        const size_t negatedBefore = negatedClasses.size();
        if (!BracketEscape(positive, negatedClasses)) return false;
        afterClass = negatedClasses.size() != negatedBefore ||
                     (positive.size() != positiveBefore && ClassEnds(positive));
        continue;
      }
      // Perl reads a "-" beside a class as itself; blanks and "#" are themselves even with "x".
      const bool classFollows = c == U'-' && ((At(i_ + 1) == U'\\' && IsClassEscape(At(i_ + 2))) ||
                                             (At(i_ + 1) == U'[' && At(i_ + 2) == U':'));
      if (c == U'^' || c == U'[' || c == U' ' || c == U'#' || (c == U'-' && (afterClass || classFollows))) {
        positive += U'\\';
      }
      positive += c;
      afterClass = false;
      ++i_;
    }
    if (modes_.caseless) positive = CaselessRanges(positive);
    // "aa" under "i": ſ and the Kelvin sign, which fold to s and k, are no ASCII letters of a class
    // written in ASCII (one naming a property may hold them).
    const View written = p_.substr(start, i_ - start);
    const bool keepOutFolds = modes_.caseless && modes_.ascii == 2 && written.find(U"\\p") == npos &&
                              written.find(U"\\P") == npos &&
                              std::all_of(written.begin(), written.end(), [](char32_t c) { return c < 0x80; });
    if (negatedClasses.size() <= 1) {
      if (keepOutFolds) out += negated ? U"(?:(?-i:[\\x{17F}\\x{212A}])|" : U"(?-i:(?![\\x{17F}\\x{212A}]))";
      out += negated ? U"[^" : U"[";
      out += positive;
      if (!negatedClasses.empty()) out += negatedClasses[0];
      out += U"]";
      if (keepOutFolds && negated) out += U")";
      return true;
    }
    if (!negated) {
      out += U"(?:";
      if (!positive.empty()) out += U"[" + positive + U"]|";
      for (size_t k = 0; k < negatedClasses.size(); ++k) out += (k ? U"|[" : U"[") + negatedClasses[k] + U"]";
      out += U")";
      return true;
    }
    out += U"(?:";
    if (!positive.empty()) out += U"(?![" + positive + U"])";
    for (const Text& cls : negatedClasses) out += U"(?![" + cls + U"])";
    out += U"(?s:.))";
    return true;
  }

  static bool IsClassEscape(char32_t e) {
    return e == U'w' || e == U'd' || e == U's' || e == U'h' || e == U'v' || e == U'W' || e == U'D' || e == U'S' ||
           e == U'H' || e == U'V' || e == U'p' || e == U'P';
  }
  // positive ends with a "[:name:]" just added.
  static bool ClassEnds(const Text& positive) { return positive.size() >= 2 && positive.compare(positive.size() - 2, 2, U":]") == 0; }

  bool BracketEscape(Text& positive, std::vector<Text>& negatedClasses) {
    const char32_t e = p_[i_ + 1];
    switch (e) {
      case U'w': case U'd': case U's': case U'h': case U'v':
        positive += U"[:" + (modes_.ascii && e != U'h' && e != U'v' ? AsciiClassName(e) : Text(1, e)) + U":]";
        i_ += 2;
        return true;
      case U'W': case U'D': case U'S': case U'H': case U'V':
        negatedClasses.push_back(U"[:^" + (modes_.ascii && e != U'H' && e != U'V' ? AsciiClassName(e) : Text(1, e - U'A' + U'a')) + U":]");
        i_ += 2;
        return true;
      case U'p':
      case U'P': {
        Text name;
        bool negated = false;
        if (!Property(name, negated)) return false;
        if (negated) {
          negatedClasses.push_back(U"[:^" + name + U":]");
        } else {
          positive += U"[:" + name + U":]";
        }
        return true;
      }
      case U'E':
        i_ += 2;  // ends no \Q: nothing
        return true;
      case U'Q': {
        // Every character up to \E is itself, "]" and "-" included.
        const size_t end = p_.find(U"\\E", i_ + 2);
        const size_t stop = end == npos ? p_.size() : end;
        for (size_t k = i_ + 2; k < stop; ++k) AppendHexEscape(p_[k], positive);
        i_ = end == npos ? stop : stop + 2;
        return true;
      }
      case U'N':
        if (At(i_ + 2) != U'{') return Refuse(L"[ ] の中の \\N");
        i_ += 2;
        return NamedCharacter(i_, positive);
      case U'8':
      case U'9':
        positive += e;
        i_ += 2;
        return true;
      default:
        break;
    }
    uint32_t value = 0;
    size_t i = i_ + 1;
    if (CharacterCode(i, value, true)) {
      if (value > 0x10FFFF) return Refuse(L"U+10FFFF を超える文字コード");
      AppendHexEscape(value, positive);
      i_ = i;
      return true;
    }
    positive += U'\\';
    positive += e;
    i_ += 2;
    return true;
  }

  Text source_;  // the pattern, with constructs rewritten in place before they are read
  View p_;
  std::wstring& message_;
  int groups_;
  PatternModes modes_;
  std::vector<PatternModes> outerModes_;
  // Inside a look-behind the matcher takes one length only: no folds to several characters there.
  bool inLookBehind_ = false;
  size_t rewrittenEnd_ = 0;  // the pattern up to here holds look-behind forms this translation wrote
  std::vector<bool> outerLookBehind_;
  size_t i_ = 0;
};

}  // namespace

bool TranslatePerlSyntax(std::u32string_view pattern, const PatternModes& modes, std::u32string& out,
                         std::wstring& message) {
  out.clear();
  out.reserve(pattern.size() + 8);
  return Translator(pattern, modes, message).Run(out);
}

}  // namespace korval::regex
