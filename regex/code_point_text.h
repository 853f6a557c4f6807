// A UTF-16 text seen as whole characters: its code points and, for each, where it starts in the
// UTF-16 units, so a match over characters is cut out of the original units. A surrogate without its
// partner stays a code point of its own and comes back as the unit it was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "regex/match_budget.h"

namespace korval::regex {

inline bool IsHighSurrogate(uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool IsLowSurrogate(uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Code points of text, a pair joined into one.
std::u32string ToCodePoints(std::wstring_view text);

// Appends code point c to out as UTF-16.
void AppendUtf16(char32_t c, std::wstring& out);

// The text's code points lie in a block of kCodeBlockBytes (see BudgetIterator), allocated once and
// reused for every text after.
class CodePointText {
 public:
  CodePointText() = default;
  explicit CodePointText(std::wstring_view units) { Assign(units); }
  ~CodePointText();
  CodePointText(const CodePointText&) = delete;
  CodePointText& operator=(const CodePointText&) = delete;

  // Decodes units (at most kCodeBlockCapacity of them), reusing the buffers of an earlier text (a run
  // decodes one name after another). May throw std::bad_alloc.
  void Assign(std::wstring_view units);
  // Iterators over the code points charge budget.
  void Charge(MatchBudget* budget) { Header()->budget = budget; }
  std::u32string_view Codes() const { return {codes_, count_}; }
  // The UTF-16 units of the code points [first, last).
  std::wstring_view Units(size_t first, size_t last) const {
    return units_.substr(UnitOffset(first), UnitOffset(last) - UnitOffset(first));
  }
  // Without a pair in the text, code point k is unit k and no offsets are kept.
  size_t UnitOffset(size_t codeIndex) const { return offsets_.empty() ? codeIndex : offsets_[codeIndex]; }

 private:
  CodeBlockHeader* Header() { return reinterpret_cast<CodeBlockHeader*>(block_); }

  std::wstring_view units_;
  void* block_ = nullptr;
  char32_t* codes_ = nullptr;
  size_t count_ = 0;
  std::vector<uint32_t> offsets_;  // one per code point and the end, or empty: one unit each
};

}  // namespace korval::regex
