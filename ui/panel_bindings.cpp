// The binding table of the mode panel and the entries of its drop-down lists.
#include "ui/panel_bindings.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace korval {
namespace {

enum class Kind { Check, TriState, Choice, Text };

struct Binding {
  int id;
  Kind kind;
  int PanelValues::*number = nullptr;
  std::wstring PanelValues::*text = nullptr;
  int limit = 0;  // characters a text box takes
};

constexpr Binding kBindings[] = {
    {IDC_POSITION_NO_EXTENSION, Kind::Check, &PanelValues::posedtnoext},
    {IDC_EXTENSION_TEXT, Kind::Text, nullptr, &PanelValues::extensionText, 259},
    {IDC_EXTENSION_APPEND, Kind::Check, &PanelValues::extadd},
    {IDC_SERIAL_TEMPLATE, Kind::Text, nullptr, &PanelValues::renbanstr, 255},
    {IDC_SERIAL_POSITION, Kind::Choice, &PanelValues::numinspos},
    {IDC_SERIAL_PER_FOLDER, Kind::Check, &PanelValues::dirrenreset},
    {IDC_CASE_KIND, Kind::Choice, &PanelValues::bigsmall},
    {IDC_FULLWIDTH_CASE, Kind::Check, &PanelValues::dbytebig},
    {IDC_CASE_EXCEPTIONS, Kind::Text, nullptr, &PanelValues::exceptionText, 254},
    {IDC_WIDTH_KIND, Kind::Choice, &PanelValues::zenorhan},
    {IDC_WIDTH_KATAKANA, Kind::Check, &PanelValues::widthKatakana},
    {IDC_WIDTH_LETTERS, Kind::Check, &PanelValues::widthLetters},
    {IDC_WIDTH_DIGITS, Kind::Check, &PanelValues::widthDigits},
    {IDC_WIDTH_SYMBOLS, Kind::Check, &PanelValues::widthSymbols},
    {IDC_SHORT_NAME_KIND, Kind::Choice, &PanelValues::real8_3},
    {IDC_ADD_FROM, Kind::Choice, &PanelValues::addprepost},
    {IDC_ADD_POSITION, Kind::Text, nullptr, &PanelValues::addlenText, 3},
    {IDC_ADD_TEXT, Kind::Text, nullptr, &PanelValues::addstr, 255},
    {IDC_DELETE_KIND, Kind::Choice, &PanelValues::deltype},
    {IDC_DELETE_FROM, Kind::Text, nullptr, &PanelValues::dellenText, 3},
    {IDC_DELETE_COUNT, Kind::Text, nullptr, &PanelValues::dellen2Text, 3},
    {IDC_DATE_WHICH, Kind::Choice, &PanelValues::whichdate},
    {IDC_DATE_SEPARATOR, Kind::Text, nullptr, &PanelValues::sepstr, 6},
    {IDC_DATE_INSERT, Kind::Choice, &PanelValues::dateins},
    {IDC_DATE_WITH_YMD, Kind::Check, &PanelValues::addyymmdd},
    {IDC_REPLACE_FROM, Kind::Text, nullptr, &PanelValues::replaceFrom, 240},
    {IDC_REPLACE_TO, Kind::Text, nullptr, &PanelValues::replaceTo, 240},
    {IDC_REPLACE_MODE, Kind::Choice, &PanelValues::repmode},
    {IDC_REGEX, Kind::Check, &PanelValues::regexp},
    {IDC_REPLACE_EXTENSION, Kind::Check, &PanelValues::repwithext},
    {IDC_REPLACE_CASE, Kind::Check, &PanelValues::repcase},
    {IDC_RANDOM_PATTERN, Kind::Choice, &PanelValues::rndpattern},
    {IDC_RANDOM_EXTENSION, Kind::Choice, &PanelValues::rndext},
    {IDC_RANDOM_LENGTH, Kind::Choice, &PanelValues::rndlen},
    {IDC_TIME_KIND, Kind::Choice, &PanelValues::creatmodif},
    {IDC_TIME_SECONDS, Kind::Text, nullptr, &PanelValues::secondsText, 6},
    {IDC_TIME_CONDITION, Kind::Choice, &PanelValues::timestpsm},
    {IDC_TIME_DAYS, Kind::Text, nullptr, &PanelValues::daysText, 3},
    {IDC_TIME_DIRECTION, Kind::Choice, &PanelValues::fwdback},
    {IDC_TIME_NOW, Kind::Check, &PanelValues::stampnow},
    {IDC_MACRO_SLOT, Kind::Choice, &PanelValues::macrono},
    {IDC_FILTER, Kind::Text, nullptr, &PanelValues::filterText, 242},
};

constexpr int kAttributeBoxes[4] = {IDC_ATTR_READONLY, IDC_ATTR_HIDDEN, IDC_ATTR_ARCHIVE, IDC_ATTR_SYSTEM};

struct ListEntries {
  int id;
  std::vector<const wchar_t*> entries;
};

const std::vector<ListEntries>& Lists() {
  static const std::vector<ListEntries> lists = {
      {IDC_SERIAL_POSITION, {L"先頭に挿入", L"後ろに追加", L"拡張子の後ろへ追加", L"新しい名前に (元拡張子消)", L"新しい名前に＋元拡張子"}},
      {IDC_CASE_KIND, {L"全て小文字（abc）に", L"全て大文字（ABC）に", L"全て大文字（ABC）に (拡張子は除く)",
                       L"先頭だけ大文字（Abc_def）に", L"語頭を大文字（Abc_Def）に"}},
      {IDC_WIDTH_KIND, {L"半角(ｱA1)に", L"全角 （アＡ１） に"}},
      {IDC_SHORT_NAME_KIND, {L"Windows標準指定", L"全て大文字に", L"全て小文字に"}},
      {IDC_ADD_FROM, {L"前から", L"後ろから"}},
      {IDC_DELETE_KIND, {L" - ショートカット", L"「コピー ～」や「 - コピー」", L"[数字]　　　例：[123]", L"(数字)　　　例：(123)",
                         L"[ 文字 ] ", L"( 文字 )", L"「 文字 」", L"【 文字 】", L"先頭から指定文字数", L"後ろから指定文字数",
                         L"指定文字数より後＿文字分", L"S-JISにないUnicode文字"}},
      {IDC_DATE_WHICH, {L"作成日時", L"更新日時", L"撮影日時", L"撮影 or 作成"}},
      {IDC_DATE_FROM, {L"YYYY〓MM〓DD〓hh〓mm〓ss", L"YYYYMMDD〓hhmmss", L"YYYY〓MM〓DD〓hh〓mm", L"YYYYMMDD〓hhmm",
                       L"YYYY〓MM〓DD", L"YYYYMMDDhhmmss", L"YYYYMMDDhhmm", L"YYYYMMDD", L"MMDD"}},
      {IDC_DATE_INSERT, {L"新規の名前", L"先頭に追加", L"後ろに追加", L"先頭に追加＋〓", L"〓＋後ろに追加"}},
      {IDC_REPLACE_MODE, {L"全て", L"最初の", L"最後の"}},
      {IDC_RANDOM_PATTERN, {L"数字のみ", L"英字のみ", L"前半:英字　後半:数字", L"数字と英字　混在", L"ひらがなのみ", L"全角　混在",
                            L"全角半角　全部混在"}},
      {IDC_RANDOM_EXTENSION, {L"元のまま", L"無し", L"ランダム", L"ランダム or 無し"}},
      {IDC_RANDOM_LENGTH, {L"4 文字固定", L"4～8 文字", L"4～16 文字", L"8 文字固定", L"8～16 文字", L"16 文字固定"}},
      {IDC_TIME_KIND, {L"作成日時を指定", L"更新日時を指定", L"作成日時と更新日時を指定", L"作成日時を更新日時に合わせる",
                       L"更新日時を作成日時に合わせる", L"作成日時の時差調整", L"更新日時の時差調整"}},
      {IDC_TIME_CONDITION, {L"全て", L"日時が進む場合のみ", L"日時が戻る場合のみ"}},
      {IDC_TIME_DIRECTION, {L"戻す", L"進める"}},
  };
  return lists;
}

constexpr NumberBox kNumberBoxes[] = {
    {IDC_ADD_POSITION, 0, 255}, {IDC_DELETE_FROM, 0, 255}, {IDC_DELETE_COUNT, 1, 255},
    {IDC_TIME_SECONDS, 0, 604800}, {IDC_TIME_DAYS, 0, 366},
};

std::wstring TextOf(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(std::max(0, length)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
  return text;
}

void SetList(HWND box, const std::vector<std::wstring>& entries) {
  const std::wstring text = TextOf(box);
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& entry : entries) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  SetWindowTextW(box, text.c_str());
}

// The number boxes step by one per notch of the mouse wheel.
LRESULT CALLBACK NumberBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR range) {
  if (message == WM_MOUSEWHEEL) {
    StepNumberBox(box, *reinterpret_cast<const NumberBox*>(range), GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 1 : -1);
    return 0;
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

// The control of id when ids reaches it (an empty ids reaches every control) and it has been made.
HWND ReachedItem(const Frame& frame, std::span<const int> ids, int id) {
  const bool reached = ids.empty() || std::find(ids.begin(), ids.end(), id) != ids.end();
  return reached ? frame.Item(id) : nullptr;
}

bool IsComboBox(HWND control) {
  wchar_t name[16] = L"";
  GetClassNameW(control, name, 16);
  return lstrcmpiW(name, L"ComboBox") == 0;
}

}  // namespace

void FillPanelLists(const Workspace& work, const Frame& frame, std::span<const int> ids) {
  for (const ListEntries& list : Lists()) {
    HWND box = ReachedItem(frame, ids, list.id);
    if (!box || SendMessageW(box, CB_GETCOUNT, 0, 0) > 0) continue;
    for (const wchar_t* entry : list.entries) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  }
  if (HWND slots = ReachedItem(frame, ids, IDC_MACRO_SLOT)) {
    SendMessageW(slots, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& name : work.macroSlots) SendMessageW(slots, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  for (const Binding& b : kBindings) {
    HWND control = ReachedItem(frame, ids, b.id);
    if (!control || b.kind != Kind::Text) continue;
    SendMessageW(control, IsComboBox(control) ? CB_LIMITTEXT : EM_LIMITTEXT, b.limit, 0);
  }
  if (HWND box = ReachedItem(frame, ids, IDC_POSITION_TEXT)) SendMessageW(box, EM_LIMITTEXT, 259, 0);
  for (const NumberBox& range : kNumberBoxes) {
    if (HWND box = ReachedItem(frame, ids, range.id)) SetWindowSubclass(box, NumberBoxProc, 1, reinterpret_cast<DWORD_PTR>(&range));
  }
  if (HWND dates = ReachedItem(frame, ids, IDC_DATE_FROM)) SendMessageW(dates, CB_LIMITTEXT, 127, 0);
  ShowInputHistories(work, frame);
}

void ShowInputHistories(const Workspace& work, const Frame& frame) {
  const Settings& s = work.settings;
  SetList(frame.Item(IDC_EXTENSION_TEXT), s.extHistory);
  SetList(frame.Item(IDC_SERIAL_TEMPLATE), s.serialHistory);
  SetList(frame.Item(IDC_ADD_TEXT), s.addHistory);
  SetList(frame.Item(IDC_REPLACE_FROM), s.replaceFromHistory);
  SetList(frame.Item(IDC_REPLACE_TO), s.replaceToHistory);
  SetList(frame.Item(IDC_FILTER), s.filterHistory);
}

void ReadPanel(const Frame& frame, PanelValues& panel) {
  for (const Binding& b : kBindings) {
    HWND control = frame.Item(b.id);
    if (!control) continue;
    switch (b.kind) {
      case Kind::Check: panel.*b.number = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; break;
      case Kind::Choice: {
        const LRESULT chosen = SendMessageW(control, CB_GETCURSEL, 0, 0);
        if (chosen >= 0) panel.*b.number = static_cast<int>(chosen);
        break;
      }
      case Kind::Text: panel.*b.text = TextOf(control); break;
      case Kind::TriState: break;
    }
  }
  for (int k = 0; k < 4; ++k) {
    HWND box = frame.Item(kAttributeBoxes[k]);
    if (!box) continue;
    const LRESULT state = SendMessageW(box, BM_GETCHECK, 0, 0);
    panel.attributes[k] = state == BST_CHECKED ? 1 : state == BST_UNCHECKED ? 0 : 2;
  }
  // The date pattern: one of the list's entries, or a pattern typed into the box.
  HWND dates = frame.Item(IDC_DATE_FROM);
  if (!dates) return;
  const std::wstring typed = TextOf(dates);
  const LRESULT listed = SendMessageW(dates, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(typed.c_str()));
  panel.datefrom = listed >= 0 ? static_cast<int>(listed) : -1;
  panel.dateText = listed >= 0 ? L"" : typed;
}

void WritePanel(Workspace& work, const Frame& frame, std::span<const int> ids) {
  const bool was = work.fillingPanel;
  work.fillingPanel = true;
  const PanelValues& panel = work.panel;
  for (const Binding& b : kBindings) {
    HWND control = ReachedItem(frame, ids, b.id);
    if (!control) continue;
    switch (b.kind) {
      case Kind::Check: SendMessageW(control, BM_SETCHECK, panel.*b.number ? BST_CHECKED : BST_UNCHECKED, 0); break;
      case Kind::Choice: SendMessageW(control, CB_SETCURSEL, panel.*b.number, 0); break;
      case Kind::Text:
        if (TextOf(control) != panel.*b.text) SetWindowTextW(control, (panel.*b.text).c_str());
        break;
      case Kind::TriState: break;
    }
  }
  for (int k = 0; k < 4; ++k) {
    const int choice = panel.attributes[k];
    SendMessageW(ReachedItem(frame, ids, kAttributeBoxes[k]), BM_SETCHECK,
                 choice == 1 ? BST_CHECKED : choice == 0 ? BST_UNCHECKED : BST_INDETERMINATE, 0);
  }
  if (HWND dates = ReachedItem(frame, ids, IDC_DATE_FROM); dates && panel.datefrom >= 0) {
    SendMessageW(dates, CB_SETCURSEL, panel.datefrom, 0);
  } else if (dates) {
    SetWindowTextW(dates, panel.dateText.c_str());
  }
  work.fillingPanel = was;
}

void PanelFromSettings(const Settings& s, PanelValues& p) {
  p.posedtnoext = s.posedtnoext;
  p.extadd = s.extadd;
  p.dirrenreset = s.dirrenreset;
  p.dbytebig = s.dbytebig;
  p.regexp = s.regexp;
  p.repwithext = s.repwithext;
  p.repcase = s.repcase;
  p.addyymmdd = s.addyymmdd;
  p.stampnow = s.stampnow;
  p.numinspos = s.numinspos;
  p.bigsmall = s.bigsmall;
  p.zenorhan = s.zenorhan;
  p.real8_3 = s.real8_3;
  p.addprepost = s.addprepost;
  p.deltype = s.deltype;
  p.whichdate = s.whichdate;
  p.datefrom = s.datefrom;
  p.dateText = s.datefrom < 0 ? s.ymdform : L"";
  p.dateins = s.dateins;
  p.repmode = s.repmode;
  p.rndpattern = s.rndpattern;
  p.rndext = s.rndext;
  p.rndlen = s.rndlen;
  p.macrono = s.macrono;
  p.creatmodif = s.creatmodif;
  p.timestpsm = s.timestpsm;
  p.fwdback = s.fwdback;
  p.sepstr = s.sepstr;
  p.addlenText = std::to_wstring(s.addlen);
  p.dellenText = std::to_wstring(s.dellen);
  p.dellen2Text = std::to_wstring(s.dellen2);
  p.secondsText = std::to_wstring(s.timeplus);
  p.daysText = L"0";
  for (int k = 0; k < 4; ++k) p.attributes[k] = std::clamp((s.attribute >> (12 - 4 * k)) & 0xF, 0, 2);
  p.widthDigits = (s.zentohan >> 0) & 1;
  p.widthLetters = (s.zentohan >> 4) & 1;
  p.widthKatakana = (s.zentohan >> 8) & 1;
  p.widthSymbols = (s.zentohan >> 12) & 1;
  p.extensionText = s.extHistory.empty() ? L"" : s.extHistory.front();
  p.renbanstr = s.serialHistory.empty() ? L"1" : s.serialHistory.front();
  p.addstr = s.addHistory.empty() ? L"" : s.addHistory.front();
  p.replaceFrom = s.replaceFromHistory.empty() ? L"" : s.replaceFromHistory.front();
  p.replaceTo = s.replaceToHistory.empty() ? L"" : s.replaceToHistory.front();
}

void SettingsFromPanel(const PanelValues& p, Settings& s) {
  s.posedtnoext = p.posedtnoext;
  s.extadd = p.extadd;
  s.dirrenreset = p.dirrenreset;
  s.dbytebig = p.dbytebig;
  s.regexp = p.regexp;
  s.repwithext = p.repwithext;
  s.repcase = p.repcase;
  s.addyymmdd = p.addyymmdd;
  s.stampnow = p.stampnow;
  s.numinspos = p.numinspos;
  s.bigsmall = p.bigsmall;
  s.zenorhan = p.zenorhan;
  s.real8_3 = p.real8_3;
  s.addprepost = p.addprepost;
  s.deltype = p.deltype;
  s.whichdate = p.whichdate;
  s.datefrom = p.datefrom;
  s.ymdform = p.datefrom < 0 ? p.dateText : L"";
  s.dateins = p.dateins;
  s.repmode = p.repmode;
  s.rndpattern = p.rndpattern;
  s.rndext = p.rndext;
  s.rndlen = p.rndlen;
  s.macrono = p.macrono;
  s.creatmodif = p.creatmodif;
  s.timestpsm = p.timestpsm;
  s.fwdback = p.fwdback;
  s.sepstr = p.sepstr;
  s.addlen = std::clamp(_wtoi(p.addlenText.c_str()), 0, 255);
  s.dellen = std::clamp(_wtoi(p.dellenText.c_str()), 0, 255);
  s.dellen2 = std::clamp(_wtoi(p.dellen2Text.c_str()), 1, 255);
  s.timeplus = std::clamp(_wtoi(p.secondsText.c_str()), 0, 604800);
  s.attribute = 0;
  for (int k = 0; k < 4; ++k) s.attribute |= std::clamp(p.attributes[k], 0, 2) << (12 - 4 * k);
  s.zentohan = (p.widthDigits ? 1 : 0) | (p.widthLetters ? 0x10 : 0) | (p.widthKatakana ? 0x100 : 0) |
               (p.widthSymbols ? 0x1000 : 0);
}

const NumberBox* NumberBoxOf(int id) {
  for (const NumberBox& box : kNumberBoxes) {
    if (box.id == id) return &box;
  }
  return nullptr;
}

void StepNumberBox(HWND box, const NumberBox& range, int delta) {
  const std::wstring text = TextOf(box);
  const long long value = std::wcstoll(text.c_str(), nullptr, 10) + delta;
  SetWindowTextW(box, std::to_wstring(std::clamp<long long>(value, range.low, range.high)).c_str());
}

}  // namespace korval
