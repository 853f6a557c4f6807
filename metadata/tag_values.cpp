// Collecting tag values: several values of one tag joined, lower-ranked containers merged behind.
#include "metadata/tag_values.h"

#include <cmath>
#include <cwchar>

namespace korval {

bool TagFromName(std::wstring_view name, Tag& tag) {
  for (const TagDescriptor& d : kTagTable) {
    const std::wstring_view known = d.name;
    if (known.size() != name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < name.size() && same; ++i) {
      wchar_t c = name[i];
      if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
      wchar_t k = known[i];
      if (k >= L'a' && k <= L'z') k = static_cast<wchar_t>(k - L'a' + L'A');
      same = c == k;
    }
    if (same) {
      tag = d.tag;
      return true;
    }
  }
  return false;
}

std::wstring* TagValues::Slot(Tag tag) {
  for (auto& [key, value] : values_) {
    if (key == tag) return &value;
  }
  return nullptr;
}

const std::wstring* TagValues::Find(Tag tag) const {
  if (!found_.Has(tag)) return nullptr;
  for (const auto& [key, value] : values_) {
    if (key == tag) return &value;
  }
  return nullptr;
}

void TagValues::Put(Tag tag, std::wstring value) {
  if (!wanted_.Has(tag) || value.empty()) return;
  if (!found_.Has(tag)) {
    values_.emplace_back(tag, std::move(value));
    found_.Add(tag);
    return;
  }
  std::wstring& slot = *Slot(tag);
  // A value already there is not repeated, whether it stands alone or among others.
  size_t start = 0;
  while (start <= slot.size()) {
    size_t end = slot.find(L", ", start);
    if (end == std::wstring::npos) end = slot.size();
    if (slot.compare(start, end - start, value) == 0) return;
    start = end + 2;
  }
  slot.append(L", ").append(value);
}

void TagValues::MergeMissing(const TagValues& other) {
  for (const auto& [tag, value] : other.values_) {
    if (Wants(tag)) Put(tag, value);
  }
}

void TagValues::PutDuration(double seconds) {
  if (!(seconds >= 0) || seconds > 1e9) return;
  const auto total = static_cast<unsigned long long>(std::llround(seconds));
  const unsigned long long hours = total / 3600, minutes = total / 60 % 60, rest = total % 60;
  wchar_t text[48];
  if (hours > 0) {
    std::swprintf(text, 48, L"%llu-%02llu-%02llu", hours, minutes, rest);
  } else {
    std::swprintf(text, 48, L"%llu-%02llu", minutes, rest);
  }
  Put(Tag::Duration, text);
}

}  // namespace korval
