// The executor: one pass over the rename list that previews (computes every row's new name and
// status) or executes (changes every eligible row on disk, logs it, settles name collisions and
// decides what becomes of the rows).
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "engine/kept_listings.h"
#include "engine/rename_list.h"
#include "engine/run_report.h"
#include "modes/quicktime_date.h"
#include "modes/read_mode_params.h"
#include "modes/tags_in_names.h"
#include "platform/file_system.h"

namespace korval {

// The change log cannot be created: the run could not be undone. Automatic runs go on, as they answer
// every question with Yes.
inline constexpr const wchar_t* kLogCreateFailedText =
    L"変更ログを作成できないため、この変更はUnDoできません。\r\n\r\n変更を続けますか。";
inline constexpr const wchar_t* kLogCreateFailedCaption = L"Cannot Write Log";
// Said after a run that went on without its log: a script must not take it for one that never started.
inline constexpr const wchar_t* kChangedUnloggedText =
    L"変更ログを作成できなかったため、%d 個の変更はUnDoできません。";
inline constexpr const wchar_t* kReasonUnlogged = L"（変更ログなし: UnDoできません）";
// An unattended run tells why rows were left alone: nobody sees their status icons.
inline constexpr const wchar_t* kRowsLeftAloneText =
    L"変更後の名前が使えない・長すぎるなどのため、変更しなかった項目が %d 個あります。";
inline constexpr const wchar_t* kRowsLeftAloneCaption = L"Not Changed";
// A line of the change log could not be written: the change just made was taken back and the run stops.
inline constexpr const wchar_t* kLogWriteFailedText =
    L"変更ログに書き込めなかったため、直前の変更を元に戻して処理を中止しました。";
inline constexpr const wchar_t* kLogWriteFailedCaption = L"Log Write Failed";

// The finished log could not take its slot: it stays in slot 0 and is moved at the next run or start.
inline constexpr const wchar_t* kLogRotateFailedText =
    L"変更ログを所定の場所に移せませんでした。\r\n\r\n次回の起動時または変更時に移されるまで、この変更はUnDoできません。";
inline constexpr const wchar_t* kLogRotateFailedCaption = L"Log Rotation Failed";
// Why a row may not take the path of the run's report.
inline constexpr const wchar_t* kReasonReportPath = L"レポートファイルと同じ名前には変更できません";

enum class RunKind { EditorPreview = -1, Preview = 0, Execute = 1 };
enum class ListAfterRun { ClearAll = 0, ClearSucceeded = 1, Keep = 2, Continue = 3 };

// The settings the executor reads.
struct ExecuteOptions {
  int chgconfirm = 1;
  int force1 = 0, force2 = 0, force3 = 1, force4 = 1;
  int del = 0;  // ListAfterRun
  int writelog = 1;
  int collisionOption = 8;
  int adddiffpad = 0, addrenbegin = 0, addrenmsg = 1;
  int nonsjiswarn = 1;
  int showRenameErrors = 1;
  int enterdont = 0;
  int fileDir = 0;
  int filefolder = 0, folderread = 0;
  bool ntFamily = true;
  // The system takes paths of 260 characters or more for the programs (platform/long_paths.h): a
  // new path may be that long; where it does not, such a path is TooLong (an item already that long
  // is still renamed to a shorter one).
  bool longPaths = false;
  std::wstring timezone = kSystemTimeZone;
  bool dateColumnShown = false;  // `listcols2`
  int columndate = 1;            // 0 creation, 1 modification, 2 capture, 3 capture or creation
};

// What each row of an execution did, in list order, for the report of an unattended run.
struct RunRecord {
  std::vector<ReportRow> rows;
  bool plan = false;  // the execution ran on a plan's file system: nothing was changed
};

// What lives between passes; the main window reads and shows it.
struct RunState {
  bool previewed = false;       // names were computed and not yet executed
  bool enterExecutes = false;   // the next Enter executes
  bool shiftEnter = false;      // the run was started with Shift+Enter
  bool recording = false;       // a macro is being recorded: the list always continues
  bool editedInTextEditor = false;
  bool passRunning = false;     // a preview or execution is under way (its message boxes may be open)
};

// What one pass did.
struct RunReport {
  int changed = 0;
  int failed = 0;       // rows the pass was to change and did not: skipped, declined or failed
  int skipped = 0;      // of those, rows left alone by their status (a name the system would refuse ...)
  int alreadyDone = 0;  // of those, rows with nothing to change (the name is already the new one)
  int serialRows = 0;   // rows that kept a collision serial
  bool logged = false;  // a change log slot was written
  bool aborted = false;
  bool refused = false;   // the pass was refused before its first row (ExecuteChanges returned 1)
  bool unlogged = false;  // an execution could not create its change log
  std::wstring hint;      // a preview: why the first name the system refuses is invalid (the status bar's hint)
};

struct ExecuteContext {
  RenameList* list = nullptr;
  int mode = 1;
  PanelValues* panel = nullptr;  // read into the mode parameters at the start of the pass
  ModeParams* params = nullptr;  // the program's mode parameters (they keep the exception texts)
  InputHistories histories;
  const AutoReplace* autoReplace = nullptr;
  std::wstring filterText;  // the narrowing filter, applied in its selection form before a preview
  ExecuteOptions options;
  RunState* state = nullptr;
  FileSystem* fs = &SystemFileSystem();
  std::wstring programFolder;  // where the change log slots live
  std::function<void(int percent)> progress;  // 0..100 for the window's progress bar
  // The list's folders as listed when read: a preview asks them whether a name is taken, and an
  // execution marks them stale (it asks the file system itself).
  KeptListings* keptListings = nullptr;
  // Asked now and then during a pass, between rows: true stops it where it is (the user typed on, or
  // pressed Esc). The rows a stopped preview did not reach lose their names and statuses, and the
  // preview waits for no Enter; the rows a stopped execution did not reach are left as they are.
  std::function<bool()> interrupted;
  // A preview keeps the rows' new names and checks their statuses only: names drawn by chance are
  // drawn once per preview, and an outside change must not draw others behind the user's back.
  bool keepNewNames = false;
  // The time the regular expressions of the whole pass may take; zero: RegexPassTime of its rows.
  std::chrono::nanoseconds regexPassTime{0};
  // The tags read from files in earlier passes (the window keeps them while it lives); null: the
  // pass reads what it needs for itself.
  TagCache* tagCache = nullptr;
  // Settings the pass may change (the "今後もこのエラーを表示しますか" answer).
  int* nonsjiswarnSetting = nullptr;

  // Macro playback and recording, set by the window while they run.
  // A playback step after the first works on the names the step before produced.
  bool sourceFromNewNames = false;
  // A preview in the macro mode reads the macro file before its first row; false when it cannot.
  std::function<bool()> readMacro;
  // An execution that changed something while a macro is being recorded hands its mode over.
  std::function<void(int mode)> recordStep;

  // An execution writes here what became of each row (rows the pass never reached included).
  RunRecord* record = nullptr;
  // A full path no row may take as its new name: the report or plan file of an unattended run.
  std::wstring reservedPath;
};

inline constexpr const wchar_t* kMacroUnreadableText = L"マクロファイルが開けません。";
inline constexpr const wchar_t* kMacroUnreadableCaption = L"Can't Open Macro File";

// Returns 0, or 1 when the pass was refused before the first row (empty list, too many characters,
// regular expression library missing).
int ExecuteChanges(RunKind kind, ExecuteContext& context, RunReport* report = nullptr);

}  // namespace korval
