// The filters a read applies before a path becomes a row: extensions ("のみ" only these, or "以外"
// all but these), size in KB between two bounds, and the read-only, hidden and system attributes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace korval {

inline constexpr size_t kExtensionFilterEntries = 15;
inline constexpr size_t kExtensionEntryChars = 15;  // leading dot included
inline constexpr const wchar_t* kDefaultUpperSizeText = L"999999999";
inline constexpr long long kDefaultUpperSize = 999999999;

// The filter settings as the options page stores them.
struct FilterSettings {
  std::wstring filterextall;               // extensions separated by spaces
  bool extensionsExclude = true;           // "以外" (true) or "のみ" (false)
  std::wstring filterfsize1 = L"0";        // lower bound in KB
  std::wstring filterfsize2 = kDefaultUpperSizeText;  // upper bound in KB
  bool sizeExclude = false;                // "以外" (true) or "のみ" (false)
  bool readReadOnly = true;                // "読み取り専用ファイル をリストに読み込む"
  bool readHidden = true;                  // "隠しファイル をリストに読み込む"
  bool readSystem = true;                  // "システムファイルを読み込む"
};

// The extension list built from the text: each entry starts with a dot; an empty entry (two
// spaces in a row, a leading space) ends the list. At most 15 entries.
using ExtensionFilterList = std::vector<std::wstring>;
ExtensionFilterList BuildExtensionFilterList(const std::wstring& filterextall);

// Whether a path with this extension (dot included, or empty) is kept.
bool ExtensionPasses(const ExtensionFilterList& list, bool exclude, const std::wstring& extension);

// The bounds as numbers: the lower bound's empty text is 0, the upper one's 999999999.
long long LowerSizeBound(const std::wstring& text);
long long UpperSizeBound(const std::wstring& text);
// The filter is in force only when the upper bound differs from its default.
bool SizeFilterActive(const FilterSettings& filter);
// Both bounds as the options page starts them: "0" and "999999999".
bool SizeBoundsAtDefaults(const FilterSettings& filter);
std::uint64_t SizeInKb(std::uint64_t bytes);
// Whether a file of this many bytes is kept.
bool SizePasses(const FilterSettings& filter, std::uint64_t bytes);

// Whether at least one attribute switch is off, so attributes have to be read.
bool AttributeFilterActive(const FilterSettings& filter);
// Whether an item with these attributes is kept (INVALID_FILE_ATTRIBUTES keeps it).
bool AttributesPass(const FilterSettings& filter, DWORD attributes);

}  // namespace korval
