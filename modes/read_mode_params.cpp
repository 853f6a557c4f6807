// Reading the mode panel.
#include "modes/read_mode_params.h"

#include <algorithm>

#include "modes/change_mode.h"
#include "modes/exception_word_list.h"
#include "modes/input_log.h"
#include "modes/string_helpers.h"

namespace korval {
namespace {

constexpr size_t kEscapeLimit = 260;
constexpr size_t kLongText = 128;          // serial, added text and extension boxes
constexpr size_t kLongHistoryText = 242;   // replacement and filter boxes
constexpr size_t kReplaceBoxLength = 240;
constexpr size_t kReplaceEscapeLimit = 242;
constexpr int kMaxSeconds = 604800;
constexpr int kMaxDays = 366;

std::wstring Cut(std::wstring text, size_t n) {
  Truncate(text, n);
  return text;
}

// The number typed in a box: its leading digits, at most maxDigits of them; an empty box is 0.
int ReadNumber(const std::wstring& text, size_t maxDigits) {
  long long value = 0;
  size_t digits = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9' || digits == maxDigits) break;
    value = value * 10 + (c - L'0');
    ++digits;
  }
  return static_cast<int>(value);
}

// A number with a maximum that is written back into its box when it was exceeded.
int ReadBoundedNumber(std::wstring& text, int maximum) {
  const int value = ReadNumber(text, 7);
  if (value <= maximum) return value;
  text = std::to_wstring(maximum);
  return maximum;
}

// Records one box's text in its history; a text at or above the limit is too long and recorded cut.
bool RecordHistory(std::vector<std::wstring>* history, const std::wstring& text, size_t limit) {
  const bool tooLong = text.size() >= limit;
  if (history) RememberInput(*history, tooLong ? text.substr(0, limit - 1) : text);
  return tooLong;
}

}  // namespace

void RememberInput(std::vector<std::wstring>& history, const std::wstring& entry, size_t maxEntries) {
  if (entry.empty()) return;
  auto found = std::find(history.begin(), history.end(), entry);
  if (found != history.end()) history.erase(found);
  history.insert(history.begin(), entry);
  if (history.size() > maxEntries) history.resize(maxEntries);
}

std::vector<std::wstring> SplitReplaceItems(const std::wstring& text, bool searchItems) {
  std::vector<std::wstring> items;
  size_t start = 0;
  while (start < text.size() && items.size() < kMaxReplaceItems) {
    // A backslash protects the character after it: "\/" is a slash inside the item, and stays
    // protected for the regular expression command.
    size_t slash = start;
    while (slash < text.size() && text[slash] != L'/') slash += text[slash] == L'\\' ? 2 : 1;
    slash = std::min(slash, text.size());
    items.push_back(text.substr(start, slash - start));
    start = slash + 1;
  }
  if (searchItems) {
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i].empty()) {
        items.resize(i);
        break;
      }
    }
  }
  return items;
}

