// Reading and writing the editor's settings by name.
#include "macroedit/editor_settings.h"

#include <algorithm>
#include <initializer_list>

#include "config/registry.h"
#include "macroedit/editor_message.h"
#include "macroedit/editor_window.h"
#include "platform/format_text.h"

namespace korval {
namespace {

constexpr DWORD kScreenBound = 0x7FFFFFFF;
constexpr DWORD kVersionBound = 0x7FFFFFFF;

struct IntKey {
  const wchar_t* key;
  int PanelValues::*value;
  DWORD bound;
};

struct TextKey {
  const wchar_t* key;
  std::wstring PanelValues::*value;
};

constexpr IntKey kPanelInts[] = {
    {L"numinspos", &PanelValues::numinspos, 4},   {L"bigsmall", &PanelValues::bigsmall, 4},
    {L"dbytebig", &PanelValues::dbytebig, 1},     {L"real8_3", &PanelValues::real8_3, 2},
    {L"repmode", &PanelValues::repmode, 2},       {L"whichdate", &PanelValues::whichdate, 3},
    {L"datefrom", &PanelValues::datefrom, 8},     {L"dateins", &PanelValues::dateins, 4},
    {L"regexp", &PanelValues::regexp, 1},         {L"rndpattern", &PanelValues::rndpattern, 6},
    {L"rndext", &PanelValues::rndext, 3},         {L"rndlen", &PanelValues::rndlen, 5},
    {L"repwithext", &PanelValues::repwithext, 1}, {L"addyymmdd", &PanelValues::addyymmdd, 1},
    {L"repcase", &PanelValues::repcase, 1},       {L"dirrenreset", &PanelValues::dirrenreset, 1},
    {L"zenorhan", &PanelValues::zenorhan, 1},     {L"posedtnoext", &PanelValues::posedtnoext, 1},
    {L"extadd", &PanelValues::extadd, 1},         {L"deltype", &PanelValues::deltype, 11},
    {L"addprepost", &PanelValues::addprepost, 1}, {L"mode", &PanelValues::mode, 24},
};

constexpr TextKey kPanelTexts[] = {
    {L"addstr", &PanelValues::addstr},         {L"renbanstr", &PanelValues::renbanstr},
    {L"sepstr", &PanelValues::sepstr},         {L"extstr", &PanelValues::extensionText},
    {L"replace1str", &PanelValues::replaceFrom}, {L"replace2str", &PanelValues::replaceTo},
    {L"ymdform", &PanelValues::dateText},
};

// Numbers the panel keeps as the texts of their boxes, stored as numbers.
constexpr TextKey kPanelNumbers[] = {
    {L"addlen", &PanelValues::addlenText},
    {L"dellen", &PanelValues::dellenText},
    {L"dellen2", &PanelValues::dellen2Text},
};
constexpr DWORD kPanelNumberBound = 255;

struct WindowKey {
  const wchar_t* key;
  int EditorSettings::*value;
  DWORD bound;
};

constexpr WindowKey kWindowInts[] = {
    {L"wleft", &EditorSettings::wleft, kScreenBound},   {L"wtop", &EditorSettings::wtop, kScreenBound},
    {L"wwidth", &EditorSettings::wwidth, kScreenBound}, {L"wheight", &EditorSettings::wheight, kScreenBound},
    {L"head1w", &EditorSettings::head1w, 4000},         {L"head2w", &EditorSettings::head2w, 4000},
    {L"head3w", &EditorSettings::head3w, 4000},         {L"topmost", &EditorSettings::topmost, 1},
    {L"dispcontrols", &EditorSettings::statusBar, 1},   {L"maxmultirep", &EditorSettings::maxmultirep, 6},
    {L"headcount", &EditorSettings::headcount, 0x210},  {L"del", &EditorSettings::del, 3},
    {L"listcols1", &EditorSettings::listcols1, 1},      {L"listcols2", &EditorSettings::listcols2, 1},
    {L"bmargin", &EditorSettings::bmargin, 100},        {L"rmargin", &EditorSettings::rmargin, 100},
};

constexpr bool IsGeometry(const WindowKey& k) { return k.key[0] == L'w'; }

// Values of four digits each, packed one per hexadecimal digit, the first in the highest.
int PackDigits(std::initializer_list<int> digits) {
  int packed = 0;
  for (int digit : digits) packed = packed << 4 | (digit & 0xF);
  return packed;
}
int DigitOf(int packed, int index) { return (packed >> (4 * (3 - index))) & 0xF; }

// `timestamp`: the time stamp mode's choices (which times, how, forward or back, now); `attribute`:
// the four attribute choices, read-only first.
int PackTimestamp(const PanelValues& p) { return PackDigits({p.creatmodif, p.timestpsm, p.fwdback, p.stampnow}); }
void UnpackTimestamp(int packed, PanelValues& p) {
  p.creatmodif = std::min(DigitOf(packed, 0), 6);
  p.timestpsm = std::min(DigitOf(packed, 1), 2);
  p.fwdback = std::min(DigitOf(packed, 2), 1);
  p.stampnow = std::min(DigitOf(packed, 3), 1);
}
int PackAttributes(const PanelValues& p) {
  return PackDigits({p.attributes[0], p.attributes[1], p.attributes[2], p.attributes[3]});
}
void UnpackAttributes(int packed, PanelValues& p) {
  for (int i = 0; i < 4; ++i) p.attributes[static_cast<size_t>(i)] = std::min(DigitOf(packed, i), 2);
}

// The width classes are kept packed: 1 digits, 2 letters, 4 katakana, 8 symbols.
int PackWidthClasses(const PanelValues& p) {
  return p.widthDigits | p.widthLetters << 1 | p.widthKatakana << 2 | p.widthSymbols << 3;
}

void UnpackWidthClasses(int mask, PanelValues& p) {
  p.widthDigits = mask & 1;
  p.widthLetters = (mask >> 1) & 1;
  p.widthKatakana = (mask >> 2) & 1;
  p.widthSymbols = (mask >> 3) & 1;
}

void RaiseVendorCount() {
  RegistryData tools;
  RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
  const int count = static_cast<int>(tools.number);
  tools.number = count <= 0 ? 1 : count + 1;
  RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
}

// Lowers the vendor key's "tools" count, or removes the vendor key when this was the last program.
void ReadHistory(const SettingsStore& store, const wchar_t* prefix, std::vector<std::wstring>& history) {
  history.clear();
  for (size_t i = 1; i <= kReplaceHistoryEntries; ++i) {
    const std::wstring key = prefix + std::to_wstring(i);
    std::wstring entry = store.Decode(store.ReadText(key.c_str(), L""));
    if (entry.empty()) break;
    history.push_back(std::move(entry));
  }
}

void WriteHistory(const SettingsStore& store, const wchar_t* prefix, const std::vector<std::wstring>& history) {
  for (size_t i = 1; i <= kReplaceHistoryEntries; ++i) {
    const std::wstring key = prefix + std::to_wstring(i);
    store.WriteText(key.c_str(), store.Encode(i <= history.size() ? history[i - 1] : L""));
  }
}

bool ReleaseVendorKey() {
  RegistryData tools;
  RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
  const int count = static_cast<int>(tools.number);
  if (count > 1) {
    tools.number = static_cast<DWORD>(count - 1);
    return RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools) == 0;
  }
  return DeleteRegistryKey(HKEY_CURRENT_USER, kVendorKey) == 0;
}

}  // namespace

