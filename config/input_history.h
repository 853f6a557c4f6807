// The input histories of the combo boxes: kept newest first, stored as entries each followed by
// "||", the replacement histories spread over eight keys of 255 characters.
#pragma once

#include <string>
#include <vector>

#include "config/settings_store.h"

namespace korval {

inline constexpr const wchar_t* kHistorySeparator = L"||";
inline constexpr int kHistoryKeyLength = 255;
inline constexpr int kReplaceHistoryPieces = 8;

// Entries in stored (encoded) form, each followed by "||", as many as fit in limit characters.
std::wstring JoinHistory(const SettingsStore& store, const std::vector<std::wstring>& entries, size_t limit);
std::vector<std::wstring> SplitHistory(const std::wstring& joined, size_t maxEntries = 64);

void WriteHistory(const SettingsStore& store, const wchar_t* key, const std::vector<std::wstring>& entries);
std::vector<std::wstring> ReadHistory(const SettingsStore& store, const wchar_t* key);

// The search and replacement histories in `replacefrom1`..8 and `replaceto1`..8. The older single
// keys `replace1str` and `replace2str` are read instead when `replace1str` holds text and
// `replacefrom1` is empty; writing empties them.
void WriteReplaceHistories(const SettingsStore& store, const std::vector<std::wstring>& from,
                           const std::vector<std::wstring>& to);
void ReadReplaceHistories(const SettingsStore& store, std::vector<std::wstring>& from, std::vector<std::wstring>& to);

}  // namespace korval
