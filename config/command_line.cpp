// Reading the command line into the start state: the automatic-run scan over the first twenty
// arguments, then the option flags of `autoaddopt` and of the arguments.
#include "config/command_line.h"

#include <algorithm>
#include <string_view>

#include "modes/change_mode.h"
#include "platform/format_text.h"
#include "platform/full_path.h"
#include "platform/path_limits.h"
#include "platform/digits.h"

namespace korval {
namespace {

constexpr int kScannedArguments = 20;

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// A value optionally in double quotes: the opening quote and a closing one are dropped.
std::wstring_view Unquoted(std::wstring_view value) {
  if (!value.empty() && value.front() == L'"') {
    value.remove_prefix(1);
    if (!value.empty() && value.back() == L'"') value.remove_suffix(1);
  }
  return value;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool ReadDate(std::wstring_view text, size_t pos, LocalDateTime& out) {
  int year, month, day;
  if (!ReadFixedDigits(text, pos, 4, year) || !ReadFixedDigits(text, pos + 4, 2, month) || !ReadFixedDigits(text, pos + 6, 2, day))
    return false;
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  out.year = year;
  out.month = month;
  out.day = day;
  return true;
}

bool ReadTimeOfDay(std::wstring_view text, size_t pos, LocalDateTime& out) {
  int hour, minute, second;
  if (!ReadFixedDigits(text, pos, 2, hour) || !ReadFixedDigits(text, pos + 2, 2, minute) || !ReadFixedDigits(text, pos + 4, 2, second))
    return false;
  if (hour > 23 || minute > 59 || second > 59) return false;
  out.hour = hour;
  out.minute = minute;
  out.second = second;
  return true;
}

// The end of a time value: nothing, or "+" and the seconds per file.
bool ReadStep(std::wstring_view text, size_t pos, int& step) {
  step = 0;
  if (pos >= text.size()) return pos == text.size();
  if (text[pos] != L'+') return false;
  const size_t digits = text.size() - pos - 1;
  if (digits < 1 || digits > 6) return false;
  int value;
  if (!ReadFixedDigits(text, pos + 1, digits, value) || value > kMaxSecondsPerFile) return false;
  step = value;
  return true;
}

// "/auto" followed by 1..9 or 10..25, nothing else.
int MacroSlotOf(std::wstring_view arg) {
  if (!StartsWith(arg, L"/auto")) return 0;
  int slot;
  if (arg.size() == 6 && ReadFixedDigits(arg, 5, 1, slot) && slot >= 1) return slot;
  if (arg.size() == 7 && ReadFixedDigits(arg, 5, 2, slot) && slot >= 10 && slot <= kAutoLastMacroSlot) return slot;
  return 0;
}

bool ReadAttributes(std::wstring_view arg, std::array<int, 4>& attributes) {
  if (arg.size() != 13 || !StartsWith(arg, L"/autoattr")) return false;
  std::array<int, 4> values{};
  for (size_t i = 0; i < 4; ++i) {
    const wchar_t c = arg[9 + i];
    if (c == L'0') values[i] = 0;
    else if (c == L'1') values[i] = 1;
    else if (c == L'-') values[i] = 2;
    else return false;
  }
  attributes = values;
  return true;
}

// "/autofile=" PATH or "/autofile=" '"' PATH ['"']. The form ends the scan whatever follows it; a
// path that is empty or longer than a path can be is left empty rather than cut to another file's
// name, and the run then ends with the missing-macro message.
bool ReadMacroFile(std::wstring_view arg, std::wstring& path) {
  constexpr std::wstring_view kPrefix = L"/autofile=";
  if (!StartsWith(arg, kPrefix)) return false;
  const std::wstring_view value = Unquoted(arg.substr(kPrefix.size()));
  path.clear();
  if (value.size() <= kMaxLongPathChars) path.assign(value);
  return true;
}

enum class ScanStep { PassOver, Continue, Stop };

// Tests one "/" argument against the automatic-run forms in their order.
ScanStep ScanAutoForm(const std::wstring& arg, const LocalDateTime& now, CommandLine& out) {
  std::wstring path;
  if (ReadMacroFile(arg, path)) {
    out.macroFile = path;
    out.autoRun = kAutoMacroFile;
    return ScanStep::Stop;
  }
  if (const int slot = MacroSlotOf(arg)) {
    out.autoRun = slot;
    return ScanStep::Stop;
  }
  if (ReadAttributes(arg, out.attributes)) {
    out.autoRun = kAutoAttributes;
    return ScanStep::Stop;
  }
  const bool creation = StartsWith(arg, L"/autoctime");
  const bool modification = StartsWith(arg, L"/automtime");
  if (creation || modification || StartsWith(arg, L"/autobtime")) {
    static constexpr std::wstring_view kConditions[3] = {L"", L"new", L"old"};
    for (int condition = 0; condition < 3; ++condition) {
      const std::wstring copyForm = (creation ? std::wstring(L"/autoctime=mtime") : std::wstring(L"/automtime=ctime")) +
                                    std::wstring(kConditions[condition]);
      if ((creation || modification) && arg == copyForm) {
        out.timestampSelection = creation ? 3 : 4;
        out.timestampCondition = condition;
        out.autoRun = kAutoTimestamp;
        return ScanStep::Stop;
      }
    }
    LocalDateTime base;
    int step = 0;
    if (ParseTimeValue(arg, now, base, step)) {
      out.timestampSelection = creation ? 0 : modification ? 1 : 2;
      out.timestampCondition = 0;
      out.timestampBase = base;
      out.secondsPerFile = step;
      out.autoRun = kAutoTimestamp;
    }
    return ScanStep::Stop;  // even when the value was not valid
  }
  int digit;
  if (arg.size() == 6 && StartsWith(arg, L"/undo") && ReadFixedDigits(arg, 5, 1, digit) && digit >= 1) {
    out.undoSlot = digit;
    out.autoRun = kAutoUndo;
    return ScanStep::Continue;
  }
  if (arg == L"/undo") {
    out.undoSlot = 1;
    out.autoRun = kAutoUndo;
    return ScanStep::Continue;
  }
  return ScanStep::PassOver;
}

int SortRequestOf(std::wstring_view word) {
  // "dir" and "dirr" sort by the folder column (2), the column their name promises.
  static constexpr struct {
    std::wstring_view word;
    int request;
  } kWords[] = {{L"", 0},     {L"name", 0},   {L"namer", 1}, {L"r", 1},     {L"ext", 10},  {L"extr", 11},
                {L"dir", 20}, {L"dirr", 21},  {L"size", 40}, {L"sizer", 41}, {L"date", 50}, {L"dater", 51}};
  for (const auto& entry : kWords)
    if (entry.word == word) return entry.request;
  return -1;
}

// The path of "/plan=" or "/report=": empty when longer than a path can be, so that the run refuses
// to start instead of writing another file.
std::wstring ReportPathOf(std::wstring_view value) {
  value = Unquoted(value);
  return value.size() <= kMaxLongPathChars ? std::wstring(value) : std::wstring();
}

void SetMessageLevel(CommandLine& out, int bit) {
  out.autoRun = (out.autoRun & ~(kAutoErrorMessages | kAutoAllMessages)) | bit;
}

// Applies one option token. Options that only an automatic run knows are ignored otherwise; after
// "/test" the show and exit options are fixed.
void ApplyOption(std::wstring_view token, bool automatic, CommandLine& out) {
  if (token == L"/file") {
    out.listTarget = 0;
  } else if (token == L"/folder") {
    out.listTarget = 1;
  } else if (token == L"/folder0") {
    out.listTarget = 1;
    out.folderRead = 1;
  } else if (token == L"/folder1") {
    out.listTarget = 1;
    out.folderRead = 0;
  } else if (token == L"/folder+") {
    out.listTarget = 1;
    out.folderRead = 2;
  } else if (StartsWith(token, L"/sort")) {
    const int request = SortRequestOf(token.substr(5));
    if (request >= 0) out.sortRequest = request;
  } else if (StartsWith(token, L"/filter=")) {
    if (token.size() >= kFilterArgumentLimit) return;
    out.filterText.assign(Unquoted(token.substr(8)));
    out.hasFilter = true;
  } else if (StartsWith(token, L"/plan=")) {
    out.plan = true;
    out.planPath = ReportPathOf(token.substr(6));
  } else if (StartsWith(token, L"/report=")) {
    out.report = true;
    out.reportPath = ReportPathOf(token.substr(8));
  }
  if (!automatic) return;

  int depth;
  if (token == L"/errmsg") {
    SetMessageLevel(out, kAutoErrorMessages);
  } else if (token == L"/allmsg") {
    SetMessageLevel(out, kAutoAllMessages);
  } else if (token == L"/nomsg") {
    SetMessageLevel(out, 0);
  } else if (token == L"/subfolder10") {
    out.subfolderDepth = 10;
  } else if (token.size() == 11 && StartsWith(token, L"/subfolder") && ReadFixedDigits(token, 10, 1, depth)) {
    out.subfolderDepth = depth;
  } else if (out.testMode) {
    return;
  } else if (token == L"/show") {
    out.autoRun |= kAutoShow;
  } else if (token == L"/hide") {
    out.autoRun &= ~kAutoShow;
  } else if (token == L"/noexit") {
    out.autoRun |= kAutoNoExit;
  } else if (token == L"/exit") {
    out.autoRun &= ~kAutoNoExit;
  } else if (token == L"/test") {
    out.testMode = true;
    out.autoRun |= kAutoShow | kAutoNoExit;
    SetMessageLevel(out, kAutoErrorMessages);
  }
}

}  // namespace

bool ParseTimeValue(const std::wstring& arg, const LocalDateTime& now, LocalDateTime& base, int& secondsPerFile) {
  constexpr size_t kValue = 10;  // behind "/autoctime"
  LocalDateTime result = now;
  size_t stepAt;
  if (arg.find(L"today") != std::wstring::npos) {
    result.hour = result.minute = result.second = 0;
    stepAt = kValue + 5;
    if (stepAt < arg.size() && IsDigit(arg[stepAt])) {
      if (!ReadTimeOfDay(arg, stepAt, result)) return false;
      stepAt += 6;
    }
  } else if (arg.find(L"now") != std::wstring::npos) {
    stepAt = kValue + 3;
  } else {
    if (!ReadDate(arg, kValue, result)) return false;
    stepAt = kValue + 8;
    if (stepAt < arg.size() && IsDigit(arg[stepAt])) {
      if (!ReadTimeOfDay(arg, stepAt, result)) return false;
      stepAt += 6;
    }
  }
  int step;
  if (!ReadStep(arg, stepAt, step)) return false;
  base = result;
  secondsPerFile = step;
  return true;
}

bool ParseReplacementArgument(const std::wstring& text, CommandLine& out) {
  constexpr size_t kMaxSeparators = 16;
  if (text.size() < 4 || text[0] != L's' || text[1] != L'/') return false;
  std::vector<size_t> separators;
  for (size_t i = 2; i < text.size(); ++i) {
    if (text[i] == L'\\') {
      ++i;  // protects the next character
      continue;
    }
    if (text[i] != L'/') continue;
    if (separators.size() == kMaxSeparators) return false;
    separators.push_back(i);
  }
  if (separators.size() < 2 || separators.size() % 2 != 0) return false;

  bool all = false, ignoreCase = false, withExtension = false;
  const size_t last = separators.back();
  for (size_t i = last + 1; i < text.size(); ++i) {
    switch (text[i]) {
      case L'g': all = true; break;
      case L'i': ignoreCase = true; break;
      case L'e': withExtension = true; break;
      case L'k':
      case L'/': break;
      default: return false;
    }
  }
  const size_t middle = separators[separators.size() / 2 - 1];
  out.replaceFrom = text.substr(2, middle - 2);
  out.replaceTo = text.substr(middle + 1, last - middle - 1);
  out.replaceTooLong = out.replaceFrom.size() >= kAutoReplaceTextLimit || out.replaceTo.size() >= kAutoReplaceTextLimit;
  if (out.replaceFrom.size() >= kAutoReplaceTextLimit) out.replaceFrom.clear();
  if (out.replaceTo.size() >= kAutoReplaceTextLimit) out.replaceTo.clear();
  out.replaceAll = all;
  out.ignoreCase = ignoreCase;
  out.withExtension = withExtension;
  return true;
}

CommandLine ParseCommandLine(const std::vector<std::wstring>& args, const std::wstring& autoaddopt,
                             const LocalDateTime& now) {
  CommandLine out;
  const size_t scanned = std::min(args.size(), static_cast<size_t>(kScannedArguments) + 1);

  std::vector<bool> replacementAt(args.size(), false);
  for (size_t i = 1; i < scanned; ++i) {
    const std::wstring& arg = args[i];
    if (i <= 2 && ParseReplacementArgument(arg, out)) {
      replacementAt[i] = true;
      out.autoRun = kAutoReplacement;
    }
    if (arg.empty() || arg[0] != L'/') continue;
    const ScanStep step = ScanAutoForm(arg, now, out);
    if (step == ScanStep::Stop) break;
  }

  const bool automatic = out.IsAutomatic();
  if (automatic) {
    size_t pos = 0;
    while (pos < autoaddopt.size()) {
      if (autoaddopt[pos] == L' ') {
        ++pos;
        continue;
      }
      size_t end = autoaddopt.find(L' ', pos);
      if (end == std::wstring::npos) end = autoaddopt.size();
      const std::wstring_view token = std::wstring_view(autoaddopt).substr(pos, end - pos);
      if (token[0] == L'/') ApplyOption(token, true, out);
      pos = end;
    }
  }
  for (size_t i = 1; i < scanned; ++i)
    if (!args[i].empty() && args[i][0] == L'/') ApplyOption(args[i], automatic, out);

  for (size_t i = 1; i < args.size(); ++i)
    if (!args[i].empty() && args[i][0] != L'/' && !replacementAt[i]) out.paths.push_back(args[i]);
  // A plan shows no window and ends; its execution changes nothing, so test mode has no part in it.
  if (out.plan && automatic) {
    out.autoRun &= ~(kAutoShow | kAutoNoExit);
    out.testMode = false;
  }
  return out;
}

void MakePathsFull(CommandLine& commandLine) {
  for (std::wstring& path : commandLine.paths) {
    std::wstring full = FullPath(path);
    if (!full.empty()) path = std::move(full);  // else read as given: the reader says why it cannot
  }
  if (!commandLine.planPath.empty()) commandLine.planPath = FullPath(commandLine.planPath);
  if (!commandLine.reportPath.empty()) commandLine.reportPath = FullPath(commandLine.reportPath);
}

AutoReplace ToAutoReplace(const CommandLine& commandLine) {
  AutoReplace replace;
  replace.from = commandLine.replaceFrom;
  replace.to = commandLine.replaceTo;
  replace.tooLong = commandLine.replaceTooLong;
  replace.repmode = commandLine.replaceAll ? 0 : 1;  // 0 every occurrence, 1 the first
  replace.repcase = commandLine.ignoreCase ? 0 : 1;
  replace.repwithext = commandLine.withExtension ? 1 : 0;
  return replace;
}

int AutoRunMode(const CommandLine& commandLine) {
  const int kind = commandLine.Kind();
  if (kind == kAutoAttributes) return kModeAttribute;
  if (kind == kAutoTimestamp) return kModeTimestamp;
  if (kind == kAutoReplacement) return kModeReplace;
  if ((kind >= 1 && kind <= kAutoLastMacroSlot) || (commandLine.autoRun & kAutoMacroFile) != 0) return kModeMacro;
  return 0;
}

void ApplyAutoRunToPanel(const CommandLine& commandLine, PanelValues& panel) {
  if (commandLine.Kind() == kAutoAttributes) {
    panel.attributes = commandLine.attributes;
    return;
  }
  if (commandLine.Kind() != kAutoTimestamp) return;
  panel.creatmodif = commandLine.timestampSelection;
  panel.timestpsm = commandLine.timestampCondition;
  panel.stampnow = 0;
  if (commandLine.timestampSelection >= 3) return;  // the copies need no base
  panel.secondsText = FormatText(L"%d", commandLine.secondsPerFile);
  const LocalDateTime& base = commandLine.timestampBase;
  panel.baseDate = FormatText(L"%04d/%02d/%02d", base.year, base.month, base.day);
  panel.baseTime = FormatText(L"%02d:%02d:%02d", base.hour, base.minute, base.second);
}

MessagePolicy MessagePolicyOf(const CommandLine& commandLine) {
  MessagePolicy options;
  // A report file is asked for by a script: even a start it refuses speaks the unattended way.
  options.automatic = commandLine.IsAutomatic() || commandLine.WantsReport();
  if (!options.automatic) return options;
  options.show = commandLine.Shows();
  options.all = (commandLine.autoRun & kAutoAllMessages) != 0;
  options.errorsOnly = !options.all && (commandLine.autoRun & kAutoErrorMessages) != 0;
  return options;
}

}  // namespace korval
