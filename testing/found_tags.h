// Test helper for the tag readers: what a reader found, in the order of the tag table, as
// "Title=...|Artist=...", so that a table row states every value at once.
#pragma once

#include <string>

#include "metadata/tag_values.h"

namespace korval {

inline std::wstring FoundTags(const TagValues& values) {
  std::wstring out;
  for (const TagDescriptor& d : kTagTable) {
    const std::wstring* value = values.Find(d.tag);
    if (value == nullptr) continue;
    if (!out.empty()) out += L'|';
    out += std::wstring(d.name) + L'=' + *value;
  }
  return out;
}

}  // namespace korval
