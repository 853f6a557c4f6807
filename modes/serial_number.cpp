// Serial numbering of rows from a template such as "IMG_001", "<a>" or "photo<0050-1>".
#include "modes/serial_number.h"

#include <algorithm>

#include "modes/sequence_expansion.h"
#include "platform/path_limits.h"
#include "platform/digits.h"

namespace korval {
namespace {

bool IsLower(wchar_t c) { return c >= L'a' && c <= L'z'; }
bool IsUpper(wchar_t c) { return c >= L'A' && c <= L'Z'; }

bool BelongsTo(SerialKind kind, wchar_t c) {
  switch (kind) {
    case SerialKind::kLowerLetters:
      return IsLower(c);
    case SerialKind::kUpperLetters:
      return IsUpper(c);
    default:
      return IsDigit(c);
  }
}

bool IsMarker(wchar_t c) { return c == L'<' || c == L'>'; }

std::wstring WithoutMarkers(std::wstring_view text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (!IsMarker(c)) out += c;
  }
  return out;
}

// The marked form "prefix<start+step>suffix"; lt is the first "<", a ">" follows it.
SerialTemplate ParseMarked(std::wstring_view text, size_t lt) {
  SerialTemplate serial;
  std::wstring work(text);
  const wchar_t first = lt + 1 < work.size() ? work[lt + 1] : L'\0';
  serial.kind = IsLower(first) ? SerialKind::kLowerLetters
                               : (IsUpper(first) ? SerialKind::kUpperLetters : SerialKind::kDigits);
  size_t fieldBegin = lt + 1;
  size_t fieldEnd = fieldBegin;
  while (fieldEnd < work.size() && BelongsTo(serial.kind, work[fieldEnd])) ++fieldEnd;
  if (fieldEnd == fieldBegin) {
    // "<>" or "<+2>": the "<" itself becomes the field "1".
    work[lt] = L'1';
    fieldBegin = lt;
  }
  if (fieldEnd < work.size() && (work[fieldEnd] == L'+' || work[fieldEnd] == L'-')) {
    if (work[fieldEnd] == L'-') serial.direction = -1;
    size_t end = fieldEnd + 1;
    int step = 0;
    int digits = 0;
    while (end < work.size() && digits < kMaxSerialStepDigits && IsDigit(work[end])) {
      step = step * 10 + (work[end] - L'0');
      ++end;
      ++digits;
    }
    if (digits > 0) serial.step = step;
    work.erase(fieldEnd, end - fieldEnd);
  }
  serial.prefix = WithoutMarkers(std::wstring_view(work).substr(0, fieldBegin));
  serial.field = work.substr(fieldBegin, fieldEnd - fieldBegin);
  serial.suffix = WithoutMarkers(std::wstring_view(work).substr(fieldEnd));
  return serial;
}

// The unmarked form: the last run of digits is the field.
SerialTemplate ParseUnmarked(std::wstring_view text) {
  SerialTemplate serial;
  size_t end = text.size();
  while (end > 0 && !IsDigit(text[end - 1])) --end;
  if (end == 0) {
    serial.prefix = text;  // no digits: "1" is appended (an empty template is just "1")
    serial.field = L"1";
    return serial;
  }
  size_t begin = end;
  while (begin > 0 && IsDigit(text[begin - 1])) --begin;
  serial.prefix = text.substr(0, begin);
  serial.field = text.substr(begin, end - begin);
  serial.suffix = text.substr(end);
  return serial;
}

}  // namespace

