// The settings records and the load and save sequences of the main program.
#include "config/settings.h"

#include <cstdlib>
#include <ctime>

#include "config/input_history.h"
#include "config/shell_verb.h"
#include "platform/data_files.h"

namespace korval {
namespace {

using K = RecordKind;
using S = Settings;

// Packed words and special keys: bound and default.
constexpr DWORD kOption1Bound = 0xFFFFF, kOption1Default = 0x81031;
constexpr DWORD kOption2Bound = 0xFFFFFF, kOption2Default = 0x110110;
constexpr DWORD kOption3Bound = 0xFFFF;
constexpr DWORD kOption4Bound = 0xFFFFFFF, kOption4Default = 0x1100511;
constexpr DWORD kModeBound = 23;
constexpr DWORD kHeadcountBound = 0x543210;
constexpr int kHeadcountDefault = 0x13245, kHeadcountMinimum = 0x3333;
constexpr DWORD kDispcontrolsBound = 15;
constexpr DWORD kAttributeBound = 0x2222;
constexpr DWORD kZentohanBound = 0x1111;
constexpr DWORD kVersionBound = 0xFFFFFF;
constexpr DWORD kCountBound = 0xFFFFFFF;

int Bit(DWORD word, int bit) { return (word >> bit) & 1; }

void ReadRecords(const SettingsStore& store, Settings& s, bool (*wanted)(RecordKind)) {
  for (const IntRecord& r : IntRecords()) {
    if (r.loadAtStart && wanted(r.kind)) s.*r.value = store.ReadInt(r.key, r.bound, r.defaultValue);
  }
  for (const TextRecord& r : TextRecords()) {
    if (r.loadAtStart && wanted(r.kind)) s.*r.value = store.Decode(store.ReadText(r.key, r.defaultValue));
  }
}

void WriteRecords(const SettingsStore& store, const Settings& s, bool (*wanted)(RecordKind)) {
  for (const IntRecord& r : IntRecords()) {
    if (wanted(r.kind)) store.WriteInt(r.key, s.*r.value);
  }
  for (const TextRecord& r : TextRecords()) {
    if (wanted(r.kind)) store.WriteText(r.key, store.Encode(s.*r.value));
  }
}

bool IsOwnKey(RecordKind k) { return k != K::Packed; }
bool IsRereadKind(RecordKind k) { return k == K::ReadOnly || k == K::ExitReread; }
bool IsExitKind(RecordKind k) { return k == K::Exit || k == K::ExitReread; }
bool IsAfterColumnsKind(RecordKind k) { return k == K::AfterColumns || k == K::AfterColumnsLast; }
bool IsWindowGeometry(const IntRecord& r) {
  return r.kind == K::Geometry && (r.value == &S::wwidth || r.value == &S::wheight || r.value == &S::wleft ||
                                   r.value == &S::wtop || r.value == &S::treewidth);
}

void WriteGeometry(const SettingsStore& store, const Settings& s, bool window) {
  for (const IntRecord& r : IntRecords()) {
    if (r.kind == K::Geometry && IsWindowGeometry(r) == window) store.WriteInt(r.key, s.*r.value);
  }
}

void ReadHistories(const SettingsStore& store, Settings& s) {
  s.filterHistory = ReadHistory(store, L"lfiltstr");
  if (s.filterHistory.empty() || s.filterHistory.front() != kFilterHistoryFirst) {
    s.filterHistory.insert(s.filterHistory.begin(), kFilterHistoryFirst);
  }
  s.addHistory = ReadHistory(store, L"addstr");
  s.serialHistory = ReadHistory(store, L"renbanstr");
  s.extHistory = ReadHistory(store, L"extstr");
  ReadReplaceHistories(store, s.replaceFromHistory, s.replaceToHistory);
}

void WriteHistories(const SettingsStore& store, const Settings& s) {
  if (s.inputlog & kLogFilter) WriteHistory(store, L"lfiltstr", s.filterHistory);
  if (s.inputlog & kLogReplace) WriteReplaceHistories(store, s.replaceFromHistory, s.replaceToHistory);
  if (s.inputlog & kLogOther) {
    WriteHistory(store, L"addstr", s.addHistory);
    WriteHistory(store, L"renbanstr", s.serialHistory);
    WriteHistory(store, L"extstr", s.extHistory);
  }
}

void CountStartInVendorKey() {
  RegistryData tools;
  RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
  const int count = static_cast<int>(tools.number);
  tools.number = count <= 0 ? 1 : count + 1;
  RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
}

void DeleteEmptyMacroList(const SettingsStore& store) {
  const size_t slash = store.IniPath().find_last_of(L'\\');
  const std::wstring folder = store.IniPath().substr(0, slash + 1);
  const std::wstring list = DataFilePath(DataFile::MacroList, folder);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(list.c_str(), GetFileExInfoStandard, &data)) return;
  if (data.nFileSizeHigh != 0 || data.nFileSizeLow != 0 || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  SetFileAttributesW(list.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(list.c_str());
}

}  // namespace

const std::vector<IntRecord>& IntRecords() {
  static const std::vector<IntRecord> records = {
      {L"topmost", &S::topmost, 1, 0, K::ExitReread, true},
      {L"numinspos", &S::numinspos, 4, 0, K::Exit, true},
      {L"bigsmall", &S::bigsmall, 4, 0, K::Exit, true},
      {L"dbytebig", &S::dbytebig, 1, 0, K::Exit, true},
      {L"real8_3", &S::real8_3, 2, 0, K::Exit, true},
      {L"listcolor1", &S::listcolor1, 16777215, 10494780, K::AfterColumns, true},
      {L"listcolor2", &S::listcolor2, 16777215, 255, K::AfterColumns, true},
      {L"listcolor3", &S::listcolor3, 16777215, 16768220, K::AfterColumns, true},
      {L"wwidth", &S::wwidth, 32767, -1, K::Geometry, true},
      {L"wheight", &S::wheight, 32767, -1, K::Geometry, true},
      {L"wleft", &S::wleft, 32767, -1, K::Geometry, true},
      {L"wtop", &S::wtop, 32767, -1, K::Geometry, true},
      {L"treewidth", &S::treewidth, 32767, 180, K::Geometry, true},
      {L"head1w", &S::head1w, 2000, 192, K::Geometry, true},
      {L"head2w", &S::head2w, 2000, 60, K::Geometry, true},
      {L"head3w", &S::head3w, 2000, 170, K::Geometry, true},
      {L"head4w", &S::head4w, 2000, 179, K::Geometry, true},
      {L"head5w", &S::head5w, 2000, 98, K::Geometry, true},
      {L"head6w", &S::head6w, 2000, 120, K::Geometry, true},
      {L"repmode", &S::repmode, 2, 0, K::Exit, true},
      {L"whichdate", &S::whichdate, 3, 0, K::Exit, true},
      {L"datefrom", &S::datefrom, 8, 0, K::Exit, true},
      {L"dateins", &S::dateins, 4, 0, K::Exit, true},
      {L"addlen", &S::addlen, 255, 0, K::Exit, true},
      {L"dellen", &S::dellen, 255, 0, K::Exit, true},
      {L"dirrenreset", &S::dirrenreset, 1, 0, K::Exit, true},
      {L"stampnow", &S::stampnow, 1, 0, K::Exit, true},
      {L"bmargin", &S::bmargin, 100, 0, K::Exit, true},
      {L"rmargin", &S::rmargin, 100, 0, K::Exit, true},
      {L"adddiffpad", &S::adddiffpad, 2, 0, K::Exit, true},
      {L"folderread", &S::folderread, 2, 0, K::Exit, true},
      {L"regexp", &S::regexp, 1, 0, K::Exit, true},
      {L"usejpname", &S::usejpname, 1, 1, K::Exit, true},
      {L"txteditor", &S::txteditor, 2, 0, K::Exit, true},
      {L"sortnumlogical", &S::sortnumlogical, 1, 1, K::Exit, true},
      {L"savecsvfmt", &S::savecsvfmt, 1, 0, K::Exit, true},
      {L"rndpattern", &S::rndpattern, 6, 3, K::Exit, true},
      {L"rndext", &S::rndext, 3, 0, K::Exit, true},
      {L"rndlen", &S::rndlen, 5, 3, K::Exit, true},
      {L"txtedtbox", &S::txtedtbox, 1, 1, K::Exit, true},
      {L"multiple", &S::multiple, 1, 0, K::Exit, true},
      {L"filefolder", &S::filefolder, 1, 0, K::Exit, true},
      {L"extadd", &S::extadd, 1, 0, K::Exit, true},
      {L"dispcmenu", &S::dispcmenu, 1, 0, K::Exit, true},
      {L"deltype", &S::deltype, 11, 0, K::Exit, true},
      {L"repwithext", &S::repwithext, 1, 0, K::Exit, true},
      {L"nonsjiswarn", &S::nonsjiswarn, 1, 1, K::Exit, true},
      {L"addyymmdd", &S::addyymmdd, 1, 0, K::Exit, true},
      {L"addrenmsg", &S::addrenmsg, 1, 1, K::Exit, true},
      {L"repcase", &S::repcase, 1, 1, K::Exit, true},
      {L"creatmodif", &S::creatmodif, 6, 0, K::Exit, true},
      {L"timeplus", &S::timeplus, 604800, 0, K::Exit, true},
      {L"addprepost", &S::addprepost, 1, 0, K::Exit, true},
      {L"zenorhan", &S::zenorhan, 1, 0, K::Exit, true},
      {L"macrono", &S::macrono, 24, 0, K::Exit, true},
      {L"fwdback", &S::fwdback, 1, 0, K::Exit, true},
      {L"columndate", &S::columndate, 3, 1, K::Exit, true},
      {L"propno", &S::propno, 4, 0, K::Exit, true},
      {L"textedtext", &S::textedtext, 1, 1, K::Exit, true},
      {L"timestpsm", &S::timestpsm, 2, 0, K::Exit, true},
      {L"macromsec", &S::macromsec, 10000, 200, K::ReadOnly, true},
      {L"inputlog", &S::inputlog, 255, 255, K::Exit, true},
      {L"dellen2", &S::dellen2, 255, 255, K::Exit, true},
      {L"addrenbegin", &S::addrenbegin, 1, 0, K::Exit, true},
      {L"posedtnoext", &S::posedtnoext, 1, 0, K::Exit, true},
      {L"cliptsv", &S::cliptsv, 1, 0, K::ReadOnly, true},
      {L"livepreview", &S::livepreview, 1, 1, K::Exit, true},
  };
  return records;
}

const std::vector<TextRecord>& TextRecords() {
  static const std::vector<TextRecord> records = {
      {L"basepath", &S::basepath, L"", K::Exit, true},
      {L"sepstr", &S::sepstr, L"", K::Exit, true},
      {L"filterextall", &S::filterextall, L"", K::Exit, true},
      {L"editorpath", &S::editorpath, L"", K::Exit, true},
      {L"faddstr", &S::faddstr, L"", K::Exit, true},
      {L"frenbanstr", &S::frenbanstr, L"", K::Exit, true},
      {L"fsepstr", &S::fsepstr, L"", K::Exit, true},
      {L"filterfsize1", &S::filterfsize1, L"0", K::Exit, true},
      {L"filterfsize2", &S::filterfsize2, L"999999999", K::Exit, true},
      {L"bsexcept0", &S::bsexcept0, L"", K::Exit, true},
      {L"bsexcept1", &S::bsexcept1, L"", K::Exit, true},
      {L"bsexcept2", &S::bsexcept2, kDefaultExceptionWords, K::Exit, true},
      {L"listfont", &S::listfont, L"", K::AfterColumnsLast, true},
      {L"autoaddopt", &S::autoaddopt, L"/file /subfolder0", K::Exit, true},
      {L"timezone", &S::timezone, kSystemTimeZone, K::ReadOnly, true},
      {L"ymdform", &S::ymdform, L"", K::Exit, true},
  };
  return records;
}

void DecodeOption1(DWORD word, Settings& s) {
  const DWORD confirm = word & 0xF;
  s.chgconfirm = (confirm & 2) ? 2 : static_cast<int>(confirm & 1);
  s.force4 = Bit(word, 4);
  s.force3 = Bit(word, 5);
  s.force2 = Bit(word, 6);
  s.force1 = Bit(word, 7);
  s.enterdont = Bit(word, 8);
  s.showRenameErrors = Bit(word, 12);
  const int format = static_cast<int>((word >> 16) & 7);
  s.collisionOption = (Bit(word, 19) ? 8 : 0) | (format > 5 ? 5 : format);
}

DWORD EncodeOption1(const Settings& s) {
  return static_cast<DWORD>(s.chgconfirm & 3) | s.force4 << 4 | s.force3 << 5 | s.force2 << 6 | s.force1 << 7 |
         s.enterdont << 8 | s.showRenameErrors << 12 | static_cast<DWORD>(s.collisionOption & 0xF) << 16;
}

void DecodeOption2(DWORD word, Settings& s) {
  s.del = static_cast<int>(word & 3);
  const int maxIndex = static_cast<int>((word >> 4) & 7);
  s.maxfilenum = maxIndex > 6 ? 6 : maxIndex;
  s.writelog = Bit(word, 8);
  s.shortcutlink = Bit(word, 12);
  const int depth = static_cast<int>((word >> 16) & 0xF);
  s.subdir = depth > 12 ? 12 : depth;
  s.subdirtree = Bit(word, 20);
}

DWORD EncodeOption2(const Settings& s) {
  return static_cast<DWORD>(s.del & 3) | static_cast<DWORD>(s.maxfilenum & 7) << 4 | s.writelog << 8 |
         s.shortcutlink << 12 | static_cast<DWORD>(s.subdir & 0xF) << 16 | s.subdirtree << 20;
}

void DecodeOption4(DWORD word, Settings& s) {
  s.readReadOnly = Bit(word, 0);
  s.readHidden = Bit(word, 4);
  s.readSystem = Bit(word, 8);
  s.extFilterExclude = Bit(word, 10);
  s.sizeFilterExclude = Bit(word, 12);
  const int unit = static_cast<int>((word >> 16) & 3);
  s.sizeUnit = unit > 2 ? 2 : unit;
  s.listcols2 = Bit(word, 20);
  s.listcols1 = Bit(word, 24);
}

DWORD EncodeOption4(const Settings& s) {
  return static_cast<DWORD>(s.readReadOnly) | s.readHidden << 4 | s.readSystem << 8 | s.extFilterExclude << 10 |
         s.sizeFilterExclude << 12 | static_cast<DWORD>(s.sizeUnit & 3) << 16 | s.listcols2 << 20 | s.listcols1 << 24;
}

int DecodeHeadcount(int value) { return value < kHeadcountMinimum ? kHeadcountDefault : value; }

LoadResult LoadSettings(const SettingsStore& stored, const WindowsVersion& windows, Settings& s) {
  // A start counts itself under the file's lock: starts at the same moment each read the count the
  // one before wrote, so none loses a count or takes itself for the first start.
  std::unique_ptr<NamedLock> counting = stored.LockFile();
  const SettingsStore store = stored.ReadAtOnce();  // about a hundred keys, the file read once
  LoadResult result;
  if (store.Kind() == StoreKind::Ini && !store.HasKey(L"_version")) {
    // A move from the registry to the ini file keeps the version.
    SettingsStore registry(StoreKind::Registry, store.IniPath(), store.RegistryKey());
    s.version = registry.ReadInt(L"_version", kVersionBound, -1);
  } else {
    s.version = store.ReadInt(L"_version", kVersionBound, -1);
  }
  s.count = store.ReadInt(L"_count", kCountBound, 0);
  if (s.version < kProgramVersion || s.count <= 0) {
    result.firstStart = s.count <= 0;
    s.version = kProgramVersion;
    s.count = 1;
    if (store.Kind() == StoreKind::Registry) CountStartInVendorKey();
  } else {
    ++s.count;
  }
  store.WriteInt(L"_count", s.count);
  counting.reset();

  DecodeOption2(store.ReadInt(L"option2", kOption2Bound, kOption2Default), s);
  s.option3 = store.ReadInt(L"option3", kOption3Bound, 0);
  DecodeOption4(store.ReadInt(L"option4", kOption4Bound, kOption4Default), s);
  s.mode = store.ReadInt(L"mode", kModeBound, 0);
  s.headcount = DecodeHeadcount(store.ReadInt(L"headcount", kHeadcountBound, kHeadcountDefault));
  s.dispcontrols = store.ReadInt(L"dispcontrols", kDispcontrolsBound, windows.code < kCodeWindowsXP ? 5 : 6);
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  s.shellVerbInstalled = IsShellVerbInstalled(SystemRegistry());
  ReadRecords(store, s, IsOwnKey);
  ReadHistories(store, s);
  // A pattern typed into the date box is kept as -1 beside its text in `ymdform`; the record's
  // bound alone would read it back as the first listed pattern and lose what was typed.
  if (!s.ymdform.empty() && store.ReadInt(L"datefrom", 0xFFFFFFFFu, 0) == -1) s.datefrom = -1;
  s.file_dir = s.filefolder;
  return result;
}

void LoadSettingsOnFirstShow(const SettingsStore& stored, Settings& s) {
  const SettingsStore store = stored.ReadAtOnce();
  DecodeOption1(store.ReadInt(L"option1", kOption1Bound, kOption1Default), s);
  s.attribute = store.ReadInt(L"attribute", kAttributeBound, 0x2222);
  s.zentohan = store.ReadInt(L"zentohan", kZentohanBound, 0);
  ReadRecords(store, s, IsRereadKind);
}

void SaveSettings(const SettingsStore& store, const Settings& s, SaveReason reason, bool windowNormal) {
  // "Save now" exists to capture the values that the fixed settings keep, so it writes them.
  const bool exit = reason == SaveReason::Exit;
  const SettingsStore::Batch batch(store);  // the ini file changes once, with the keys that changed
  store.WriteInt(L"_version", kProgramVersion);
  store.WriteInt(L"option1", static_cast<int>(EncodeOption1(s)));
  store.WriteInt(L"option2", static_cast<int>(EncodeOption2(s)));
  store.WriteInt(L"option4", static_cast<int>(EncodeOption4(s)));
  store.WriteInt(L"dispcontrols", s.dispcontrols);
  store.WriteInt(L"attribute", s.attribute);
  store.WriteInt(L"zentohan", s.zentohan);
  WriteHistories(store, s);
  WriteRecords(store, s, IsExitKind);
  if (!(exit && (s.option3 & kFixMode))) store.WriteInt(L"mode", s.mode);
  if (windowNormal) {
    if (!(exit && (s.option3 & kFixWindow))) WriteGeometry(store, s, true);
    if (!(exit && (s.option3 & kFixColumns))) WriteGeometry(store, s, false);
  }
  if (!(exit && (s.option3 & kFixColumns))) store.WriteInt(L"headcount", s.headcount);
  WriteRecords(store, s, IsAfterColumnsKind);
  store.WriteInt(L"option3", s.option3);
  if (exit) DeleteEmptyMacroList(store);
}

}  // namespace korval
