// Drives a real editor window inside a test process the way a person does: commands, button
// clicks, typed texts and selected rows; the naming and reduction dialogs answer from the test.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "macroedit/editor_state.h"

namespace korval {

class EditorDriver {
 public:
  // Opens the editor on folder (which ends with a backslash) with the command line arguments and
  // lets its deferred start run.
  explicit EditorDriver(const std::wstring& folder, std::vector<std::wstring> arguments = {});
  ~EditorDriver();
  EditorDriver(const EditorDriver&) = delete;
  EditorDriver& operator=(const EditorDriver&) = delete;

  bool Open() const { return IsWindow(window_) != FALSE; }
  HWND Window() const { return window_; }
  EditorState& State() const;

  // Runs the window's messages for a while.
  void Pump(DWORD milliseconds = 50) const;
  // A menu item or key.
  void Command(int id) const;
  // A button of the main dialog (after the quiet time of the previous one).
  void Click(int id) const;
  void SetText(int controlId, const std::wstring& text) const;
  void Check(int controlId, bool checked) const;
  void SelectListItem(int controlId, int index) const;
  // Turns the mouse wheel by delta over the centre of the control.
  void Wheel(int controlId, int delta) const;
  // Selects exactly these rows; the last one gets the focus.
  void SelectRows(std::initializer_list<int> rows) const;

  // Column 0, 1 or 2 of every row, as the list shows it.
  std::vector<std::wstring> Column(int column) const;

  // The next save is named so: slot index 0..24 and name; false makes the dialog cancelled.
  void AnswerSaveName(int slotIndex, const std::wstring& name, bool ok = true) const;
  void AnswerReduce(int maxmultirep, bool ok = true) const;

  // WM_CLOSE; true when the window is gone.
  bool Close();

 private:
  HWND window_ = nullptr;
  std::wstring folder_;
  std::vector<std::wstring> arguments_;
};

}  // namespace korval
