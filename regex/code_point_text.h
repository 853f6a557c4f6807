// A UTF-16 text seen as whole characters: its code points and, for each, where it starts in the
// UTF-16 units, so a match over characters is cut out of the original units. A surrogate without its
// partner stays a code point of its own and comes back as the unit it was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korval::regex {

inline bool IsHighSurrogate(uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool IsLowSurrogate(uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Code points of text, a pair joined into one.
std::u32string ToCodePoints(std::wstring_view text);

// Appends code point c to out as UTF-16.
void AppendUtf16(char32_t c, std::wstring& out);

class CodePointText {
 public:
  CodePointText() = default;
  explicit CodePointText(std::wstring_view units) { Assign(units); }
  // Decodes units, reusing the buffers of an earlier text (a run decodes one name after another).
  void Assign(std::wstring_view units);
  const std::u32string& Codes() const { return codes_; }
  // The UTF-16 units of the code points [first, last).
  std::wstring_view Units(size_t first, size_t last) const {
    return units_.substr(UnitOffset(first), UnitOffset(last) - UnitOffset(first));
  }
  // Without a pair in the text, code point k is unit k and no offsets are kept.
  size_t UnitOffset(size_t codeIndex) const { return offsets_.empty() ? codeIndex : offsets_[codeIndex]; }

 private:
  std::wstring_view units_;
  std::u32string codes_;
  std::vector<uint32_t> offsets_;  // one per code point and the end, or empty: one unit each
};

}  // namespace korval::regex
