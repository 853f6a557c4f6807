// The text encodings tags are written in, decoded to UTF-16. Every decoder stops at the first NUL
// character and takes only the bytes it is given.
#pragma once

#include <string>
#include <string_view>

namespace korval {

// UTF-8; a byte order mark at the start is dropped, invalid sequences become U+FFFD.
std::wstring TextFromUtf8(std::string_view bytes);

// UTF-16 in the given byte order; an odd last byte is ignored.
std::wstring TextFromUtf16(std::string_view bytes, bool bigEndian);
// UTF-16 whose byte order mark (if any) decides the order; without one, `bigEndianWithoutMark`.
// The mark is dropped.
std::wstring TextFromUtf16WithMark(std::string_view bytes, bool bigEndianWithoutMark);

// Text a file declares as Latin-1 (ID3, ASF, old documents). Many Japanese programs wrote Shift-JIS
// there: the bytes are read as Shift-JIS when they are valid Shift-JIS, hold at least one double-byte
// character whose first byte is 0x81-0x9F (a control code in Latin-1, never a letter) and no
// user-defined character (first byte 0xF0-0xFC); otherwise as Latin-1.
std::wstring TextFromLatin1(std::string_view bytes);

// Text that a format declares ASCII but programs write beyond it: UTF-8 when the bytes are valid UTF-8
// with characters beyond ASCII, otherwise as TextFromLatin1 reads it.
std::wstring TextFromUtf8OrLatin1(std::string_view bytes);

// Text in a Windows code page (OLE property sets name theirs); UTF-8 for 65001, UTF-16LE for 1200,
// Latin-1 rules (above) for 1252 and anything the system cannot convert.
std::wstring TextFromCodePage(std::string_view bytes, unsigned codePage);

}  // namespace korval
