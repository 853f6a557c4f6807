// The properties a pattern names with \p{...} beyond the general categories: scripts and script
// extensions, blocks, the break properties, widths, bidi classes, ages, the binary properties and the
// rest of the Unicode data (make_property_tables.pl), each value a set of code point ranges.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace korval::regex::unicode {

struct CodeRange {
  char32_t first, last;
};
struct PropertySet {
  uint32_t offset, count;  // its ranges in kPropertySetRanges, sorted
};
struct PropertyValueName {
  const char* loose;  // a name or alias of the value, in Perl's loose form
  uint16_t set;
  bool negated;       // the code points outside the set ("Alpha=No")
};
struct PropertyName {
  const char* loose;  // a name or alias of the property, in Perl's loose form; sorted
  bool binary;
  uint16_t firstValue, valueCount;  // its values in kPropertyValueNames
};

extern const CodeRange kPropertySetRanges[];
extern const PropertySet kPropertySets[];
extern const size_t kPropertySetCount;
extern const PropertyValueName kPropertyValueNames[];
extern const PropertyName kPropertyNames[];
extern const size_t kPropertyNameCount;

// A set named by a property and one of its values (both loose); binary properties take "y", "n" and
// their spellings. Null when there is no such property or value.
const PropertyValueName* FindPropertyValue(std::string_view property, std::string_view value);
// A binary property named alone ("alpha"); null when there is none.
const PropertyValueName* FindBinaryProperty(std::string_view property);
bool InPropertySet(uint16_t set, char32_t c);

}  // namespace korval::regex::unicode