bool ReadModeParams(PanelValues& panel, ModeParams& params, const InputHistories& histories,
                    const AutoReplace* autoReplace) {
  bool tooLong = false;
  const int mode = panel.mode;

  // 1. Check boxes and the selections that the transforms read as flags.
  params.posedtnoext = panel.posedtnoext;
  params.extadd = panel.extadd;
  params.dirrenreset = panel.dirrenreset;
  params.dbytebig = panel.dbytebig;
  params.regexp = panel.regexp;
  params.repwithext = panel.repwithext;
  params.repcase = panel.repcase;
  params.addyymmdd = panel.addyymmdd;
  params.stampnow = panel.stampnow;
  params.widthKatakana = panel.widthKatakana;
  params.widthLetters = panel.widthLetters;
  params.widthDigits = panel.widthDigits;
  params.widthSymbols = panel.widthSymbols;
  params.bigsmall = Clamp(0, panel.bigsmall, 4);
  params.zenorhan = Clamp(0, panel.zenorhan, 1);
  params.real8_3 = Clamp(0, panel.real8_3, 2);
  params.addprepost = Clamp(0, panel.addprepost, 1);
  params.whichdate = Clamp(0, panel.whichdate, 3);
  params.repmode = Clamp(0, panel.repmode, 2);
  params.creatmodif = Clamp(0, panel.creatmodif, 6);
  params.timestpsm = Clamp(0, panel.timestpsm, 2);
  params.positionText = Cut(panel.positionText, 259);
  params.positionMap = panel.positionMap;

  // 2. The text to add.
  params.addstr = Cut(panel.addstr, 255);
  DecodeUnicodeEscapes(params.addstr, kEscapeLimit);
  if (mode == kModeAddText && params.addstr.size() >= kLongText) tooLong = true;

  // 3. The date separator: six characters at most.
  params.sepstr = Cut(panel.sepstr, 6);

  // 4. The serial template.
  params.renbanstr = Cut(panel.renbanstr, 255);
  DecodeUnicodeEscapes(params.renbanstr, kEscapeLimit);
  if (mode == kModeSerialNumber && params.renbanstr.size() >= kLongText) tooLong = true;

  // 5. The three number boxes; a second count of 0 means "to the end" and shows as 255.
  params.addlen = Clamp(0, ReadNumber(panel.addlenText, 3), 255);
  params.dellen = Clamp(0, ReadNumber(panel.dellenText, 3), 255);
  params.dellen2 = Clamp(0, ReadNumber(panel.dellen2Text, 3), 255);
  if (params.dellen2 == 0) {
    params.dellen2 = 255;
    panel.dellen2Text = L"255";
  }

  // 6. The extension.
  params.extensionText = Cut(panel.extensionText, 255);
  if (mode == kModeExtension && params.extensionText.size() >= kLongText) tooLong = true;

  // 7. Seconds per file and days of the time stamp mode.
  params.timeplus = ReadBoundedNumber(panel.secondsText, kMaxSeconds);
  params.fwdbackdays = ReadBoundedNumber(panel.daysText, kMaxDays);

  // 8. The exception words of the selected case conversion, then all three lists.
  const std::wstring exceptions = Cut(panel.exceptionText, 254);
  if (params.bigsmall == 0) params.bsexcept0 = exceptions;
  if (params.bigsmall == 1 || params.bigsmall == 2) params.bsexcept1 = exceptions;
  if (params.bigsmall == 4) params.bsexcept2 = exceptions;
  params.exceptionWords[0] = BuildExceptionWordList(params.bsexcept0, 0);
  params.exceptionWords[1] = BuildExceptionWordList(params.bsexcept1, 1);
  params.exceptionWords[2] = BuildExceptionWordList(params.bsexcept2, 2);

  // 9. Input histories.
  if (histories.switches & kLogReplace) {
    tooLong |= RecordHistory(histories.replaceFrom, panel.replaceFrom, kLongHistoryText);
    tooLong |= RecordHistory(histories.replaceTo, panel.replaceTo, kLongHistoryText);
  }
  if (histories.switches & kLogOther) {
    tooLong |= RecordHistory(histories.extension, panel.extensionText, kLongText);
    tooLong |= RecordHistory(histories.serial, panel.renbanstr, kLongText);
    tooLong |= RecordHistory(histories.addText, panel.addstr, kLongText);
  }
  if (histories.switches & kLogFilter) tooLong |= RecordHistory(histories.filter, panel.filterText, kLongHistoryText);

  // 10. The replacement texts and their items; an automatic run brings its own.
  params.replaceFrom = Cut(autoReplace ? autoReplace->from : panel.replaceFrom, kReplaceBoxLength);
  params.replaceTo = Cut(autoReplace ? autoReplace->to : panel.replaceTo, kReplaceBoxLength);
  DecodeUnicodeEscapes(params.replaceFrom, kReplaceEscapeLimit);
  DecodeUnicodeEscapes(params.replaceTo, kReplaceEscapeLimit);
  params.replaceFromItems = SplitReplaceItems(params.replaceFrom, true);
  params.replaceToItems = SplitReplaceItems(params.replaceTo, false);
  if (autoReplace) {
    tooLong |= autoReplace->tooLong;
    params.repmode = Clamp(0, autoReplace->repmode, 2);
    params.repcase = autoReplace->repcase;
    params.repwithext = autoReplace->repwithext;
    params.regexp = 1;
  }

  // 11. Attributes and the remaining selections.
  params.attributes = panel.attributes;
  params.numinspos = Clamp(0, panel.numinspos, 4);
  params.dateins = Clamp(0, panel.dateins, 4);
  params.deltype = Clamp(0, panel.deltype, 11);
  params.macrono = Clamp(0, panel.macrono, 24);
  params.rndpattern = Clamp(0, panel.rndpattern, 6);
  params.rndext = Clamp(0, panel.rndext, 3);
  params.rndlen = Clamp(0, panel.rndlen, 5);
  params.fwdback = Clamp(0, panel.fwdback, 1);
  params.baseDate = panel.baseDate;
  params.baseTime = panel.baseTime;
  if (panel.datefrom < 0 || panel.datefrom > 8) {
    params.datefrom = -1;
    params.ymdform = Cut(panel.dateText, 127);
  } else {
    params.datefrom = panel.datefrom;
    params.ymdform.clear();
  }
  return tooLong;
}

const std::wstring& ExceptionTextFor(const ModeParams& params, int bigsmall) {
  static const std::wstring none;
  if (bigsmall == 0) return params.bsexcept0;
  if (bigsmall == 1 || bigsmall == 2) return params.bsexcept1;
  if (bigsmall == 4) return params.bsexcept2;
  return none;
}

}  // namespace korval
