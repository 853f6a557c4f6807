// Undo: a change log slot loaded into the list as undo rows, and the undo run that walks those rows
// backwards restoring names, time stamps and attributes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/rename_list.h"
#include "engine/run_report.h"
#include "engine/show_message.h"
#include "platform/file_system.h"

namespace korval {

// How the undo talks to the user: the arguments of ShowMessage; returns the button pressed. The
// program passes ShowMessage itself; an empty function answers as a silenced box does (Yes when
// there is a Yes button, else OK).
using AskUser = std::function<int(MessageKind kind, int modeOrFlags, const std::wstring& s1,
                                  const std::wstring& s2, MessageClass messageClass)>;

// Told the progress bar's new position, 0..100.
using UndoProgress = std::function<void(int percent)>;

// The texts of the undo.
inline constexpr const wchar_t* kUndoCannotOpenText = L"ログファイルが開けませんでした。";
inline constexpr const wchar_t* kUndoCannotOpenCaption = L"Can't Open File!";
inline constexpr const wchar_t* kUndoEmptyText = L"変更するファイルリストが空です。";
inline constexpr const wchar_t* kUndoEmptyCaption = L"Empty List";
inline constexpr const wchar_t* kUndoConfirmText = L"UnDo(戻し)を実行しますか。";
inline constexpr const wchar_t* kUndoConfirmCaption = L"Rename?";
inline constexpr const wchar_t* kUndoUnknownText = L"この変更方法は定義されていません。";
inline constexpr const wchar_t* kUndoUnknownCaption = L"This Format is Not Defined";
// Reasons in the report of an undo.
inline constexpr const wchar_t* kReasonUndone = L"変更を元に戻しました";
inline constexpr const wchar_t* kReasonUndoneElsewhere =
    L"元の名前にほかの項目があったため、連番を付けた名前に戻しました";

enum class UndoLoadResult {
  Loaded,      // undo mode is on with at least one row
  Empty,       // undo mode is on, the slot held no usable line ("Empty List" was said)
  CannotOpen,  // the slot could not be read ("Can't Open File!" was said); undo mode is off
};

// Loads slot (0..9) of the logs in folder into the list as undo rows: column 0 shows what is on the
// disk now (the second field), column 3 what it will become again (the first), the folder column the
// tag, the extension a single space; then sets list.undoMode. The status says what the undo will meet
// (MarkUndoRows): UndoEntry, or SourceMissing / TargetExists before anything is renamed. When the slot
// cannot be read, undo mode is left (its rows dropped) and a list that was not in undo mode is kept.
UndoLoadResult LoadUndoList(RenameList& list, const std::wstring& folder, int slot, const AskUser& ask,
                            FileSystem& fs = SystemFileSystem());

struct UndoOptions {
  int chgconfirm = 0;    // 1 or 2: ask once before the undo starts
  bool ntFamily = true;  // false: renames go through a temporary name in two steps
};

struct UndoOutcome {
  int undone = 0;        // rows whose change was reverted
  int failed = 0;        // rows whose revert failed (the user was asked)
  bool stopped = false;  // declined, answered No after a failure, or an unknown tag
};

// The report's row for an undo row, not (yet) undone for the reason: the name as it is now and the
// name it gets back, in its folder; for a time stamp or attribute line the file's name and what is
// restored.
ReportRow UndoReportRow(const RenameItem& row, const wchar_t* reason);

// go: undo every row, from the last to the first, each row leaving the list as it is done. Whether
// or not, undo mode ends and the list is cleared (rows not undone are dropped from the list, never
// from the log). A rename never replaces an existing file. record, when given, receives one row per
// line of the log, in the log's order: undone (変更), failed (失敗) or not undone (スキップ), and why.
UndoOutcome RunUndo(RenameList& list, bool go, const UndoOptions& options, FileSystem& fs, const AskUser& ask,
                    const UndoProgress& progress = {}, std::vector<ReportRow>* record = nullptr);

}  // namespace korval
