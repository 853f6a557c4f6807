// bregonig.dll: the UTF-16 regular expression library the renamer prefers.
#include <algorithm>
#include <cwchar>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "regex/entry_point.h"
#include "regex/regex_api.h"

using korval::RegexRecordW;

namespace {

struct WideCodec {
  static size_t Length(const wchar_t* text, size_t limit) { return wcsnlen(text, limit); }
  static std::wstring_view ToWide(std::wstring_view text) { return text; }
  static constexpr bool kKeepsSourceBytes = false;
  static std::wstring_view TextToWide(std::wstring_view text, std::vector<uint32_t>&) { return text; }
  // The result moves into the record; the buffer it leaves behind is the next call's to fill.
  static void FromWide(std::wstring& result, const std::vector<korval::regex::SourceSpan>&, std::wstring_view,
                       const std::vector<uint32_t>&, std::wstring& into) {
    into.swap(result);
  }
  static void WriteMessage(wchar_t* message, const std::wstring& text) {
    if (message == nullptr) return;
    const size_t length = std::min(text.size(), static_cast<size_t>(korval::kRegexMessageSize - 1));
    text.copy(message, length);
    message[length] = L'\0';
  }
};

}  // namespace

extern "C" __declspec(dllexport) int BSubstW(const wchar_t* command, wchar_t* textStart, wchar_t* textEnd,
                                             RegexRecordW** handle, wchar_t* message) {
  try {
    return korval::regex::SubstituteEntry<WideCodec>(command, textStart, textEnd, handle, message);
  } catch (...) {
    return korval::regex::Fail<WideCodec, RegexRecordW>(message, L"処理できません");
  }
}

extern "C" __declspec(dllexport) void BRegfreeW(RegexRecordW* record) {
  korval::regex::ReleaseRecord<RegexRecordW, wchar_t>(record);
}

// The exports must keep the types the renamer calls them through.
static_assert(std::is_same_v<decltype(&BSubstW), korval::BSubstWProc>);
static_assert(std::is_same_v<decltype(&BRegfreeW), korval::BRegfreeWProc>);
