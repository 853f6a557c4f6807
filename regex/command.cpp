// Parsing of the substitution command and expansion of its replacement text.
#include "regex/command.h"
#include "platform/digits.h"

#include <algorithm>
#include <cwctype>

namespace korval::regex {
namespace {

constexpr wchar_t kDelimiter = L'/';
constexpr size_t kMaxGroupDigits = 3;

// Reads a part up to the next unescaped delimiter, from pos on; pos ends behind the delimiter.
// "\/" becomes "/", every other backslash pair is kept as it is for the pattern or the replacement.
bool ReadPart(std::wstring_view command, size_t& pos, std::wstring& part) {
  while (pos < command.size()) {
    const wchar_t c = command[pos];
    if (c == L'\\' && pos + 1 < command.size()) {
      if (command[pos + 1] != kDelimiter) part += c;
      part += command[pos + 1];
      pos += 2;
      continue;
    }
    ++pos;
    if (c == kDelimiter) return true;
    part += c;
  }
  return false;
}

void AddLiteral(std::vector<ReplacementPiece>& pieces, wchar_t c) {
  if (pieces.empty() || pieces.back().group != kLiteralPiece) pieces.push_back({});
  pieces.back().text += c;
}


// Reads the group number of "${n}" starting at the "{"; returns -1 when it is not one.
int ReadBracedGroup(std::wstring_view text, size_t brace, size_t& end) {
  size_t pos = brace + 1;
  int group = 0;
  while (pos < text.size() && IsDigit(text[pos]) && pos - brace <= kMaxGroupDigits) {
    group = group * 10 + (text[pos] - L'0');
    ++pos;
  }
  if (pos == brace + 1 || pos >= text.size() || text[pos] != L'}') return -1;
  end = pos + 1;
  return group;
}

// Reads the name of "$+{name}" starting at the "{"; empty when it is not one. Names are made of
// letters, digits and "_", as the pattern's "(?<name>...)" allows.
std::wstring ReadGroupName(std::wstring_view text, size_t brace, size_t& end) {
  if (brace >= text.size() || text[brace] != L'{') return {};
  size_t pos = brace + 1;
  while (pos < text.size() && (iswalnum(text[pos]) || text[pos] == L'_')) ++pos;
  if (pos == brace + 1 || pos >= text.size() || text[pos] != L'}') return {};
  end = pos + 1;
  return std::wstring(text.substr(brace + 1, pos - brace - 1));
}

}  // namespace

bool ParseCommand(std::wstring_view command, SubstCommand& out, std::wstring& message) {
  out = SubstCommand();
  if (command.size() < 2 || command[0] != L's' || command[1] != kDelimiter) {
    message = L"コマンドが s/検索/置換/ の形ではありません";
    return false;
  }
  size_t pos = 2;
  std::wstring replacement;
  if (!ReadPart(command, pos, out.pattern) || !ReadPart(command, pos, replacement)) {
    message = L"コマンドの区切り \"/\" が足りません";
    return false;
  }
  for (; pos < command.size(); ++pos) {
    switch (command[pos]) {
      case L'g': out.global = true; break;
      case L'i': out.ignoreCase = true; break;
      case L'm': out.multiLine = true; break;
      case L's': out.singleLine = true; break;
      case L'x':
        out.extendedBrackets = out.extended;  // a second "x"
        out.extended = true;
        break;
      case L'a': out.ascii = std::min(out.ascii + 1, 2); break;  // "a", "aa": ASCII classes
      case L'u': case L'd': case L'l': out.ascii = 0; break;
      case L'k': break;  // the text is handled in UTF-16 whatever the code page, so "k" changes nothing
      default:
        message = L"不明なオプションです: ";
        message += command[pos];
        return false;
    }
  }
  out.replacement = ParseReplacement(replacement);
  return true;
}

std::vector<ReplacementPiece> ParseReplacement(std::wstring_view text) {
  std::vector<ReplacementPiece> pieces;
  size_t pos = 0;
  while (pos < text.size()) {
    const wchar_t c = text[pos];
    const wchar_t next = pos + 1 < text.size() ? text[pos + 1] : L'\0';
    if (c == L'\\' && pos + 1 < text.size()) {
      AddLiteral(pieces, next == L'n' ? L'\n' : next == L't' ? L'\t' : next);
      pos += 2;
      continue;
    }
    if (c == L'$' && (next == L'&' || IsDigit(next))) {
      pieces.push_back({std::wstring(), next == L'&' ? 0 : next - L'0'});
      pos += 2;
      continue;
    }
    size_t end = 0;
    const std::wstring name = c == L'$' && next == L'+' ? ReadGroupName(text, pos + 2, end) : std::wstring();
    if (!name.empty()) {
      pieces.push_back({name, kNamedGroup});
      pos = end;
      continue;
    }
    const int group = c == L'$' && next == L'{' ? ReadBracedGroup(text, pos + 1, end) : -1;
    if (group >= 0) {
      pieces.push_back({std::wstring(), group});
      pos = end;
      continue;
    }
    AddLiteral(pieces, c);
    ++pos;
  }
  return pieces;
}

void ResultWriter::Original(size_t firstCode, size_t lastCode) {
  const std::wstring_view units = text_.Units(firstCode, lastCode);
  if (units.empty()) return;
  if (spans_ != nullptr) spans_->push_back({out_.size(), text_.UnitOffset(firstCode), units.size()});
  out_ += units;
}

namespace {

// Whether group took part in the match as Perl sees it: a group a reset names is empty when its
// text lies outside the last match of the group around it (it is left from an earlier repetition).
bool TookPart(const Match& match, size_t group, const std::vector<GroupReset>& resets) {
  if (group >= match.size() || !match[group].matched) return false;
  for (const GroupReset& reset : resets) {
    if (static_cast<size_t>(reset.group) != group) continue;
    const auto& outer = match[static_cast<size_t>(reset.within)];
    const auto& inner = match[group];
    if (outer.matched && (inner.first < outer.first || inner.second > outer.second)) return false;
  }
  return true;
}

}  // namespace

void AppendReplacement(const std::vector<ReplacementPiece>& pieces, const Match& match,
                       const std::vector<GroupReset>& resets, ResultWriter& out) {
  const char32_t* base = out.Text().Codes().data();
  const auto append = [&](int number) {
    if (number < 0 || !TookPart(match, static_cast<size_t>(number), resets)) return;
    const Match::const_reference group = match[static_cast<size_t>(number)];
    out.Original(static_cast<size_t>(group.first.Get() - base), static_cast<size_t>(group.second.Get() - base));
  };
  for (const ReplacementPiece& piece : pieces) {
    if (piece.group == kNamedGroup) {
      // A name the pattern does not define adds nothing, like a group that did not take part.
      const std::u32string name = ToCodePoints(piece.text);
      append(match.named_subexpression_index(name.data(), name.data() + name.size()));
      continue;
    }
    if (piece.group == kLiteralPiece) {
      out.New(piece.text);
      continue;
    }
    append(piece.group);
  }
}

}  // namespace korval::regex
