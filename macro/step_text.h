// The encoding of the texts stored in macro files and in the macro name list: the ANSI code page
// with "\u" escapes for what it lacks, and, inside macro records, bit 6 of each byte toggled.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korval {

// The largest stored form of one text: 776 bytes (a 777-byte buffer with its terminator).
inline constexpr size_t kStepTextBuffer = 777;
inline constexpr size_t kStepTextMaxBytes = kStepTextBuffer - 1;
// A text read back keeps at most this many characters.
inline constexpr size_t kStepTextMaxChars = 259;

// The text up to its first NUL in the ANSI code page; every character the code page lacks becomes
// "\u" and four lower-case hex digits while at least 6 places of the buffer remain, and each half of
// a surrogate pair is escaped on its own so the pair survives. At most 776 bytes, never cutting a
// double-byte character or an escape in two.
std::string EscapeStepText(std::wstring_view text);

// Toggles bit 6 of every byte whose low six bits are not all zero; its own inverse, and it never
// turns a byte into 0x00, so terminators and framing survive.
void ToggleStepBytes(std::string& bytes);

// The stored form of a macro record's text field: escaped, then toggled.
std::string EncodeStepText(std::wstring_view text);

// The ANSI bytes of a field (no terminator) back to text, escapes decoded, cut at maxChars.
std::wstring UnescapeStepText(std::string_view ansi, size_t maxChars = kStepTextMaxChars);

// A stored field back to text: toggled back, then unescaped; at most 259 characters.
std::wstring DecodeStepText(std::string_view stored);

}  // namespace korval
