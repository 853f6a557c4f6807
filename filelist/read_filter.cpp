// The extension, size and attribute filters of a read.
#include "filelist/read_filter.h"

#include <cwchar>
#include <cwctype>

#include "platform/ansi_escape.h"

namespace korval {
namespace {

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

// The integer value of a decimal text as atoi reads it (leading blanks, a sign, digits); the value
// is held within the range of a long long.
long long DecimalValue(const std::wstring& text) {
  const long long value = std::wcstoll(text.c_str(), nullptr, 10);
  return value;
}

}  // namespace

ExtensionFilterList BuildExtensionFilterList(const std::wstring& filterextall) {
  // The text is normalised as the ini file holds it: characters outside the ANSI code page turn
  // into their escapes.
  std::vector<wchar_t> buffer(filterextall.size() * 6 + 1, L'\0');
  std::wmemcpy(buffer.data(), filterextall.data(), filterextall.size());
  WideToAnsiEscaped(buffer.data(), nullptr, static_cast<int>(buffer.size()));
  const std::wstring text(buffer.data());

  ExtensionFilterList list;
  std::wstring entry;
  bool entryStarted = false;
  for (size_t i = 0; i < text.size() && list.size() < kExtensionFilterEntries; ++i) {
    const wchar_t c = text[i];
    if (c == L' ') {
      list.push_back(entry);
      entry.clear();
      entryStarted = false;
      continue;
    }
    if (!entryStarted && c != L'.') entry.push_back(L'.');
    entryStarted = true;
    entry.push_back(c);
  }
  if (list.size() < kExtensionFilterEntries && !entry.empty()) list.push_back(entry);
  // The walk of the filter stops at the first empty entry; what follows it never counts.
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].empty()) {
      list.resize(i);
      break;
    }
  }
  return list;
}

bool ExtensionPasses(const ExtensionFilterList& list, bool exclude, const std::wstring& extension) {
  bool kept = exclude;
  for (const std::wstring& entry : list) {
    if (entry.empty()) break;
    if (EqualNoCase(entry, extension)) return !kept;
  }
  return kept;
}

long long LowerSizeBound(const std::wstring& text) { return text.empty() ? 0 : DecimalValue(text); }

long long UpperSizeBound(const std::wstring& text) {
  return text.empty() ? kDefaultUpperSize : DecimalValue(text);
}

bool SizeFilterActive(const FilterSettings& filter) {
  return UpperSizeBound(filter.filterfsize2) != kDefaultUpperSize;
}

bool SizeBoundsAtDefaults(const FilterSettings& filter) {
  return !filter.filterfsize1.empty() && DecimalValue(filter.filterfsize1) == 0 && !filter.filterfsize2.empty() &&
         DecimalValue(filter.filterfsize2) == kDefaultUpperSize;
}

std::uint64_t SizeInKb(std::uint64_t bytes) { return bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0); }

bool SizePasses(const FilterSettings& filter, std::uint64_t bytes) {
  if (!SizeFilterActive(filter)) return true;
  const long long lower = LowerSizeBound(filter.filterfsize1);
  const long long upper = UpperSizeBound(filter.filterfsize2);
  const std::uint64_t kb = SizeInKb(bytes);
  // A negative bound lies below every size; compared as signed values, kb always fits.
  const long long size = static_cast<long long>(kb);
  const bool inRange = lower <= size && size <= upper;
  return filter.sizeExclude ? !inRange : inRange;
}

bool AttributeFilterActive(const FilterSettings& filter) {
  return !filter.readReadOnly || !filter.readHidden || !filter.readSystem;
}

bool AttributesPass(const FilterSettings& filter, DWORD attributes) {
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (!filter.readReadOnly && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  if (!filter.readHidden && (attributes & FILE_ATTRIBUTE_HIDDEN)) return false;
  if (!filter.readSystem && (attributes & FILE_ATTRIBUTE_SYSTEM)) return false;
  return true;
}

}  // namespace korval
