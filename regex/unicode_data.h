// What the patterns know of a character: its general category, script, letter properties and case
// folds, from tables that the build generates from the Unicode data files (make_unicode_tables.pl).
#pragma once

#include <cstddef>
#include <cstdint>

namespace korval::regex::unicode {

// The general categories; Cn (unassigned) is every code point no table names.
enum class Category : uint8_t {
  Lu, Ll, Lt, Lm, Lo, Mn, Mc, Me, Nd, Nl, No, Pc, Pd, Ps, Pe, Pi, Pf, Po,
  Sm, Sc, Sk, So, Zs, Zl, Zp, Cc, Cf, Cs, Co, Cn,
};
inline constexpr int kCategoryCount = 30;

// The scripts a pattern can name; Other is every script not among them.
enum class Script : uint8_t { Latin, Greek, Cyrillic, Hangul, Hiragana, Katakana, Han, Common, Inherited, Other };
inline constexpr int kScriptCount = 9;

// Properties besides the category, as bits.
inline constexpr uint8_t kAlphabetic = 1;
inline constexpr uint8_t kLowercase = 2;
inline constexpr uint8_t kUppercase = 4;
inline constexpr uint8_t kWhiteSpace = 8;

struct CategoryRange {
  char32_t first, last;
  Category category;
};
struct PropertyRange {
  char32_t first, last;
  uint8_t bits;
};
struct ScriptRange {
  char32_t first, last;
  Script script;
};
struct CodePair {
  char32_t from, to;
};
struct FullFold {
  char32_t from;
  char32_t to[3];  // zero after the last
};

// The generated tables, each sorted by code point.
extern const CategoryRange kCategoryRanges[];
extern const size_t kCategoryRangeCount;
extern const PropertyRange kPropertyRanges[];
extern const size_t kPropertyRangeCount;
extern const ScriptRange kScriptRanges[];
extern const size_t kScriptRangeCount;
extern const CodePair kSimpleFolds[];  // CaseFolding.txt, status C and S
extern const size_t kSimpleFoldsCount;
extern const CodePair kToLower[];  // UnicodeData.txt, simple lower-case mapping
extern const size_t kToLowerCount;
extern const CodePair kToUpper[];  // UnicodeData.txt, simple upper-case mapping
extern const size_t kToUpperCount;
extern const FullFold kFullFolds[];  // CaseFolding.txt, status F
extern const size_t kFullFoldCount;

Category CategoryOf(char32_t c);
uint8_t PropertiesOf(char32_t c);
Script ScriptOf(char32_t c);
// The simple case fold (one character to one); c itself when it has none.
char32_t SimpleFold(char32_t c);
char32_t ToLower(char32_t c);
char32_t ToUpper(char32_t c);
// The full fold of c when it folds to several characters (ß to "ss"); null otherwise.
const char32_t* FullFoldOf(char32_t c);

}  // namespace korval::regex::unicode