SerialTemplate ParseSerialTemplate(std::wstring_view text) {
  const size_t lt = text.find(L'<');
  const bool marked = lt != std::wstring_view::npos && text.find(L'>', lt + 1) != std::wstring_view::npos;
  SerialTemplate serial = marked ? ParseMarked(text, lt) : ParseUnmarked(text);
  if (serial.field.size() > kMaxSerialFieldChars) {
    const size_t extra = serial.field.size() - kMaxSerialFieldChars;
    serial.prefix += serial.field.substr(0, extra);
    serial.field.erase(0, extra);
  }
  serial.start = 0;
  for (wchar_t c : serial.field) {
    switch (serial.kind) {
      case SerialKind::kLowerLetters:
        serial.start = serial.start * 26 + (c - L'a' + 1);
        break;
      case SerialKind::kUpperLetters:
        serial.start = serial.start * 26 + (c - L'A' + 1);
        break;
      default:
        serial.start = serial.start * 10 + (c - L'0');
        break;
    }
  }
  return serial;
}

std::wstring SerialLetters(int64_t value, bool upperCase) {
  std::wstring letters;
  const wchar_t base = upperCase ? L'A' : L'a';
  while (value > 0 && letters.size() < kMaxSerialLetters) {
    --value;
    letters += static_cast<wchar_t>(base + value % 26);
    value /= 26;
  }
  std::reverse(letters.begin(), letters.end());
  return letters;
}

std::wstring SerialText(const SerialTemplate& serial, int64_t index) {
  int64_t number = serial.start + index * serial.step * serial.direction;
  if (number < 0) number = 0;
  std::wstring text;
  if (serial.kind == SerialKind::kDigits) {
    text = std::to_wstring(number);
    if (text.size() < serial.field.size()) {
      // Counting up keeps what the user typed in front (normally leading zeros); counting down
      // pads with zeros.
      const size_t pad = serial.field.size() - text.size();
      text.insert(0, serial.direction > 0 ? serial.field.substr(0, pad) : std::wstring(pad, L'0'));
    }
  } else {
    text = SerialLetters(number, serial.kind == SerialKind::kUpperLetters);
  }
  return serial.prefix + text + serial.suffix;
}

std::wstring PlaceSerialText(const PathParts& parts, const std::wstring& serialText, int numinspos) {
  switch (Clamp(0, numinspos, 4)) {
    case 0:
      return serialText + parts.stem + parts.extension;
    case 1:
      return parts.stem + serialText + parts.extension;
    case 2:
      return parts.stem + parts.extension + serialText;
    case 3:
      return serialText;
    default:
      return serialText + parts.extension;
  }
}

int FolderCounterTable::Next(const std::wstring& folder) {
  const auto found = counters_.find(folder);
  if (found != counters_.end()) return ++found->second;
  if (folders_.size() >= capacity_) return ++overflow_;
  folders_.push_back(folder);
  counters_.emplace(folder, 0);
  return 0;
}

void SerialNumberTransform(const TransformContext& ctx, const std::wstring& source, int rowCounter,
                           std::wstring& target) {
  target = source;
  Truncate(target, kMaxBuiltPath);
  if (!ctx.params) return;
  const ModeParams& params = *ctx.params;

  // The number is placed by the plain split, for folders too: "my.dir" with the number behind the
  // stem gives "my_1.dir".
  const PathParts parts = SplitPath(source);
  int index = std::max(rowCounter, 0);
  // Without a table (a run that did not prepare one) the rows are numbered as one sequence.
  if (params.dirrenreset && ctx.folderCounters) index = ctx.folderCounters->Next(parts.Directory());

  // Tags take no part in finding the serial field: neither their brackets nor their values' digits.
  std::wstring serialText;
  if (MayHoldTags(params.renbanstr)) {
    std::wstring serialTemplate = params.renbanstr;
    std::vector<std::wstring> tags;
    SetTagsAside(serialTemplate, tags);
    serialText = SerialText(ParseSerialTemplate(serialTemplate), index);
    PutTagsBack(serialText, tags);
  } else {
    serialText = SerialText(ParseSerialTemplate(params.renbanstr), index);
  }
  ExpandSpecialSequences(serialText, source, kSequencesPlain, ctx.fs ? *ctx.fs : SystemFileSystem(), ctx.tags);

  target = parts.Directory() + PlaceSerialText(parts, serialText, params.numinspos);
  Truncate(target, kMaxBuiltPath);
}

}  // namespace korval
