// Input histories in the settings store.
#include "config/input_history.h"


namespace korval {
namespace {

std::wstring PieceKey(const wchar_t* prefix, int number) { return prefix + std::to_wstring(number); }

}  // namespace

std::wstring JoinHistory(const SettingsStore& store, const std::vector<std::wstring>& entries, size_t limit) {
  std::wstring joined;
  for (const std::wstring& entry : entries) {
    // Measured in stored form, so that no entry is cut by the store's length limit.
    std::wstring candidate = joined + store.Encode(entry) + kHistorySeparator;
    if (candidate.size() > limit) break;
    joined = std::move(candidate);
  }
  return joined;
}

std::vector<std::wstring> SplitHistory(const std::wstring& joined, size_t maxEntries) {
  std::vector<std::wstring> entries;
  size_t start = 0;
  while (start < joined.size() && entries.size() < maxEntries) {
    size_t end = joined.find(kHistorySeparator, start);
    if (end == std::wstring::npos) end = joined.size();
    if (end > start) entries.push_back(joined.substr(start, end - start));
    start = end + 2;
  }
  return entries;
}

void WriteHistory(const SettingsStore& store, const wchar_t* key, const std::vector<std::wstring>& entries) {
  store.WriteText(key, JoinHistory(store, entries, kHistoryKeyLength));
}

std::vector<std::wstring> ReadHistory(const SettingsStore& store, const wchar_t* key) {
  return SplitHistory(store.Decode(store.ReadText(key, L"")));
}

namespace {

void WritePieces(const SettingsStore& store, const wchar_t* prefix, const std::vector<std::wstring>& entries) {
  // The eight pieces hold 2040 characters; joining up to that keeps the last entry whole. The text
  // is encoded before it is cut, so an escape split between two pieces is whole again when read.
  const std::wstring joined = JoinHistory(store, entries, kHistoryKeyLength * kReplaceHistoryPieces);
  for (int piece = 0; piece < kReplaceHistoryPieces; ++piece) {
    const size_t start = static_cast<size_t>(piece) * kHistoryKeyLength;
    store.WriteText(PieceKey(prefix, piece + 1).c_str(),
                    start < joined.size() ? joined.substr(start, kHistoryKeyLength) : std::wstring());
  }
}

std::vector<std::wstring> ReadPieces(const SettingsStore& store, const wchar_t* prefix) {
  std::wstring joined;
  for (int piece = 1; piece <= kReplaceHistoryPieces; ++piece) joined += store.ReadText(PieceKey(prefix, piece).c_str(), L"");
  return SplitHistory(store.Decode(joined));
}

}  // namespace

void WriteReplaceHistories(const SettingsStore& store, const std::vector<std::wstring>& from,
                           const std::vector<std::wstring>& to) {
  WritePieces(store, L"replacefrom", from);
  WritePieces(store, L"replaceto", to);
  store.WriteText(L"replace1str", L"");
  store.WriteText(L"replace2str", L"");
}

void ReadReplaceHistories(const SettingsStore& store, std::vector<std::wstring>& from, std::vector<std::wstring>& to) {
  const std::wstring legacyFrom = store.ReadText(L"replace1str", L"");
  if (!legacyFrom.empty() && store.ReadText(L"replacefrom1", L"").empty()) {
    from = SplitHistory(store.Decode(legacyFrom));
    to = SplitHistory(store.Decode(store.ReadText(L"replace2str", L"")));
    return;
  }
  from = ReadPieces(store, L"replacefrom");
  to = ReadPieces(store, L"replaceto");
}

}  // namespace korval
