// Paths a person gives the program (dropped, typed, on the command line, in a CSV file) that it
// will not read, and why: each would be cut, could name another item, or would turn the system's
// own reading of paths off.
#pragma once

#include <string_view>

namespace korval {

inline constexpr const wchar_t* kTooLongReason = L"ファイル名が長すぎます。";
inline constexpr const wchar_t* kVerbatimPathReason = L"「\\\\?\\」で始まるパスは指定できません。";
inline constexpr const wchar_t* kLongPartReason = L"255文字を超える名前を含むパスです。";
inline constexpr const wchar_t* kSeparatorInNameReason = L"「\\」や「/」を含む名前はWindowsでは扱えません。";
inline constexpr const wchar_t* kBrokenPathReason = L"パスに使えない文字（NUL文字、対になっていないサロゲート）を含みます。";

// Null when the path may be read; otherwise the reason it is not. A "\\?\" path is refused rather
// than read as its ordinary spelling: through the prefix "name." and "name" are two items, and the
// ordinary spelling would reach the other one.
const wchar_t* PathRefusal(std::wstring_view path);

}  // namespace korval
