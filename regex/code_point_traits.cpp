// Class names and the properties that are more than a set of categories.
#include "regex/code_point_traits.h"

#include <string_view>

namespace korval::regex {
namespace {

using unicode::Category;
using unicode::Script;
using Mask = CodePointTraits::char_class_type;

constexpr Mask Cat(Category c) { return ClassBit(static_cast<int>(c)); }
template <typename... C>
constexpr Mask Cats(C... c) {
  return (Cat(c) | ...);
}
constexpr Mask ScriptMask(Script s) { return ClassBit(CodePointTraits::kScriptBit + static_cast<int>(s)); }

constexpr Mask kLetter = Cats(Category::Lu, Category::Ll, Category::Lt, Category::Lm, Category::Lo);
constexpr Mask kCased = Cats(Category::Lu, Category::Ll, Category::Lt);
constexpr Mask kMark = Cats(Category::Mn, Category::Mc, Category::Me);
constexpr Mask kNumber = Cats(Category::Nd, Category::Nl, Category::No);
constexpr Mask kPunctuation = Cats(Category::Pc, Category::Pd, Category::Ps, Category::Pe, Category::Pi,
                                   Category::Pf, Category::Po);
constexpr Mask kSymbol = Cats(Category::Sm, Category::Sc, Category::Sk, Category::So);
constexpr Mask kSeparator = Cats(Category::Zs, Category::Zl, Category::Zp);
constexpr Mask kOther = Cats(Category::Cc, Category::Cf, Category::Cs, Category::Co, Category::Cn);
// Perl's \w: alphabetic characters, marks, decimal digits, connectors and the two join controls.
constexpr Mask kWord = kLetter | kMark | Cat(Category::Nd) | Cat(Category::Pc) | CodePointTraits::kAlphabetic |
                       CodePointTraits::kJoinControl;

struct ClassName {
  std::string_view name;  // lower case, without spaces, "-" and "_"
  Mask mask;
};

// The names of \p{...}, [[:...:]] and the escapes \w \s \d \h \v, in Perl's loose spelling.
constexpr ClassName kClassNames[] = {
    {"l", kLetter}, {"letter", kLetter},
    {"lu", Cat(Category::Lu)}, {"uppercaseletter", Cat(Category::Lu)},
    {"ll", Cat(Category::Ll)}, {"lowercaseletter", Cat(Category::Ll)},
    {"lt", Cat(Category::Lt)}, {"titlecaseletter", Cat(Category::Lt)}, {"title", Cat(Category::Lt)},
    {"lm", Cat(Category::Lm)}, {"modifierletter", Cat(Category::Lm)},
    {"lo", Cat(Category::Lo)}, {"otherletter", Cat(Category::Lo)},
    {"lc", kCased}, {"l&", kCased}, {"casedletter", kCased},
    {"m", kMark}, {"mark", kMark}, {"combiningmark", kMark},
    {"mn", Cat(Category::Mn)}, {"nonspacingmark", Cat(Category::Mn)},
    {"mc", Cat(Category::Mc)}, {"spacingmark", Cat(Category::Mc)},
    {"me", Cat(Category::Me)}, {"enclosingmark", Cat(Category::Me)},
    {"n", kNumber}, {"number", kNumber},
    {"nd", Cat(Category::Nd)}, {"decimalnumber", Cat(Category::Nd)},
    {"nl", Cat(Category::Nl)}, {"letternumber", Cat(Category::Nl)},
    {"no", Cat(Category::No)}, {"othernumber", Cat(Category::No)},
    {"p", kPunctuation}, {"punctuation", kPunctuation},
    {"pc", Cat(Category::Pc)}, {"connectorpunctuation", Cat(Category::Pc)},
    {"pd", Cat(Category::Pd)}, {"dashpunctuation", Cat(Category::Pd)},
    {"ps", Cat(Category::Ps)}, {"openpunctuation", Cat(Category::Ps)},
    {"pe", Cat(Category::Pe)}, {"closepunctuation", Cat(Category::Pe)},
    {"pi", Cat(Category::Pi)}, {"initialpunctuation", Cat(Category::Pi)},
    {"pf", Cat(Category::Pf)}, {"finalpunctuation", Cat(Category::Pf)},
    {"po", Cat(Category::Po)}, {"otherpunctuation", Cat(Category::Po)},
    // A lone "s" is \s; the symbol category reaches here as "symbol" (the pattern translation says so).
    {"symbol", kSymbol},
    {"sm", Cat(Category::Sm)}, {"mathsymbol", Cat(Category::Sm)},
    {"sc", Cat(Category::Sc)}, {"currencysymbol", Cat(Category::Sc)},
    {"sk", Cat(Category::Sk)}, {"modifiersymbol", Cat(Category::Sk)},
    {"so", Cat(Category::So)}, {"othersymbol", Cat(Category::So)},
    {"z", kSeparator}, {"separator", kSeparator},
    {"zs", Cat(Category::Zs)}, {"spaceseparator", Cat(Category::Zs)},
    {"zl", Cat(Category::Zl)}, {"lineseparator", Cat(Category::Zl)},
    {"zp", Cat(Category::Zp)}, {"paragraphseparator", Cat(Category::Zp)},
    {"c", kOther}, {"other", kOther},
    {"cc", Cat(Category::Cc)}, {"control", Cat(Category::Cc)}, {"cntrl", Cat(Category::Cc)},
    {"cf", Cat(Category::Cf)}, {"format", Cat(Category::Cf)},
    {"cs", Cat(Category::Cs)}, {"surrogate", Cat(Category::Cs)},
    {"co", Cat(Category::Co)}, {"privateuse", Cat(Category::Co)},
    {"cn", Cat(Category::Cn)}, {"unassigned", Cat(Category::Cn)},
    {"latin", ScriptMask(Script::Latin)}, {"latn", ScriptMask(Script::Latin)},
    {"greek", ScriptMask(Script::Greek)}, {"grek", ScriptMask(Script::Greek)},
    {"cyrillic", ScriptMask(Script::Cyrillic)}, {"cyrl", ScriptMask(Script::Cyrillic)},
    {"hangul", ScriptMask(Script::Hangul)}, {"hang", ScriptMask(Script::Hangul)},
    {"hiragana", ScriptMask(Script::Hiragana)}, {"hira", ScriptMask(Script::Hiragana)},
    {"katakana", ScriptMask(Script::Katakana)}, {"kana", ScriptMask(Script::Katakana)},
    {"han", ScriptMask(Script::Han)}, {"hani", ScriptMask(Script::Han)},
    {"common", ScriptMask(Script::Common)}, {"zyyy", ScriptMask(Script::Common)},
    {"inherited", ScriptMask(Script::Inherited)}, {"zinh", ScriptMask(Script::Inherited)},
    {"w", kWord}, {"word", kWord},
    {"d", Cat(Category::Nd)}, {"digit", Cat(Category::Nd)},
    {"s", CodePointTraits::kSpace}, {"space", CodePointTraits::kSpace}, {"whitespace", CodePointTraits::kSpace},
    {"h", CodePointTraits::kBlank}, {"blank", CodePointTraits::kBlank}, {"horizspace", CodePointTraits::kBlank},
    {"v", CodePointTraits::kVertical}, {"vertspace", CodePointTraits::kVertical},
    {"alpha", CodePointTraits::kAlphabetic | kLetter}, {"alphabetic", CodePointTraits::kAlphabetic | kLetter},
    {"alnum", CodePointTraits::kAlphabetic | kLetter | Cat(Category::Nd)},
    {"lower", CodePointTraits::kLower | Cat(Category::Ll)}, {"lowercase", CodePointTraits::kLower | Cat(Category::Ll)},
    {"upper", CodePointTraits::kUpper | Cat(Category::Lu)}, {"uppercase", CodePointTraits::kUpper | Cat(Category::Lu)},
    {"punct", kPunctuation | CodePointTraits::kAsciiSymbol},
    {"xdigit", CodePointTraits::kXDigit}, {"hexdigit", CodePointTraits::kXDigit},
    {"graph", CodePointTraits::kGraph}, {"print", CodePointTraits::kPrint},
    {"ascii", CodePointTraits::kAscii}, {"any", CodePointTraits::kAny}, {"all", CodePointTraits::kAny},
    {"assigned", ~(Cat(Category::Cn) | CodePointTraits::kSpecialBits | CodePointTraits::kScriptBits |
                   CodePointTraits::kPropertyBits)},
    {"unicode", CodePointTraits::kUnicode},
};

Mask FindClass(std::string_view name) {
  for (const ClassName& entry : kClassNames) {
    if (entry.name == name) return entry.mask;
  }
  return 0;
}

}  // namespace

Mask CodePointTraits::lookup_classname(const char32_t* p1, const char32_t* p2) const {
  // Perl's loose matching: case, spaces, "-" and "_" do not count.
  std::string name;
  for (const char32_t* p = p1; p != p2; ++p) {
    const char32_t c = *p;
    if (c >= 0x80) return 0;
    if (c == U' ' || c == U'-' || c == U'_') continue;
    name += static_cast<char>(c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c);
  }
  auto named = [this](const unicode::PropertyValueName* value) -> Mask { return value ? SlotFor(*value) : 0; };
  if (const size_t equals = name.find('='); equals != std::string::npos) {
    std::string_view property(name.data(), equals);
    std::string value = name.substr(equals + 1);
    if (property.size() > 2 && property.compare(0, 2, "is") == 0) property.remove_prefix(2);
    if (property == "gc" || property == "generalcategory" || property == "category") {
      if (value == "s") value = "symbol";
      return FindClass(value) & ~kScriptBits;
    }
    // The scripts a pattern names most keep their bits; the others are looked up like any property.
    if (property == "sc" || property == "script") {
      if (const Mask mask = FindClass(value); mask & kScriptBits) return mask;
    }
    return named(unicode::FindPropertyValue(property, value));
  }
  // A name alone: as Perl reads it, a script stands for its script extensions, then come the general
  // categories and the classes, the binary properties, and "In" with a block; "Is" may come first.
  for (std::string_view bare : {std::string_view(name), std::string_view(name).substr(name.size() > 2 && name.compare(0, 2, "is") == 0 ? 2 : 0)}) {
    if (const unicode::PropertyValueName* script = unicode::FindPropertyValue("scx", bare)) return SlotFor(*script);
    if (const Mask mask = FindClass(bare)) return mask;
    if (const Mask mask = named(unicode::FindBinaryProperty(bare))) return mask;
    if (bare.size() > 2 && bare.compare(0, 2, "in") == 0) {
      if (const Mask mask = named(unicode::FindPropertyValue("blk", bare.substr(2)))) return mask;
    }
  }
  return 0;
}

Mask CodePointTraits::SlotFor(const unicode::PropertyValueName& value) const {
  for (int i = 0; i < slotCount_; ++i) {
    if (slots_[i].set == value.set && slots_[i].negated == value.negated) return ClassBit(kFirstPropertyBit + i);
  }
  if (slotCount_ == kPropertySlots) return 0;
  slots_[slotCount_] = {value.set, value.negated};
  return ClassBit(kFirstPropertyBit + slotCount_++);
}

bool CodePointTraits::HasNamedProperty(char32_t c, uint64_t slots) const {
  for (int i = 0; i < slotCount_; ++i) {
    if ((slots >> i & 1) && unicode::InPropertySet(slots_[i].set, c) != slots_[i].negated) return true;
  }
  return false;
}

CodePointTraits::string_type CodePointTraits::lookup_collatename(const char32_t* p1, const char32_t* p2) const {
  if (p2 - p1 == 1) return string_type(1, *p1);
  std::string name;
  for (const char32_t* p = p1; p != p2; ++p) {
    if (*p >= 0x80) return string_type();
    name += static_cast<char>(*p);
  }
  const std::string found = boost::BOOST_REGEX_DETAIL_NS::lookup_default_collate_name(name);
  return string_type(found.begin(), found.end());
}

const CodePointTraits::char_class_type* CodePointTraits::AsciiClasses() {
  struct Table {
    char_class_type classes[kAsciiCount] = {};
    Table() {
      for (char32_t c = 0; c < kAsciiCount; ++c) {
        char_class_type& m = classes[c];
        m = ClassBit(static_cast<int>(unicode::CategoryOf(c)));
        const unicode::Script script = unicode::ScriptOf(c);
        if (script != unicode::Script::Other) m |= ClassBit(kScriptBit + static_cast<int>(script));
        for (int bit = kFirstSpecialBit; bit < 64; ++bit) {
          if (HasSpecial(c, ClassBit(bit))) m |= ClassBit(bit);
        }
      }
    }
  };
  static const Table table;
  return table.classes;
}

bool CodePointTraits::HasSpecial(char32_t c, char_class_type f) {
  const uint8_t properties = unicode::PropertiesOf(c);
  const Category category = unicode::CategoryOf(c);
  if ((f & kSpace) && (properties & unicode::kWhiteSpace)) return true;
  if ((f & kBlank) && (properties & unicode::kWhiteSpace) && (c == U'\t' || category == Category::Zs)) return true;
  if ((f & kVertical) && ((c >= U'\n' && c <= U'\r') || c == 0x85 || c == 0x2028 || c == 0x2029)) return true;
  if ((f & kXDigit) && ((c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'f') || (c >= U'A' && c <= U'F') ||
                        (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF26) || (c >= 0xFF41 && c <= 0xFF46))) {
    return true;
  }
  if ((f & kAscii) && c < 0x80) return true;
  if ((f & kAlphabetic) && (properties & unicode::kAlphabetic)) return true;
  if ((f & kLower) && (properties & unicode::kLowercase)) return true;
  if ((f & kUpper) && (properties & unicode::kUppercase)) return true;
  if ((f & kJoinControl) && (c == 0x200C || c == 0x200D)) return true;
  if ((f & kAny) && c <= 0x10FFFF) return true;
  if ((f & kUnicode) && c > 0xFF) return true;
  const bool graph = !(properties & unicode::kWhiteSpace) && category != Category::Cc && category != Category::Cs &&
                     category != Category::Cn;
  if ((f & kGraph) && graph) return true;
  if ((f & kPrint) && (graph || category == Category::Zs)) return true;
  if ((f & kAsciiSymbol) && c < 0x80 && kSymbol & Cat(category)) return true;
  return false;
}

std::intmax_t CodePointTraits::toi(const char32_t*& p1, const char32_t* p2, int radix) const {
  // Large enough for any code point, small enough never to overflow.
  constexpr std::intmax_t kLimit = std::intmax_t(1) << 40;
  std::intmax_t result = -1;
  while (p1 != p2) {
    const int digit = value(*p1, radix);
    if (digit < 0) break;
    result = result < 0 ? digit : result * radix + digit;
    if (result > kLimit) result = kLimit;
    ++p1;
  }
  return result;
}

int CodePointTraits::value(char32_t c, int radix) const {
  int digit = -1;
  if (c >= U'0' && c <= U'9') digit = static_cast<int>(c - U'0');
  else if (c >= U'a' && c <= U'z') digit = static_cast<int>(c - U'a') + 10;
  else if (c >= U'A' && c <= U'Z') digit = static_cast<int>(c - U'A') + 10;
  return digit < radix ? digit : -1;
}

}  // namespace korval::regex
