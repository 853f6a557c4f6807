// The one place where UTF-16 text meets the ANSI code page (CSV, the editor exchange file, ini
// texts): characters the code page cannot hold travel as "\u" and four lower-case hex digits.
#pragma once

#include <string>
#include <string_view>

namespace korval {

// Escapes wide (a terminated text) into the ANSI buffer out of capacity bytes; with out null, the
// escaped text replaces wide in place (wide is then a buffer of capacity characters).
// Each half of a surrogate pair is escaped on its own, so the pair survives the round trip.
// Returns 0, or 1 when the text was cut or could not be escaped (the character count changed in the
// round trip: the plain conversion is delivered, with "?" for what the code page lacks).
int WideToAnsiEscaped(wchar_t* wide, char* out, int capacity);

// Converts the terminated ANSI text into out (capacity characters) and decodes the escapes; with
// ansi null, decodes the escapes of the wide text in out in place. Returns 0, or 1 when out is full.
int AnsiToWideUnescaped(wchar_t* out, const char* ansi, int capacity);

// The same conversions on strings, for callers that hold texts rather than buffers.
std::string ToAnsiEscaped(std::wstring_view text, int capacity);
std::wstring FromAnsiUnescaped(std::string_view ansi, int capacity);

// The text converted to the ANSI code page without best-fit mapping and back, without escapes:
// every character the code page cannot hold comes back as "?".
std::wstring AnsiRoundTrip(std::wstring_view text);

// Plain conversions without escapes, for callers that hand text to ANSI interfaces; characters the
// code page cannot hold become "?".
std::string ToAnsiPlain(std::wstring_view text);
std::wstring FromAnsiPlain(std::string_view ansi);

}  // namespace korval
