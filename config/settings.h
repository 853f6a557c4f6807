// The persisted settings of the main program: one record per key with its bound and default, the
// packed option words, the input histories, and the load and save sequences.
#pragma once

#include <string>
#include <vector>

#include "config/settings_store.h"
#include "modes/input_log.h"
#include "modes/quicktime_date.h"
#include "platform/windows_version.h"

namespace korval {

inline constexpr int kProgramVersion = 4231201;  // 0x409021, written as `_version`
inline constexpr const wchar_t* kFilterHistoryFirst = L"リスト選択";
inline constexpr const wchar_t* kDefaultExceptionWords = L"a an and at by for in into of on or the to with";
inline constexpr int kHistoryEntries = 64;

// When a record is read and written.
enum class RecordKind {
  Packed = 0,        // lives inside a packed word, no key of its own
  Exit = 1,          // written at exit by the generic loop
  ReadOnly = 2,      // read at start, never written by the exit save
  ExitReread = 3,    // like Exit, and read again when the window is first shown
  AfterColumns = 4,  // written at exit after the column layout
  AfterColumnsLast = 5,
  Geometry = 6,      // window and column geometry, written when the window is in its normal state
};

struct Settings {
  // Packed into `option1`.
  int force1 = 0, force2 = 0, force3 = 1, force4 = 1;
  int chgconfirm = 1;
  int enterdont = 0;
  int showRenameErrors = 1;
  int collisionOption = 8;  // bit 3: add a serial on a collision; bits 0-2: its format 0..5
  // Packed into `option2`.
  int del = 0;
  int maxfilenum = 1;  // index into the maximum row table
  int writelog = 1;
  int shortcutlink = 0;
  int subdir = 1;
  int subdirtree = 1;
  // `option3`: the switches of the fixed settings.
  int option3 = 0;
  // Packed into `option4`.
  int listcols1 = 1, listcols2 = 1;
  int sizeUnit = 0;  // 0 bytes, 1 KB, 2 MB
  int readReadOnly = 1, readHidden = 1, readSystem = 1;  // attribute filter: read such items
  int extFilterExclude = 1;   // extension filter: 1 "以外", 0 "のみ"
  int sizeFilterExclude = 0;  // size filter: 1 "以外", 0 "のみ"

  int mode = 0;  // change mode number minus 1
  int headcount = 0x13245;
  int dispcontrols = 6;
  int attribute = 0x2222;
  int zentohan = 0;
  int version = -1;  // `_version`
  int count = 0;     // `_count`

  // Keys of their own.
  int topmost = 0, numinspos = 0, bigsmall = 0, dbytebig = 0, real8_3 = 0;
  int listcolor1 = 10494780, listcolor2 = 255, listcolor3 = 16768220;
  int wwidth = -1, wheight = -1, wleft = -1, wtop = -1, treewidth = 180;
  int head1w = 192, head2w = 60, head3w = 170, head4w = 179, head5w = 98, head6w = 120;
  int repmode = 0, whichdate = 0, datefrom = 0, dateins = 0, addlen = 0, dellen = 0;
  int dirrenreset = 0, stampnow = 0, bmargin = 0, rmargin = 0, adddiffpad = 0, folderread = 0;
  int regexp = 0, usejpname = 1, txteditor = 0, sortnumlogical = 1, savecsvfmt = 0;
  int rndpattern = 3, rndext = 0, rndlen = 3, txtedtbox = 1, multiple = 0, filefolder = 0;
  int extadd = 0, dispcmenu = 0, deltype = 0, repwithext = 0, nonsjiswarn = 1, addyymmdd = 0;
  int addrenmsg = 1, repcase = 1, creatmodif = 0, timeplus = 0, addprepost = 0, zenorhan = 0;
  int macrono = 0, fwdback = 0, columndate = 1, propno = 0, textedtext = 1, timestpsm = 0;
  int macromsec = 200, inputlog = 255, dellen2 = 255, addrenbegin = 0, posedtnoext = 0, cliptsv = 0;
  int livepreview = 1;  // new names shown while the panel is typed in ("入力中に変更後の名前を表示")

  // The live list target (0 files, 1 folders): from `filefolder` at start or the command line.
  int file_dir = 0;

  std::wstring basepath, sepstr, filterextall, editorpath, faddstr, frenbanstr, fsepstr;
  std::wstring filterfsize1 = L"0", filterfsize2 = L"999999999";
  std::wstring bsexcept0, bsexcept1, bsexcept2 = kDefaultExceptionWords;
  std::wstring listfont, autoaddopt = L"/file /subfolder0", timezone = kSystemTimeZone, ymdform;

  // Input histories, newest first.
  std::vector<std::wstring> filterHistory{kFilterHistoryFirst};  // `lfiltstr`
  std::vector<std::wstring> addHistory;                          // `addstr`
  std::vector<std::wstring> serialHistory;                       // `renbanstr`
  std::vector<std::wstring> extHistory;                          // `extstr`
  std::vector<std::wstring> replaceFromHistory;                  // `replacefrom1`..`replacefrom8`
  std::vector<std::wstring> replaceToHistory;                    // `replaceto1`..`replaceto8`

  // Not stored: whether the folder verb of the shell is installed (read at start).
  bool shellVerbInstalled = false;
  // Not stored: the "No Sub Folder" question was asked in this run of the program.
  bool noSubFolderAsked = false;
};

struct IntRecord {
  const wchar_t* key;
  int Settings::*value;
  DWORD bound;
  int defaultValue;
  RecordKind kind;
  bool loadAtStart;
};

struct TextRecord {
  const wchar_t* key;
  std::wstring Settings::*value;
  const wchar_t* defaultValue;
  RecordKind kind;
  bool loadAtStart;
};

// The records of every key that has a key of its own (packed words and histories are separate).
const std::vector<IntRecord>& IntRecords();
const std::vector<TextRecord>& TextRecords();

// Packed words.
void DecodeOption1(DWORD word, Settings& s);
DWORD EncodeOption1(const Settings& s);
void DecodeOption2(DWORD word, Settings& s);
DWORD EncodeOption2(const Settings& s);
void DecodeOption4(DWORD word, Settings& s);
DWORD EncodeOption4(const Settings& s);
// Below 0x3333 the column order cannot be valid and reads as the default.
int DecodeHeadcount(int value);

// `option3` switches that keep a value fixed across runs.
inline constexpr int kFixWindow = 1;
inline constexpr int kFixColumns = 2;
inline constexpr int kFixMode = 4;
inline constexpr int kFixSerialStart = 8;
inline constexpr int kFixDateSeparator = 16;
inline constexpr int kFixAddText = 128;


struct LoadResult {
  bool firstStart = false;  // the very first start: the first-start dialog is due
};

// At window creation, in the documented order. Counts the start and writes `_count`.
LoadResult LoadSettings(const SettingsStore& store, const WindowsVersion& windows, Settings& s);
// When the window is first shown: `option1`, `attribute`, `zentohan` and the re-read records.
void LoadSettingsOnFirstShow(const SettingsStore& store, Settings& s);

enum class SaveReason { Exit = 0, SaveNow = 1 };
// windowNormal: the window is neither maximised nor minimised, so its geometry is worth keeping.
void SaveSettings(const SettingsStore& store, const Settings& s, SaveReason reason, bool windowNormal);

}  // namespace korval
