// bregexp.dll: the ANSI regular expression library. It reads the command and the text in the ANSI
// code page, works in UTF-16 like the wide library (so a double-byte character whose second byte is
// "\" stays one character) and returns the result in the ANSI code page.
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "regex/ansi_code_page.h"
#include "regex/entry_point.h"
#include "regex/regex_api.h"

using korval::RegexRecordA;

namespace {

struct AnsiCodec {
  static size_t Length(const char* text, size_t limit) { return strnlen(text, limit); }
  static std::wstring ToWide(std::string_view text) { return korval::regex::AnsiToWide(text); }
  static constexpr bool kKeepsSourceBytes = true;
  static std::wstring TextToWide(std::string_view text, std::vector<uint32_t>& unitStarts) {
    return korval::regex::AnsiToWideMapped(text, unitStarts);
  }
  // What the match left alone goes back as the very bytes it came from: a round trip through UTF-16
  // would turn the NEC and IBM duplicates of a character into one of them, and a stray lead byte
  // into another character.
  static void FromWide(std::wstring& result, const std::vector<korval::regex::SourceSpan>& spans,
                       std::string_view text, const std::vector<uint32_t>& unitStarts, std::string& into) {
    std::string out;
    size_t done = 0;
    for (const korval::regex::SourceSpan& span : spans) {
      out += korval::regex::WideToAnsi(std::wstring_view(result).substr(done, span.resultFirst - done));
      const size_t first = unitStarts[span.sourceFirst];
      out.append(text.substr(first, unitStarts[span.sourceFirst + span.length] - first));
      done = span.resultFirst + span.length;
    }
    out += korval::regex::WideToAnsi(std::wstring_view(result).substr(done));
    into.swap(out);
  }
  static void WriteMessage(char* message, const std::wstring& text) {
    if (message == nullptr) return;
    const std::string ansi = korval::regex::WideToAnsiCut(text, static_cast<size_t>(korval::kRegexMessageSize - 1));
    std::memcpy(message, ansi.data(), ansi.size());
    message[ansi.size()] = '\0';
  }
};

}  // namespace

extern "C" __declspec(dllexport) int BSubst(const char* command, char* textStart, char* textEnd,
                                            RegexRecordA** handle, char* message) {
  try {
    return korval::regex::SubstituteEntry<AnsiCodec>(command, textStart, textEnd, handle, message);
  } catch (...) {
    return korval::regex::Fail<AnsiCodec, RegexRecordA>(message, L"処理できません");
  }
}

extern "C" __declspec(dllexport) void BRegfree(RegexRecordA* record) {
  korval::regex::ReleaseRecord<RegexRecordA, char>(record);
}

// The exports must keep the types the renamer calls them through.
static_assert(std::is_same_v<decltype(&BSubst), korval::BSubstProc>);
static_assert(std::is_same_v<decltype(&BRegfree), korval::BRegfreeProc>);
