// The text editor dialog.
#include "ui/text_editor_dialog.h"

#include <shellapi.h>

#include <algorithm>

#include "engine/show_message.h"
#include "filelist/edit_lines.h"
#include "modes/change_mode.h"
#include "platform/dpi.h"
#include "platform/format_text.h"
#include "resources/resource.h"

namespace korval {
namespace {

constexpr UINT_PTR kExternalTimer = 1;
constexpr int kMaxCopyChars = 255999;

struct EditorState {
  TextEditorData* data;
  size_t page = 0;
  bool external = false;
};

EditLineOptions Options(const TextEditorData& d) { return {d.mode, d.settings->textedtext != 0}; }

size_t Pages(const TextEditorData& d) { return std::max<size_t>(1, (d.list->Count() + kEditorPageRows - 1) / kEditorPageRows); }

void FillPanes(HWND dialog, const EditorState& s) {
  const TextEditorData& d = *s.data;
  const size_t first = s.page * kEditorPageRows, last = first + kEditorPageRows - 1;
  SetDlgItemTextW(dialog, IDC_EDIT_OLD, EditLines(*d.list, first, last, false, Options(d)).c_str());
  SetDlgItemTextW(dialog, IDC_EDIT_NEW, EditLines(*d.list, first, last, true, Options(d)).c_str());
  const size_t shownLast = std::min(last + 1, d.list->Count());
  SetDlgItemTextW(dialog, IDC_EDIT_PAGE, FormatText(L"%d - %d", static_cast<int>(first + 1), static_cast<int>(shownLast)).c_str());
  HWND right = GetDlgItem(dialog, IDC_EDIT_NEW);
  SetFocus(right);
  SendMessageW(right, EM_SETSEL, 0, 0);
}

std::wstring PaneText(HWND pane) {
  const int length = GetWindowTextLengthW(pane);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(pane, text.data(), length + 1)));
  return text;
}

// External mode: a small window above the others with only the two buttons; the editor works on
// the exchange file of all rows.
void GoExternal(HWND dialog, EditorState& s) {
  TextEditorData& d = *s.data;
  const std::wstring lines = EditLines(*d.list, 0, d.list->Count(), true, Options(d));
  if (d.settings->txteditor == 2 && GetFileAttributesW(d.settings->editorpath.c_str()) == INVALID_FILE_ATTRIBUTES) {
    StartExternalEditor(dialog, *d.settings, d.exchangePath);  // says that the editor is missing
    return;
  }
  for (int id : {IDC_EDIT_OLD, IDC_EDIT_NEW, IDC_EDIT_COPY, IDC_EDIT_PREVIOUS, IDC_EDIT_NEXT, IDC_EDIT_PAGE,
                 IDC_EDIT_EXTENSION, IDC_EDIT_EXTERNAL}) {
    ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
  }
  // 260 x 70 pixels at 96 DPI, with the two buttons side by side.
  const int dpi = WindowDpi(dialog);
  auto px = [dpi](int size) { return ScaleToDpi(size, dpi); };
  SetWindowPos(dialog, HWND_TOPMOST, 0, 0, px(260), px(70), SWP_NOMOVE);
  RECT client;
  GetClientRect(dialog, &client);
  const int half = client.right / 2;
  MoveWindow(GetDlgItem(dialog, IDC_EDIT_APPLY), px(4), px(4), half - px(6), client.bottom - px(8), TRUE);
  MoveWindow(GetDlgItem(dialog, IDCANCEL), half + px(2), px(4), half - px(6), client.bottom - px(8), TRUE);
  s.external = true;
  if (!WriteExchangeFile(d.exchangePath, lines, d.list->Count())) return;
  StartExternalEditor(dialog, *d.settings, d.exchangePath);
}

void Apply(HWND dialog, EditorState& s) {
  TextEditorData& d = *s.data;
  if (s.external) {
    std::wstring text;
    if (!ReadExchangeFile(d.exchangePath, d.list->Count(), text)) {
      ShowMessage(MessageKind::Plain, MB_OK | MB_ICONEXCLAMATION, kExchangeUnreadableCaption,
                  FormatText(kExchangeUnreadableText, d.exchangePath.c_str()), MessageClass::Error);
      return;  // the names stay as they were
    }
    ApplyEditLines(*d.list, 0, d.list->Count(), text, Options(d));
  } else {
    const size_t first = s.page * kEditorPageRows;
    ApplyEditLines(*d.list, first, first + kEditorPageRows - 1, PaneText(GetDlgItem(dialog, IDC_EDIT_NEW)), Options(d));
  }
  if (d.applied) d.applied();
}

void Layout(HWND dialog) {
  RECT r;
  GetClientRect(dialog, &r);
  RECT unit{0, 0, 4, 8};
  MapDialogRect(dialog, &unit);
  const int margin = unit.right * 7 / 4, buttons = unit.bottom * 14 / 8 + margin;
  const int middle = unit.right * 13, paneWidth = std::max(20, (static_cast<int>(r.right) - 2 * margin - middle) / 2);
  const int paneHeight = std::max(20, static_cast<int>(r.bottom) - buttons - 2 * margin);
  MoveWindow(GetDlgItem(dialog, IDC_EDIT_OLD), margin, margin, paneWidth, paneHeight, TRUE);
  MoveWindow(GetDlgItem(dialog, IDC_EDIT_NEW), margin + paneWidth + middle, margin, paneWidth, paneHeight, TRUE);
  HWND copy = GetDlgItem(dialog, IDC_EDIT_COPY);
  RECT c;
  GetWindowRect(copy, &c);
  const int gap = ScaleToDpi(2, WindowDpi(dialog));
  MoveWindow(copy, margin + paneWidth + gap, margin + paneHeight / 2, middle - 2 * gap, c.bottom - c.top, TRUE);
  for (int id : {IDC_EDIT_PREVIOUS, IDC_EDIT_PAGE, IDC_EDIT_NEXT, IDC_EDIT_EXTENSION, IDC_EDIT_EXTERNAL, IDC_EDIT_APPLY, IDCANCEL}) {
    HWND control = GetDlgItem(dialog, id);
    RECT w;
    GetWindowRect(control, &w);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&w), 2);
    MoveWindow(control, w.left, r.bottom - margin - (w.bottom - w.top), w.right - w.left, w.bottom - w.top, TRUE);
  }
  InvalidateRect(dialog, nullptr, TRUE);
}

