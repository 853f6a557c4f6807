// Looking up the generated property sets.
#include "regex/unicode_properties.h"

#include <algorithm>

namespace korval::regex::unicode {
namespace {

const PropertyName* FindProperty(std::string_view loose) {
  const PropertyName* end = kPropertyNames + kPropertyNameCount;
  const PropertyName* found = std::lower_bound(
      kPropertyNames, end, loose, [](const PropertyName& p, std::string_view name) { return p.loose < name; });
  return found != end && found->loose == loose ? found : nullptr;
}

}  // namespace

const PropertyValueName* FindPropertyValue(std::string_view property, std::string_view value) {
  const PropertyName* p = FindProperty(property);
  if (!p) return nullptr;
  const PropertyValueName* first = kPropertyValueNames + p->firstValue;
  const PropertyValueName* last = first + p->valueCount;
  const PropertyValueName* found = std::find_if(first, last, [&](const PropertyValueName& v) { return v.loose == value; });
  return found != last ? found : nullptr;
}

const PropertyValueName* FindBinaryProperty(std::string_view property) {
  const PropertyName* p = FindProperty(property);
  return p && p->binary ? FindPropertyValue(property, "y") : nullptr;
}

bool InPropertySet(uint16_t set, char32_t c) {
  if (set >= kPropertySetCount) return false;
  const CodeRange* first = kPropertySetRanges + kPropertySets[set].offset;
  const CodeRange* last = first + kPropertySets[set].count;
  const CodeRange* found = std::upper_bound(first, last, c, [](char32_t x, const CodeRange& r) { return x < r.first; });
  return found != first && c <= (found - 1)->last;
}

}  // namespace korval::regex::unicode
