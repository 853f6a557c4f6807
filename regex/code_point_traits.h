// The character traits of our patterns: whole code points (char32_t), with classes, properties and
// case folds from the Unicode tables, in Perl's sense (\w is letters, marks, digits and connectors of
// every script; \s is White_Space; "." and the line anchors know only "\n" as a line break).
#pragma once

#include <array>
#include <cstdint>
#include <locale>
#include <string>

#include <boost/regex.hpp>

#include "regex/unicode_data.h"
#include "regex/unicode_properties.h"

namespace korval::regex {

// The bit of class number n in a class mask.
using ClassMask = unsigned __int128;
constexpr ClassMask ClassBit(int n) { return ClassMask(1) << n; }

class CodePointTraits {
 public:
  using char_type = char32_t;
  using size_type = std::size_t;
  using string_type = std::u32string;
  using locale_type = std::locale;
  using char_class_type = ClassMask;
  struct boost_extensions_tag {};

  // Bits of char_class_type: one per general category (bit = the category's number), one per
  // script, then the properties that are not a set of categories.
  static constexpr int kScriptBit = unicode::kCategoryCount;
  static constexpr int kFirstSpecialBit = kScriptBit + unicode::kScriptCount;
  static constexpr char_class_type kSpace = ClassBit(kFirstSpecialBit);
  static constexpr char_class_type kBlank = ClassBit(kFirstSpecialBit + 1);
  static constexpr char_class_type kVertical = ClassBit(kFirstSpecialBit + 2);
  static constexpr char_class_type kXDigit = ClassBit(kFirstSpecialBit + 3);
  static constexpr char_class_type kAscii = ClassBit(kFirstSpecialBit + 4);
  static constexpr char_class_type kAlphabetic = ClassBit(kFirstSpecialBit + 5);
  static constexpr char_class_type kLower = ClassBit(kFirstSpecialBit + 6);
  static constexpr char_class_type kUpper = ClassBit(kFirstSpecialBit + 7);
  static constexpr char_class_type kJoinControl = ClassBit(kFirstSpecialBit + 8);
  static constexpr char_class_type kAny = ClassBit(kFirstSpecialBit + 9);
  static constexpr char_class_type kUnicode = ClassBit(kFirstSpecialBit + 10);
  static constexpr char_class_type kGraph = ClassBit(kFirstSpecialBit + 11);
  static constexpr char_class_type kPrint = ClassBit(kFirstSpecialBit + 12);
  static constexpr char_class_type kAsciiSymbol = ClassBit(kFirstSpecialBit + 13);
  static constexpr char_class_type kScriptBits = ((ClassBit(unicode::kScriptCount) - 1) << kScriptBit);
  // The upper 64 bits stand for the other properties (unicode_properties.h), each given a bit of its
  // own when a pattern first names it: up to 64 of them in one pattern.
  static constexpr int kFirstPropertyBit = 64;
  static constexpr int kPropertySlots = 64;
  static constexpr char_class_type kPropertyBits = ~(ClassBit(kFirstPropertyBit) - 1);
  static constexpr char_class_type kSpecialBits = ~(ClassBit(kFirstSpecialBit) - 1) & ~kPropertyBits;

  static size_type length(const char_type* p) { return std::char_traits<char32_t>::length(p); }

  boost::regex_constants::syntax_type syntax_type(char_type c) const {
    return c > 0 && c < 0x7F ? boost::BOOST_REGEX_DETAIL_NS::get_default_syntax_type(static_cast<char>(c))
                             : boost::regex_constants::syntax_char;
  }
  boost::regex_constants::escape_syntax_type escape_syntax_type(char_type c) const {
    return c > 0 && c < 0x7F ? boost::BOOST_REGEX_DETAIL_NS::get_default_escape_syntax_type(static_cast<char>(c))
                             : boost::regex_constants::syntax_char;
  }
  char_type translate(char_type c) const { return c; }
  char_type translate_nocase(char_type c) const { return unicode::SimpleFold(c); }
  char_type translate(char_type c, bool icase) const { return icase ? unicode::SimpleFold(c) : c; }
  char_type tolower(char_type c) const { return unicode::ToLower(c); }
  char_type toupper(char_type c) const { return unicode::ToUpper(c); }
  string_type transform(const char_type* p1, const char_type* p2) const { return string_type(p1, p2); }
  // The key of [[=a=]]: the folded text.
  string_type transform_primary(const char_type* p1, const char_type* p2) const {
    string_type key(p1, p2);
    for (char32_t& c : key) c = unicode::SimpleFold(c);
    return key;
  }
  char_class_type lookup_classname(const char_type* p1, const char_type* p2) const;
  string_type lookup_collatename(const char_type* p1, const char_type* p2) const;

  bool isctype(char_type c, char_class_type f) const {
    if (const auto named = static_cast<uint64_t>(f >> kFirstPropertyBit); named != 0 && HasNamedProperty(c, named)) {
      return true;
    }
    if (c < kAsciiCount) return (ascii_[c] & f) != 0;
    if (f & ClassBit(static_cast<int>(unicode::CategoryOf(c)))) return true;
    if ((f & kScriptBits) != 0) {
      const unicode::Script script = unicode::ScriptOf(c);
      if (script != unicode::Script::Other && (f & ClassBit(kScriptBit + static_cast<int>(script)))) return true;
    }
    return (f & kSpecialBits) != 0 && HasSpecial(c, f);
  }

  std::intmax_t toi(const char_type*& p1, const char_type* p2, int radix) const;
  int value(char_type c, int radix) const;

  locale_type imbue(locale_type l) {
    locale_type old = locale_;
    locale_ = l;
    return old;
  }
  locale_type getloc() const { return locale_; }
  std::string error_string(boost::regex_constants::error_type n) const {
    return boost::BOOST_REGEX_DETAIL_NS::get_default_error_string(n);
  }

 private:
  static bool HasSpecial(char32_t c, char_class_type f);
  bool HasNamedProperty(char32_t c, uint64_t slots) const;
  // The bit of a property named in this pattern (its slot), 0 when every slot is taken.
  char_class_type SlotFor(const unicode::PropertyValueName& value) const;
  struct Slot {
    uint16_t set;
    bool negated;
  };
  mutable std::array<Slot, kPropertySlots> slots_{};
  mutable int slotCount_ = 0;
  // Every class bit each ASCII character has, worked out once: most names are mostly ASCII.
  static constexpr char32_t kAsciiCount = 128;
  static const char_class_type* AsciiClasses();
  const char_class_type* ascii_ = AsciiClasses();  // kept at hand: the matcher asks for every character
  locale_type locale_;
};

}  // namespace korval::regex

namespace boost {
namespace BOOST_REGEX_DETAIL_NS {
// As in Perl, "\n" is the only line break: "." stops at it without /s, and ^ and $ meet it with /m.
// (The generic version also cuts code points above the 16-bit range down to their low bits.)
template <>
inline bool is_separator<char32_t>(char32_t c) {
  return c == U'\n';
}
}  // namespace BOOST_REGEX_DETAIL_NS
}  // namespace boost