INT_PTR CALLBACK TextEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<EditorState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      s = reinterpret_cast<EditorState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      const TextEditorData& d = *s->data;
      CheckDlgButton(dialog, IDC_EDIT_EXTENSION, d.settings->textedtext ? BST_CHECKED : BST_UNCHECKED);
      const bool paged = d.list->Count() > kEditorPageRows;
      for (int id : {IDC_EDIT_PREVIOUS, IDC_EDIT_NEXT, IDC_EDIT_PAGE}) ShowWindow(GetDlgItem(dialog, id), paged ? SW_SHOW : SW_HIDE);
      EnableWindow(GetDlgItem(dialog, IDC_EDIT_COPY), d.mode != kModeTimestamp && d.mode != kModeAttribute);
      SendDlgItemMessageW(dialog, IDC_EDIT_NEW, EM_LIMITTEXT, 0, 0);
      FillPanes(dialog, *s);
      if (d.firstMode > 0) SetTimer(dialog, kExternalTimer, 10, nullptr);
      return FALSE;
    }
    case WM_TIMER:
      KillTimer(dialog, kExternalTimer);
      GoExternal(dialog, *s);
      return TRUE;
    case WM_SIZE:
      if (s && !s->external) Layout(dialog);
      return TRUE;
    case WM_GETMINMAXINFO:
      if (s && !s->external) reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {460, 150};
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_EDIT_APPLY: Apply(dialog, *s); return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        case IDC_EDIT_PREVIOUS:
        case IDC_EDIT_NEXT: {
          const bool next = LOWORD(wParam) == IDC_EDIT_NEXT;
          if ((next && s->page + 1 < Pages(*s->data)) || (!next && s->page > 0)) {
            s->page += next ? 1 : static_cast<size_t>(-1);
            FillPanes(dialog, *s);
          }
          return TRUE;
        }
        case IDC_EDIT_EXTENSION:
          s->data->settings->textedtext = IsDlgButtonChecked(dialog, IDC_EDIT_EXTENSION) == BST_CHECKED ? 1 : 0;
          FillPanes(dialog, *s);
          return TRUE;
        case IDC_EDIT_COPY: {
          std::wstring text = PaneText(GetDlgItem(dialog, IDC_EDIT_OLD));
          if (text.size() > static_cast<size_t>(kMaxCopyChars)) text.resize(kMaxCopyChars);
          SetDlgItemTextW(dialog, IDC_EDIT_NEW, text.c_str());
          return TRUE;
        }
        case IDC_EDIT_EXTERNAL:
          s->data->firstMode = s->data->settings->txteditor + 1;
          SetTimer(dialog, kExternalTimer, 50, nullptr);
          return TRUE;
        case IDC_EDIT_NEW:
          // The left pane follows the right one line for line.
          if (HIWORD(wParam) == EN_VSCROLL || HIWORD(wParam) == EN_CHANGE) {
            HWND left = GetDlgItem(dialog, IDC_EDIT_OLD);
            const LRESULT want = SendDlgItemMessageW(dialog, IDC_EDIT_NEW, EM_GETFIRSTVISIBLELINE, 0, 0);
            SendMessageW(left, EM_LINESCROLL, 0, want - SendMessageW(left, EM_GETFIRSTVISIBLELINE, 0, 0));
          }
          return TRUE;
        default: return FALSE;
      }
    default: return FALSE;
  }
}

}  // namespace

bool StartExternalEditor(HWND owner, const Settings& s, const std::wstring& path) {
  const std::wstring quoted = L"\"" + path + L"\"";
  HINSTANCE started = nullptr;
  if (s.txteditor == 0) {
    started = ShellExecuteW(owner, L"open", L"notepad.exe", quoted.c_str(), nullptr, SW_SHOWNORMAL);
  } else if (s.txteditor == 1) {
    started = ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  } else {
    if (GetFileAttributesW(s.editorpath.c_str()) == INVALID_FILE_ATTRIBUTES) {
      ShowMessage(MessageKind::Plain, MB_OK | MB_ICONINFORMATION, kEditorMissingCaption2,
                  FormatText(kEditorMissingFormat, s.editorpath.c_str()), MessageClass::Error);
      return false;
    }
    started = ShellExecuteW(owner, L"open", s.editorpath.c_str(), quoted.c_str(), nullptr, SW_SHOWNORMAL);
  }
  return reinterpret_cast<INT_PTR>(started) > 32;
}

void ShowTextEditorDialog(HWND owner, TextEditorData* io) {
  EditorState state{io};
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEXT_EDITOR), owner, TextEditorProc,
                  reinterpret_cast<LPARAM>(&state));
}

}  // namespace korval
