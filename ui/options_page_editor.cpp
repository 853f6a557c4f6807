// Options page 5 "テキストエディタ他": which text editor edits the names, and the options added to
// every automatic run.
#include "resources/resource.h"
#include "ui/options_dialog.h"

namespace korval {
namespace {

using S = Settings;
using B = BindKind;

constexpr OptionBinding kBindings[] = {
    {IDC_OPT_EDITOR_BUILTIN_FIRST, B::Check, &S::txtedtbox},
    {IDC_OPT_EDITOR_EXTENSIONS, B::Check, &S::textedtext},
    {IDC_OPT_EDITOR_NOTEPAD, B::Radio, &S::txteditor, nullptr, 0},
    {IDC_OPT_EDITOR_ASSOCIATED, B::Radio, &S::txteditor, nullptr, 1},
    {IDC_OPT_EDITOR_CHOSEN, B::Radio, &S::txteditor, nullptr, 2},
    {IDC_OPT_EDITOR_PATH, B::Text, nullptr, &S::editorpath},
    {IDC_OPT_AUTO_OPTIONS, B::Text, nullptr, &S::autoaddopt},
};

// "参照..": the program chosen goes into the path box, and the chosen editor is the one used.
bool Command(HWND page, int control, int code, OptionsData& data) {
  if (control != IDC_OPT_EDITOR_BROWSE || code != BN_CLICKED) return false;
  wchar_t typed[MAX_PATH] = L"";
  GetDlgItemTextW(page, IDC_OPT_EDITOR_PATH, typed, MAX_PATH);
  std::wstring path = typed;
  if (data.chooseProgram(page, path)) {
    SetDlgItemTextW(page, IDC_OPT_EDITOR_PATH, path.c_str());
    CheckRadioButton(page, IDC_OPT_EDITOR_NOTEPAD, IDC_OPT_EDITOR_CHOSEN, IDC_OPT_EDITOR_CHOSEN);
  }
  return true;
}

}  // namespace

const OptionsPage& EditorPage() {
  static const OptionsPage page{L"IDPAGE5", kBindings, {}, nullptr, Command};
  return page;
}

}  // namespace korval
