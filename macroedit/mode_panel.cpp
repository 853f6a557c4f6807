// The mode panel's controls, bound to PanelValues by table.
#include "macroedit/mode_panel.h"

#include <algorithm>
#include <array>
#include <vector>

#include "macroedit/step_description.h"
#include "modes/change_mode.h"
#include "platform/redraw.h"
#include "resources/macroedit_resource.h"

namespace korval {
namespace {

enum class Kind { Text, Check, List, Label };

using Items = std::vector<const wchar_t*>;

struct Binding {
  int id;
  int mode;
  Kind kind;
  int PanelValues::*number = nullptr;
  std::wstring PanelValues::*text = nullptr;
  Items items = {};
};

constexpr std::array<int, 11> kPanelModes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};

const Items kDateFormats = {L"YYYY〓MM〓DD〓hh〓mm〓ss", L"YYYYMMDD〓hhmmss", L"YYYY〓MM〓DD〓hh〓mm",
                            L"YYYYMMDD〓hhmm",          L"YYYY〓MM〓DD",     L"YYYYMMDDhhmmss",
                            L"YYYYMMDDhhmm",            L"YYYYMMDD",         L"MMDD"};

Items DeleteTypeItems() {
  Items items;
  for (int type = 0; type < 12; ++type) items.push_back(EditorDeleteTypeName(type));
  return items;
}

const std::vector<Binding>& Bindings() {
  using P = PanelValues;
  static const std::vector<Binding> bindings = {
      {IDC_POSITION_SAMPLE_LABEL, kModePositionEdit, Kind::Label},
      {IDC_POSITION_SAMPLE, kModePositionEdit, Kind::Label},
      {IDC_POSITION_SET, kModePositionEdit, Kind::Label},
      {IDC_POSITION_EDIT_LABEL, kModePositionEdit, Kind::Label},
      {IDC_POSITION_EDIT, kModePositionEdit, Kind::Text, nullptr, &P::positionText},
      {IDC_POSITION_NO_EXT, kModePositionEdit, Kind::Check, &P::posedtnoext},

      {IDC_EXTENSION, kModeExtension, Kind::Text, nullptr, &P::extensionText},
      {IDC_EXTENSION_ADD, kModeExtension, Kind::Check, &P::extadd},

      {IDC_SERIAL, kModeSerialNumber, Kind::Text, nullptr, &P::renbanstr},
      {IDC_SERIAL_LABEL, kModeSerialNumber, Kind::Label},
      {IDC_SERIAL_POSITION, kModeSerialNumber, Kind::List, &P::numinspos, nullptr,
       {L"先頭に挿入", L"後ろに追加", L"拡張子の後ろへ追加", L"新しい名前に (元拡張子消)", L"新しい名前に＋元拡張子"}},
      {IDC_ASSIST, kModeSerialNumber, Kind::Label},
      {IDC_SERIAL_PER_FOLDER, kModeSerialNumber, Kind::Check, &P::dirrenreset},
      {IDC_SERIAL_TAGS, kModeSerialNumber, Kind::Label},

      {IDC_CASE, kModeLetterCase, Kind::List, &P::bigsmall, nullptr,
       {L"全て小文字（abc）に", L"全て大文字（ABC）に", L"全て大文字（ABC）に (拡張子は除く)",
        L"先頭だけ大文字（Abc_def）に", L"語頭を大文字（Abc_Def）に"}},
      {IDC_CASE_WIDE, kModeLetterCase, Kind::Check, &P::dbytebig},
      {IDC_CASE_EXCEPTIONS_LABEL, kModeLetterCase, Kind::Label},
      {IDC_CASE_EXCEPTIONS, kModeLetterCase, Kind::Text, nullptr, &P::exceptionText},

      {IDC_WIDTH, kModeCharWidth, Kind::List, &P::zenorhan, nullptr, {L"半角(ｱA1)に", L"全角 （アＡ１） に"}},
      {IDC_WIDTH_KATAKANA, kModeCharWidth, Kind::Check, &P::widthKatakana},
      {IDC_WIDTH_LETTERS, kModeCharWidth, Kind::Check, &P::widthLetters},
      {IDC_WIDTH_DIGITS, kModeCharWidth, Kind::Check, &P::widthDigits},
      {IDC_WIDTH_SYMBOLS, kModeCharWidth, Kind::Check, &P::widthSymbols},

      {IDC_SHORT_NAME, kModeShortName, Kind::List, &P::real8_3, nullptr,
       {L"Windows標準指定", L"全て大文字に", L"全て小文字に"}},

      {IDC_ADD_FROM, kModeAddText, Kind::List, &P::addprepost, nullptr, {L"前から", L"後ろから"}},
      {IDC_ADD_POSITION, kModeAddText, Kind::Text, nullptr, &P::addlenText},
      {IDC_ADD_POSITION_LABEL, kModeAddText, Kind::Label},
      {IDC_ADD_TEXT, kModeAddText, Kind::Text, nullptr, &P::addstr},
      {IDC_ADD_TEXT_LABEL, kModeAddText, Kind::Label},
      {IDC_ADD_TAGS, kModeAddText, Kind::Label},

      {IDC_DELETE_TYPE, kModeDeleteText, Kind::List, &P::deltype, nullptr, DeleteTypeItems()},
      {IDC_DELETE_TYPE_LABEL, kModeDeleteText, Kind::Label},
      {IDC_DELETE_COUNT_LABEL, kModeDeleteText, Kind::Label},
      {IDC_DELETE_COUNT, kModeDeleteText, Kind::Text, nullptr, &P::dellenText},
      {IDC_DELETE_COUNT2, kModeDeleteText, Kind::Text, nullptr, &P::dellen2Text},
      {IDC_DELETE_COUNT2_LABEL, kModeDeleteText, Kind::Label},

      {IDC_DATE_WHICH, kModeDateTime, Kind::List, &P::whichdate, nullptr,
       {L"作成日時", L"更新日時", L"撮影日時", L"撮影 or 作成"}},
      {IDC_DATE_FORMAT, kModeDateTime, Kind::Label},  // an editable list: read and written on its own
      {IDC_DATE_PLACE, kModeDateTime, Kind::List, &P::dateins, nullptr,
       {L"新規の名前", L"先頭に追加", L"後ろに追加", L"先頭に追加＋〓", L"〓＋後ろに追加"}},
      {IDC_DATE_SEPARATOR_LABEL, kModeDateTime, Kind::Label},
      {IDC_DATE_SEPARATOR, kModeDateTime, Kind::Text, nullptr, &P::sepstr},
      {IDC_DATE_YMD, kModeDateTime, Kind::Check, &P::addyymmdd},

      {IDC_REPLACE_FROM, kModeReplace, Kind::Text, nullptr, &P::replaceFrom},
      {IDC_REPLACE_FROM_LABEL, kModeReplace, Kind::Label},
      {IDC_REPLACE_TO, kModeReplace, Kind::Text, nullptr, &P::replaceTo},
      {IDC_REPLACE_TO_LABEL, kModeReplace, Kind::Label},
      {IDC_REPLACE_MODE, kModeReplace, Kind::List, &P::repmode, nullptr, {L"全て", L"最初のみ", L"最後のみ"}},
      {IDC_REPLACE_REGEXP, kModeReplace, Kind::Check, &P::regexp},
      {IDC_REPLACE_EXT, kModeReplace, Kind::Check, &P::repwithext},
      {IDC_REPLACE_CASE, kModeReplace, Kind::Check, &P::repcase},
      {IDC_REPLACE_TAGS, kModeReplace, Kind::Label},

      {IDC_RANDOM_PATTERN, kModeRandomName, Kind::List, &P::rndpattern, nullptr,
       {L"数字のみ", L"英字のみ", L"前半:英字　後半:数字", L"数字と英字　混在", L"ひらがなのみ", L"全角　混在",
        L"全角半角　全部混在"}},
      {IDC_RANDOM_LENGTH_LABEL, kModeRandomName, Kind::Label},
      {IDC_RANDOM_LENGTH, kModeRandomName, Kind::List, &P::rndlen, nullptr,
       {L"4 文字固定", L"4～8 文字", L"4～16 文字", L"8 文字固定", L"8～16 文字", L"16 文字固定"}},
      {IDC_RANDOM_EXT_LABEL, kModeRandomName, Kind::Label},
      {IDC_RANDOM_EXT, kModeRandomName, Kind::List, &P::rndext, nullptr,
       {L"元のまま", L"無し", L"ランダム", L"ランダム or 無し"}},
  };
  return bindings;
}

std::wstring ControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
  return text;
}

