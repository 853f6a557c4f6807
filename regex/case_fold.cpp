// Case mapping tables of the Japanese locale, built once, and the locale the patterns compile with.
#include "regex/case_fold.h"

#include <windows.h>

#include <vector>

namespace korval::regex {
namespace {

constexpr size_t kUnits = 0x10000;

bool IsSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The case mapping of every UTF-16 unit under the Japanese locale. Built with one call per table;
// should the system ever map the units to a text of another length, each unit is mapped alone.
class CaseTables {
 public:
  CaseTables() : lower_(kUnits), upper_(kUnits) {
    Fill(lower_, LCMAP_LOWERCASE);
    Fill(upper_, LCMAP_UPPERCASE);
  }
  wchar_t Lower(wchar_t c) const { return lower_[c]; }
  wchar_t Upper(wchar_t c) const { return upper_[c]; }

 private:
  static void Fill(std::vector<wchar_t>& table, DWORD mapping) {
    const LCID japanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);
    std::vector<wchar_t> source;
    source.reserve(kUnits);
    for (size_t i = 0; i < kUnits; ++i) {
      table[i] = static_cast<wchar_t>(i);
      if (i != 0 && !IsSurrogate(static_cast<wchar_t>(i))) source.push_back(static_cast<wchar_t>(i));
    }
    const int count = static_cast<int>(source.size());
    std::vector<wchar_t> mapped(source.size());
    if (LCMapStringW(japanese, mapping, source.data(), count, mapped.data(), count) == count) {
      for (size_t i = 0; i < source.size(); ++i) table[source[i]] = Checked(source[i], mapped[i]);
      return;
    }
    for (wchar_t c : source) {
      wchar_t one[2] = {};
      if (LCMapStringW(japanese, mapping, &c, 1, one, 2) == 1) table[c] = Checked(c, one[0]);
    }
  }

  // A mapping into or out of the surrogate range would break pairs apart; keep such units.
  static wchar_t Checked(wchar_t from, wchar_t to) { return IsSurrogate(to) ? from : to; }

  std::vector<wchar_t> lower_;
  std::vector<wchar_t> upper_;
};

const CaseTables& Tables() {
  static const CaseTables tables;
  return tables;
}

class FoldingCtype : public std::ctype<wchar_t> {
 protected:
  wchar_t do_tolower(wchar_t c) const override { return FoldLower(c); }
  const wchar_t* do_tolower(wchar_t* low, const wchar_t* high) const override {
    for (; low < high; ++low) *low = FoldLower(*low);
    return high;
  }
  wchar_t do_toupper(wchar_t c) const override { return FoldUpper(c); }
  const wchar_t* do_toupper(wchar_t* low, const wchar_t* high) const override {
    for (; low < high; ++low) *low = FoldUpper(*low);
    return high;
  }
  // The base narrows through the C library's current code page, where a Japanese character can
  // come out as a byte such as "\" or "(" and would then act as one in the pattern.
  char do_narrow(wchar_t c, char fallback) const override {
    return c < 0x80 ? static_cast<char>(c) : fallback;
  }
  const wchar_t* do_narrow(const wchar_t* low, const wchar_t* high, char fallback,
                           char* out) const override {
    for (; low < high; ++low, ++out) *out = do_narrow(*low, fallback);
    return high;
  }
  wchar_t do_widen(char c) const override { return static_cast<wchar_t>(static_cast<unsigned char>(c)); }
  const char* do_widen(const char* low, const char* high, wchar_t* out) const override {
    for (; low < high; ++low, ++out) *out = do_widen(*low);
    return high;
  }
};

}  // namespace

wchar_t FoldLower(wchar_t c) { return Tables().Lower(c); }
wchar_t FoldUpper(wchar_t c) { return Tables().Upper(c); }

const std::locale& FoldingLocale() {
  static const std::locale locale(std::locale::classic(), new FoldingCtype);
  return locale;
}

}  // namespace korval::regex