SettingsStore ChooseEditorStore(const std::wstring& programFolder) {
  const SettingsStore chosen = SettingsStore::Choose(programFolder, kEditorRegistryKey);
  return SettingsStore(chosen.Kind(), programFolder + kEditorIniName, kEditorRegistryKey);
}

void LoadEditorSettings(const SettingsStore& store, EditorSettings& s) {
  s.version = store.ReadInt(L"_version", kVersionBound, -1);
  s.count = store.ReadInt(L"_count", kVersionBound, 0);
  if (s.version < kEditorVersion || s.count <= 0) {
    s.version = kEditorVersion;
    s.count = 1;
    store.WriteInt(L"_version", s.version);
    if (store.Kind() == StoreKind::Registry) RaiseVendorCount();
  } else {
    ++s.count;
  }
  store.WriteInt(L"_count", s.count);

  for (const WindowKey& k : kWindowInts) {
    const int fallback = s.*k.value;
    // Positions may be negative; they are stored as their 32-bit pattern.
    s.*k.value = IsGeometry(k) ? static_cast<int>(store.ReadInt(k.key, 0xFFFFFFFF, fallback)) :
                                 store.ReadInt(k.key, k.bound, fallback);
  }
  for (const IntKey& k : kPanelInts) s.panel.*k.value = store.ReadInt(k.key, k.bound, s.panel.*k.value);
  for (const TextKey& k : kPanelTexts) s.panel.*k.value = store.Decode(store.ReadText(k.key, s.panel.*k.value));
  for (const TextKey& k : kPanelNumbers) {
    const int fallback = _wtoi((s.panel.*k.value).c_str());
    s.panel.*k.value = std::to_wstring(store.ReadInt(k.key, kPanelNumberBound, fallback));
  }
  UnpackWidthClasses(store.ReadInt(L"zentohan", 15, 0), s.panel);
  UnpackTimestamp(store.ReadInt(L"timestamp", 0x6211, PackTimestamp(s.panel)), s.panel);
  UnpackAttributes(store.ReadInt(L"attribute", 0x2222, PackAttributes(s.panel)), s.panel);
  s.bsexcept0 = store.Decode(store.ReadText(L"bsexcept0", s.bsexcept0));
  s.bsexcept1 = store.Decode(store.ReadText(L"bsexcept1", s.bsexcept1));
  s.bsexcept2 = store.Decode(store.ReadText(L"bsexcept2", s.bsexcept2));
  ReadHistory(store, L"replacefrom", s.replaceFromHistory);
  ReadHistory(store, L"replaceto", s.replaceToHistory);
  if (!s.panel.dateText.empty()) s.panel.datefrom = -1;  // a typed date pattern is kept only while in use
  s.panel.exceptionText = ExceptionWordsFor(s, s.panel.bigsmall);
}