// The number boxes the wheel steps, with their maximum.
struct NumberBox {
  int id;
  int maximum;
};
constexpr NumberBox kNumberBoxes[] = {{IDC_ADD_POSITION, 255}, {IDC_DELETE_COUNT, 255}, {IDC_DELETE_COUNT2, 255}};

}  // namespace

void InitModePanel(HWND dialog) {
  for (const Binding& b : Bindings()) {
    if (b.kind != Kind::List) continue;
    for (const wchar_t* item : b.items) SendDlgItemMessageW(dialog, b.id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  for (const wchar_t* item : kDateFormats) {
    SendDlgItemMessageW(dialog, IDC_DATE_FORMAT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
}

bool HasPanelButton(int mode) { return std::find(kPanelModes.begin(), kPanelModes.end(), mode) != kPanelModes.end(); }

void ShowPanelMode(HWND dialog, int mode) {
  if (!HasPanelButton(mode)) mode = kPanelModes[0];
  for (int m : kPanelModes) CheckDlgButton(dialog, IDC_MODE_BUTTON + m, m == mode ? BST_CHECKED : BST_UNCHECKED);
  for (const Binding& b : Bindings()) ShowWindow(GetDlgItem(dialog, b.id), b.mode == mode ? SW_SHOW : SW_HIDE);
  RedrawWithFrames(dialog);
}

int PanelMode(HWND dialog) {
  for (int m : kPanelModes) {
    if (IsDlgButtonChecked(dialog, IDC_MODE_BUTTON + m) == BST_CHECKED) return m;
  }
  return kPanelModes[0];
}

int AdjacentPanelMode(int mode, int step) {
  auto at = std::find(kPanelModes.begin(), kPanelModes.end(), mode);
  const int count = static_cast<int>(kPanelModes.size());
  const int index = at == kPanelModes.end() ? 0 : static_cast<int>(at - kPanelModes.begin());
  return kPanelModes[static_cast<size_t>(((index + step) % count + count) % count)];
}

void WritePanel(HWND dialog, const PanelValues& panel) {
  for (const Binding& b : Bindings()) {
    switch (b.kind) {
      case Kind::Text:
        SetDlgItemTextW(dialog, b.id, (panel.*b.text).c_str());
        break;
      case Kind::Check:
        CheckDlgButton(dialog, b.id, panel.*b.number ? BST_CHECKED : BST_UNCHECKED);
        break;
      case Kind::List:
        SendDlgItemMessageW(dialog, b.id, CB_SETCURSEL, static_cast<WPARAM>(panel.*b.number), 0);
        break;
      case Kind::Label:
        break;
    }
  }
  if (panel.datefrom >= 0) {
    SendDlgItemMessageW(dialog, IDC_DATE_FORMAT, CB_SETCURSEL, static_cast<WPARAM>(panel.datefrom), 0);
  } else {
    SendDlgItemMessageW(dialog, IDC_DATE_FORMAT, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetDlgItemTextW(dialog, IDC_DATE_FORMAT, panel.dateText.c_str());
  }
  ShowPanelMode(dialog, panel.mode);
}

void ReadPanel(HWND dialog, PanelValues& panel) {
  for (const Binding& b : Bindings()) {
    switch (b.kind) {
      case Kind::Text:
        panel.*b.text = ControlText(dialog, b.id);
        break;
      case Kind::Check:
        panel.*b.number = IsDlgButtonChecked(dialog, b.id) == BST_CHECKED ? 1 : 0;
        break;
      case Kind::List: {
        const LRESULT selection = SendDlgItemMessageW(dialog, b.id, CB_GETCURSEL, 0, 0);
        panel.*b.number = selection == CB_ERR ? 0 : static_cast<int>(selection);
        break;
      }
      case Kind::Label:
        break;
    }
  }
  // The date pattern list is editable: a text that is none of its entries is a typed pattern.
  const std::wstring typed = ControlText(dialog, IDC_DATE_FORMAT);
  const auto listed = std::find_if(kDateFormats.begin(), kDateFormats.end(),
                                   [&](const wchar_t* item) { return typed == item; });
  if (listed != kDateFormats.end()) {
    panel.datefrom = static_cast<int>(listed - kDateFormats.begin());
    panel.dateText.clear();
  } else {
    panel.datefrom = -1;
    panel.dateText = typed;
  }
  panel.mode = PanelMode(dialog);
}

void FillReplaceLists(HWND dialog, const std::vector<std::wstring>& from, const std::vector<std::wstring>& to) {
  const std::pair<int, const std::vector<std::wstring>*> lists[] = {{IDC_REPLACE_FROM, &from}, {IDC_REPLACE_TO, &to}};
  for (const auto& [id, entries] : lists) {
    const std::wstring text = ControlText(dialog, id);
    SendDlgItemMessageW(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : *entries) {
      SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    SetDlgItemTextW(dialog, id, text.c_str());
  }
}

bool StepNumberBox(HWND dialog, int controlId, int wheelDelta) {
  for (const NumberBox& box : kNumberBoxes) {
    if (box.id != controlId) continue;
    const int value = static_cast<int>(GetDlgItemInt(dialog, box.id, nullptr, FALSE));
    const int next = std::clamp(value + (wheelDelta > 0 ? 1 : -1), 0, box.maximum);
    SetDlgItemInt(dialog, box.id, static_cast<UINT>(next), FALSE);
    return true;
  }
  return false;
}

}  // namespace korval
