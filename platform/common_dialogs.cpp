// comdlg32 loaded on first use.
#include "platform/common_dialogs.h"

namespace korval {
namespace {

template <typename Function>
Function CommonDialogFunction(const char* name) {
  static const HMODULE library = LoadLibraryW(L"comdlg32.dll");  // a known system library
  return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

}  // namespace

bool OpenFileDialog(OPENFILENAMEW* dialog) {
  const auto show = CommonDialogFunction<BOOL(WINAPI*)(OPENFILENAMEW*)>("GetOpenFileNameW");
  return show && show(dialog);
}

bool SaveFileDialog(OPENFILENAMEW* dialog) {
  const auto show = CommonDialogFunction<BOOL(WINAPI*)(OPENFILENAMEW*)>("GetSaveFileNameW");
  return show && show(dialog);
}

bool ColourDialog(CHOOSECOLORW* dialog) {
  const auto show = CommonDialogFunction<BOOL(WINAPI*)(CHOOSECOLORW*)>("ChooseColorW");
  return show && show(dialog);
}

}  // namespace korval
