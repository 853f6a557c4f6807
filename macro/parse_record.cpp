// Playback's record reader and the editor's whole-file reader, both on the one record decoder.
#include "macro/parse_record.h"

#include <algorithm>
#include <climits>

#include "macro/step_codes.h"
#include "modes/change_mode.h"
#include "platform/format_text.h"
#include "platform/message_sink.h"
#include "platform/digits.h"

namespace korval {
namespace {

constexpr wchar_t kYearMark = L'年';
constexpr int kFreeDateFormat = 9;

void Notify(const MacroNotify& notify, const std::wstring& text, const std::wstring& caption, UINT style) {
  if (notify) {
    notify(text, caption, style);
    return;
  }
  MessageRequest request;
  request.text = text;
  request.caption = caption;
  request.style = style;
  CurrentMessageSink().Show(request);
}

// The integer conversion of a typed number: leading blanks, a sign, digits; anything else ends it,
// so a text that is not a number gives 0. Saturates instead of overflowing.
int TextToInteger(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = std::min<long long>(value * 10 + (text[i] - L'0'), static_cast<long long>(INT_MAX) + 1);
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}


}  // namespace

void LoadStepIntoPanel(const MacroRecord& step, PanelValues& panel) {
  if (step.kind != MacroRecordKind::Step || step.codeIndex < 0 || step.codeIndex >= kStepCodeCount) return;
  panel.mode = StepCodeMode(step.codeIndex);
  switch (panel.mode) {
    case kModePositionEdit:
      panel.posedtnoext = step.flag == '1' ? 1 : 0;
      std::copy(step.map.begin(), step.map.end(), panel.positionMap.begin());
      panel.positionText = step.textA;
      break;
    case kModeExtension:
      panel.extadd = step.d0;
      panel.extensionText = step.textA;
      break;
    case kModeSerialNumber:
      panel.numinspos = step.d0;
      panel.dirrenreset = step.d1;
      panel.renbanstr = step.textA;
      break;
    case kModeLetterCase:  // the exception words stay those of the panel
      panel.bigsmall = step.d0;
      panel.dbytebig = step.d1;
      break;
    case kModeCharWidth:
      panel.zenorhan = step.d0;
      panel.widthDigits = (step.d1 & 1) ? 1 : 0;
      panel.widthLetters = (step.d1 & 2) ? 1 : 0;
      panel.widthKatakana = (step.d1 & 4) ? 1 : 0;
      panel.widthSymbols = (step.d1 & 8) ? 1 : 0;
      break;
    case kModeShortName:
      panel.real8_3 = step.d0;
      break;
    case kModeAddText:
      panel.addprepost = step.d0;
      panel.addlenText = std::to_wstring(step.d1 * 10 + step.d2);
      panel.addstr = step.textA;
      break;
    case kModeDeleteText:
      panel.deltype = step.d0;
      panel.dellenText = std::to_wstring(step.d1 * 10 + step.d2);
      panel.dellen2Text = std::to_wstring(TextToInteger(step.textA));
      break;
    case kModeDateTime:
      panel.whichdate = step.d0;
      panel.dateins = step.d2;
      if (!step.textA.empty() && step.textA[0] == kYearMark) {
        panel.addyymmdd = 1;
        panel.sepstr = step.textA.substr(1);
      } else {
        panel.addyymmdd = 0;
        panel.sepstr = step.textA;
      }
      if (step.d1 == kFreeDateFormat) {
        panel.datefrom = -1;
        panel.dateText = step.textB;
      } else {
        panel.datefrom = step.d1;
      }
      break;
    case kModeReplace:
      panel.repmode = step.d0;
      panel.regexp = step.d1;
      panel.repwithext = (step.d2 & 1) ? 1 : 0;
      panel.repcase = (step.d2 & 2) ? 1 : 0;
      panel.replaceFrom = step.textA;
      panel.replaceTo = step.textB;
      break;
    case kModeRandomName:
      panel.rndpattern = step.d0;
      panel.rndlen = step.d1;
      panel.rndext = step.d2;
      break;
    default:  // "dmy" selects its mode and loads nothing
      break;
  }
}

int ParseNextRecord(const unsigned char* data, size_t size, size_t& offset, MacroParseState& state,
                    PanelValues& panel, const MacroNotify& notify) {
  if (!data) size = 0;
  if (offset > size) offset = size;
  const MacroRecord record = DecodeRecord(data, size, offset, state.version);
  switch (record.kind) {
    case MacroRecordKind::Step:
      // A step cut by the read limit would be played with its texts cut short.
      if (state.cut && !record.whole) return kParseNothing;
      LoadStepIntoPanel(record, panel);
      offset += record.length;
      return kParseStepLoaded;
    case MacroRecordKind::Header:
      state.version = record.version;
      if (!HeaderVersionSupported(record)) {
        Notify(notify, kUnsupportedVersionText, kUnsupportedVersionCaption, MB_OK | MB_ICONERROR);
        return kParseNothing;
      }
      if (!HeaderAccepted(record)) return kParseNothing;
      offset += record.length;
      state.stepCounter = 1;
      return kParseHeader;
    case MacroRecordKind::Unknown:
      break;
  }
  return kParseNothing;
}

MacroReadout ReadMacroRecords(const unsigned char* data, size_t size, const MacroNotify& notify) {
  MacroReadout readout;
  if (!data) size = 0;
  size_t offset = 0;
  int version = 0;
  while (offset < size) {
    MacroRecord record = DecodeRecord(data, size, offset, version);
    if (record.kind == MacroRecordKind::Unknown) break;
    const size_t length = record.length;
    if (record.kind == MacroRecordKind::Header) {
      version = record.version;
      readout.hasHeader = true;
      readout.header = record;
      if (!HeaderVersionSupported(record)) {
        readout.unsupportedVersion = true;
        Notify(notify, kUnsupportedVersionText, kEditorUnsupportedVersionCaption, MB_OK | MB_ICONWARNING);
        break;
      }
      if (!HeaderAccepted(record)) break;
    } else {
      readout.steps.push_back(std::move(record));
    }
    offset += length;
  }
  readout.broken = !readout.hasHeader && readout.steps.empty();
  return readout;
}

std::wstring EditorHeaderStatus(int slotNumber, const MacroRecord& header) {
  if (IsDigit(header.versionDigits[0]) && IsDigit(header.versionDigits[1])) {
    return FormatText(L"マクロNo.%02d　%s%c.%c", slotNumber, L"Ver ", static_cast<wchar_t>(header.versionDigits[0]),
                      static_cast<wchar_t>(header.versionDigits[1]));
  }
  return FormatText(L"マクロNo.%02d　%s---", slotNumber, L"Ver ");
}

}  // namespace korval
