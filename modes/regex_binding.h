// The regular expression library of one run: loaded by name when a run with regular expressions
// starts ("BREGONIG.DLL", wide; else "BREGEXP.DLL", ANSI) and released when it ends.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "modes/mode_params.h"
#include "modes/tags_in_names.h"
#include "platform/file_system.h"
#include "regex/regex_api.h"

namespace korval {

inline constexpr const wchar_t* kWideRegexLibrary = L"BREGONIG.DLL";
inline constexpr const wchar_t* kAnsiRegexLibrary = L"BREGEXP.DLL";
// Shown when neither library loads; "%s" is the ANSI library's name.
inline constexpr const wchar_t* kRegexLibraryMissingText = L"正規表現に必要な %s が正しく読み込めませんでした。";
inline constexpr const wchar_t* kRegexLibraryMissingCaption = L"DLL Not Found";
// Shown after a run that met characters the ANSI library cannot take (Yes keeps the warning on).
inline constexpr const wchar_t* kNonSjisWarningText =
    L"S-JISで表現できない文字があるため、正規表現の処理ができませんでした。\r\n\r\n"
    L"bregonig.dllによりUnicodeに対応した正規表現が利用できます。\r\n詳しくはreadme.txtを参照ください。\r\n\r\n"
    L"今後もこのエラーを表示しますか。";
inline constexpr const wchar_t* kNonSjisWarningCaption = L"Non S-JIS Character Error";
// Shown once after a run in which a match used up the library's budget; "%s" is the first name it
// was cut off on. The status bar says kRegexCutOffHint.
inline constexpr const wchar_t* kRegexCutOffText =
    L"正規表現の誤り: パターンが複雑すぎて照合を打ち切りました。\r\n\r\n"
    L"次の名前とそれより後の名前は変更していません。\r\n%s";
// The same when the pass as a whole used up its time for matching (kRegexPassTime).
inline constexpr const wchar_t* kRegexPassCutOffText =
    L"正規表現の照合に時間がかかりすぎるため、照合を打ち切りました。\r\n\r\n"
    L"次の名前とそれより後の名前は変更していません。\r\n%s";
inline constexpr const wchar_t* kRegexCutOffCaption = L"Regular Expression Cut Off";
inline constexpr const wchar_t* kRegexCutOffHint = L"正規表現の照合を打ち切りました（パターンが複雑すぎます）: ";
inline constexpr const wchar_t* kRegexPassCutOffHint = L"正規表現の照合を打ち切りました（時間がかかりすぎます）: ";
// Why a row the cut left is not changed (the list marks it failed, the plan and the report skip it).
inline constexpr const wchar_t* kReasonRegexCutOff = L"正規表現の照合を打ち切ったため、名前を決められませんでした";

// The time the matching of one whole pass may take: each call has its own budget, but names that
// each stay just under it would hold a preview or an execution for minutes. Ten seconds and one
// millisecond per row (about a minute for the largest list).
inline constexpr std::chrono::milliseconds kRegexPassBaseTime{10000};
inline constexpr std::chrono::microseconds kRegexPassTimePerRow{1000};
std::chrono::nanoseconds RegexPassTime(size_t rows);
// What a row's name becomes when the wide library's substitution cannot be called.
inline constexpr const wchar_t* kWideCallFailedText = L"*** DLL ERROR *** BSubstW関数呼び出しに失敗";

class RegexBinding {
 public:
  RegexBinding() = default;
  ~RegexBinding() { Release(); }
  RegexBinding(const RegexBinding&) = delete;
  RegexBinding& operator=(const RegexBinding&) = delete;

  // Loads the wide library, else the ANSI one, by name; false when neither loads (the run must not
  // start: say kRegexLibraryMissingText). Tests name other files to reach the fallback.
  bool Load(const wchar_t* wideLibrary = kWideRegexLibrary, const wchar_t* ansiLibrary = kAnsiRegexLibrary);
  void Release();
  bool Loaded() const { return module_ != nullptr; }
  bool Wide() const { return wide_; }

  // Set by any row that met characters outside the ANSI code page; read once after the run.
  bool nonSjisFound = false;
  // Set when a match used up the library's budget (kRegexCutOffMessage); from then on the run
  // leaves every name as it is, so a pattern that stalls costs one budget per run, not per row.
  bool cutOff = false;
  bool passTimeUsedUp = false;  // the cut came from the pass's time (SetPassTime), not from one call
  std::wstring cutOffName;      // the working text of the row it happened on
  // The time the library's calls of this pass may take in all; from then on the pass is cut off as
  // when one call used up its budget.
  void SetPassTime(std::chrono::nanoseconds time) { passTime_ = time; }

 private:
  friend bool ReplaceWithLibrary(RegexBinding&, const ModeParams&, std::wstring&, const std::wstring&, FileSystem&,
                                 RowTags*);
  // The library's commands for params' items, built again only when the items or options change
  // (a run calls with the same ones for every row).
  const std::vector<std::wstring>& Commands(const ModeParams& params);
  void FreeRecords();

  HMODULE module_ = nullptr;
  bool wide_ = true;
  BSubstWProc substW_ = nullptr;
  BRegfreeWProc freeW_ = nullptr;
  BSubstProc substA_ = nullptr;
  BRegfreeProc freeA_ = nullptr;
  // Kept from row to row and released with the library: the libraries reuse what a record holds.
  RegexRecordW* wideRecord_ = nullptr;
  RegexRecordA* ansiRecord_ = nullptr;
  std::vector<std::wstring> searches_, replacements_, commands_;
  int repmode_ = -1, repcase_ = -1;
  std::vector<wchar_t> text_;  // the writable copy of the text each call is given
  std::wstring original_;      // the row's name before its first item
  std::chrono::nanoseconds passTime_ = std::chrono::nanoseconds::max();
  std::chrono::nanoseconds spent_{0};
  unsigned rowsSeen_ = 0;
};

// Runs every item of the row through the library, then expands the doubled special sequences and
// the tags.
// Returns false when the row's extension must be dropped (an ANSI library error text stands in the
// name).
bool ReplaceWithLibrary(RegexBinding& binding, const ModeParams& params, std::wstring& working,
                        const std::wstring& source, FileSystem& fs, RowTags* tags = nullptr);

}  // namespace korval