void SaveEditorSettings(const SettingsStore& store, const EditorSettings& s, bool windowNormal) {
  store.WriteInt(L"_version", kEditorVersion);
  for (const WindowKey& k : kWindowInts) {
    if (IsGeometry(k) && !windowNormal) continue;
    store.WriteInt(k.key, s.*k.value);
  }
  PanelValues panel = s.panel;
  if (panel.datefrom >= 0) panel.dateText.clear();
  panel.datefrom = std::max(panel.datefrom, 0);
  for (const IntKey& k : kPanelInts) store.WriteInt(k.key, panel.*k.value);
  for (const TextKey& k : kPanelTexts) store.WriteText(k.key, store.Encode(panel.*k.value));
  for (const TextKey& k : kPanelNumbers) {
    store.WriteInt(k.key, std::clamp(_wtoi((panel.*k.value).c_str()), 0, static_cast<int>(kPanelNumberBound)));
  }
  store.WriteInt(L"zentohan", PackWidthClasses(panel));
  store.WriteInt(L"timestamp", PackTimestamp(panel));
  store.WriteInt(L"attribute", PackAttributes(panel));
  store.WriteText(L"bsexcept0", store.Encode(s.bsexcept0));
  store.WriteText(L"bsexcept1", store.Encode(s.bsexcept1));
  store.WriteText(L"bsexcept2", store.Encode(s.bsexcept2));
  WriteHistory(store, L"replacefrom", s.replaceFromHistory);
  WriteHistory(store, L"replaceto", s.replaceToHistory);
}

std::wstring& ExceptionWordsFor(EditorSettings& s, int bigsmall) {
  if (bigsmall == 1 || bigsmall == 2) return s.bsexcept1;
  if (bigsmall == 4) return s.bsexcept2;
  return s.bsexcept0;  // case 3 keeps no words; its box is left as it is
}

bool RemoveEditorSettings(const SettingsStore& store) {
  SettingsStore registry(StoreKind::Registry, store.IniPath(), store.RegistryKey());
  if (!registry.HasKey(L"_count")) {
    if (EditorMessage(L"設定(ini)ファイルを初期化して終了します。よろしいですか。", L"Initalize Config?",
                      MB_YESNO | MB_ICONQUESTION) != IDYES) {
      return false;
    }
    // The ini file becomes an empty section; write it whole.
    const HANDLE file = CreateFileW(store.IniPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, "[Base]\r\n", 8, &written, nullptr);
      CloseHandle(file);
    }
    return true;
  }
  if (EditorMessage(FormatText(L"%s のレジストリを削除して終了します。よろしいですか。\n", kEditorTitle),
                    L"Delete Reg & Close?", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
    return false;
  }
  const bool ownKeyDeleted = DeleteRegistryKey(HKEY_CURRENT_USER, kEditorRegistryKey) == 0;
  const bool vendorReleased = ReleaseVendorKey();
  if (!ownKeyDeleted && !vendorReleased) {
    EditorMessage(FormatText(L"%s のレジストリの削除に失敗しました。\nレジストリエディタを開いて\nHKEY_CURRENT_USER\\%s\n"
                             L"が残っていれば、それを直接削除してください。m(_ _)m",
                             kEditorTitle, kEditorRegistryKey),
                  L"[ERROR] Cannot Delete Registry", MB_OK | MB_ICONWARNING);
    return false;
  }
  EditorMessage(FormatText(L"%s のレジストリは正常に削除されました。", kEditorTitle), L"Registry Successfully Deleted",
                MB_OK | MB_ICONINFORMATION);
  return true;
}

}  // namespace korval
