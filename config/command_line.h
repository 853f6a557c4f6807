// The program's command line: the paths, the list target, depth, sort and filter options, and the
// automatic-run state (a macro slot or file, a replacement, time stamps, attributes, an undo).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "modes/read_mode_params.h"
#include "platform/message_sink.h"

namespace korval {

// The `AutoRun` word: the kind in the low seven bits, option bits above it.
inline constexpr int kAutoKindMask = 0x7f;
inline constexpr int kAutoShow = 0x80;
inline constexpr int kAutoNoExit = 0x100;
inline constexpr int kAutoMacroFile = 0x200;
inline constexpr int kAutoErrorMessages = 0x400;
inline constexpr int kAutoAllMessages = 0x800;

// Kinds other than the macro slots 1..25.
inline constexpr int kAutoNone = 0;
inline constexpr int kAutoLastMacroSlot = 25;
inline constexpr int kAutoAttributes = 51;   // attribute change (mode 14)
inline constexpr int kAutoTimestamp = 52;    // time stamp change (mode 13)
inline constexpr int kAutoReplacement = 53;  // replacement (mode 10)
inline constexpr int kAutoUndo = 54;         // undo of a change log slot

// A local date and time, as the caller's clock gives it.
struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool operator==(const LocalDateTime&) const = default;
};

inline constexpr int kMaxSecondsPerFile = 604800;
inline constexpr size_t kAutoReplaceTextLimit = 242;  // a text this long or longer is too long
inline constexpr size_t kFilterArgumentLimit = 256;   // a "/filter=" argument must be shorter

// Everything one start takes from its command line; a fresh value at every start.
struct CommandLine {
  int autoRun = 0;          // the `AutoRun` word; 0 is an ordinary interactive start
  std::wstring macroFile;   // "/autofile=": at most 259 characters
  int undoSlot = 0;         // 1..9 for an undo run
  int listTarget = -1;      // -1 not given, 0 files, 1 folders
  int folderRead = -1;      // -1 not given, 0 one level below, 1 the folder itself, 2 the whole tree
  int subfolderDepth = -1;  // -1 not given, 0..10
  int sortRequest = -1;     // -1 none, else column * 10 + direction (1 descending)
  bool testMode = false;
  bool hasFilter = false;
  std::wstring filterText;

  // Time stamp run: the selection (0 creation, 1 modification, 2 both, 3 creation from modification,
  // 4 modification from creation), the condition of 3 and 4 (0 always, 1 when later, 2 when
  // earlier), the base of the first row and the seconds added per row.
  int timestampSelection = 0;
  int timestampCondition = 0;
  LocalDateTime timestampBase;
  int secondsPerFile = 0;

  // Attribute run: read-only, hidden, archive, system; 0 clear, 1 set, 2 leave.
  std::array<int, 4> attributes{2, 2, 2, 2};

  // Replacement run: the texts as they stand, and the switches g, i and e.
  std::wstring replaceFrom, replaceTo;
  bool replaceTooLong = false;  // a text was dropped for its length: the run stops before any row
  bool replaceAll = false;
  bool ignoreCase = false;
  bool withExtension = false;

  // "/plan=FILE": the run previews, writes what each row would do and changes nothing;
  // "/report=FILE": the run happens and records what each row did. Only with an automatic-run form;
  // with both, the plan. An empty path is kept empty (it cannot be written: the run does not start).
  bool plan = false;
  bool report = false;
  std::wstring planPath, reportPath;

  std::vector<std::wstring> paths;  // the path arguments in order

  int Kind() const { return autoRun & kAutoKindMask; }
  bool IsAutomatic() const { return autoRun != 0; }
  bool Shows() const { return (autoRun & kAutoShow) != 0; }
  // A run closes itself afterwards unless it was told both "/show" and "/noexit".
  // Whether a report file was asked for, and which.
  bool WantsReport() const { return plan || report; }
  const std::wstring& ReportPath() const { return plan ? planPath : reportPath; }
  bool ClosesAfterRun() const { return (autoRun & (kAutoShow | kAutoNoExit)) != (kAutoShow | kAutoNoExit); }
};

// Reads the argument vector (argument 0 is the program) and the `autoaddopt` setting. now is the
// local time of the start, the base of the time stamp values. Never fails: what it cannot read is
// passed over.
CommandLine ParseCommandLine(const std::vector<std::wstring>& args, const std::wstring& autoaddopt,
                             const LocalDateTime& now);

// Makes the paths of the command line full (see platform/full_path.h), as the current folder of this
// start gives them: the rows, the change log, the report and the plan then name the items the user
// meant, whatever folder a later run or an undo starts from, and one item spelled two ways is one.
// A report or plan path that cannot be made full is emptied, so the run refuses to start.
void MakePathsFull(CommandLine& commandLine);

// Whether text is a replacement argument "s/SEARCH/REPLACE/FLAGS"; fills the replacement fields of
// out when it is.
bool ParseReplacementArgument(const std::wstring& text, CommandLine& out);

// Reads a time value behind "/autoctime", "/automtime" or "/autobtime" (from position 10 of arg).
bool ParseTimeValue(const std::wstring& arg, const LocalDateTime& now, LocalDateTime& base, int& secondsPerFile);

// The replacement of a replacement run in the form the mode parameters take (regular expressions on).
AutoReplace ToAutoReplace(const CommandLine& commandLine);

// The change mode an automatic run selects: 14 attributes, 13 time stamps, 10 replacement, the macro
// mode for a macro slot or file; 0 for an undo run and an interactive start.
int AutoRunMode(const CommandLine& commandLine);

// Puts the values of a time stamp or attribute run into the panel values the mode parameters are
// read from: the selection and condition with "現在時刻" off; for the selections that set a time, the
// seconds per file and the base date ("yyyy/MM/dd") and time ("HH:mm:ss"); or the four attribute
// choices. Other runs leave panel alone.
void ApplyAutoRunToPanel(const CommandLine& commandLine, PanelValues& panel);

// How messages are shown in this start: the message routine's policy.
MessagePolicy MessagePolicyOf(const CommandLine& commandLine);

}  // namespace korval
