// A real main window created in this process under the null graphics driver, driven as a person
// drives it: keys through the accelerators and the message loop, buttons clicked, files dropped.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "testing/refusing_registry.h"
#include "testing/dialog_answers.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"
#include "ui/workspace.h"

namespace korval {

class MainWindowTest : public testing::Test {
 protected:
  MainWindowTest();
  ~MainWindowTest() override;

  // Opens the window with these arguments after the program name; the setup timers have run.
  void Open(const std::vector<std::wstring>& arguments = {});
  void Close();
  // Runs the message loop (with the accelerators) for about ms milliseconds.
  void Pump(int ms);
  // Runs the message loop until done() holds; false, with a failure naming what was awaited, when it
  // does not hold within limitMs.
  bool WaitFor(const std::function<bool()>& done, const char* what, int limitMs = 10000);
  // Waits until the window takes commands again after a drop, a header click or a panel change
  // (the busy flag that timer 1501 clears 100 ms later).
  bool Settle();
  // A key pressed on the focused control; Ctrl, Shift and Alt held as asked.
  void Key(UINT vk, bool ctrl = false, bool shift = false, bool alt = false);
  void Click(int controlId);
  // Drops paths on the window as the shell does.
  void Drop(const std::vector<std::wstring>& paths);
  void FocusList();
  // Steps the mode with Alt+→ (Alt+← when back) until the window shows mode; false, with a
  // failure that says where it stopped, when a round of every mode does not reach it.
  bool StepToMode(int mode, bool back = false);

  // Saves every row to csv in the standard layout through the file dialog, empties the list, and
  // opens the file again (Ctrl+O), all as a person does.
  void SaveAllAndReadBack(const std::wstring& csv);

  Workspace& Work() const;
  Frame& Parts() const;
  std::wstring Text(int controlId) const;
  // The old and new names of every row, "old>new|...".
  std::wstring Rows() const;

  TempFolder program;  // the program folder: settings (an ini file), logs, macros
  TempFolder files;    // the files the tests rename
  ScriptedMessageSink sink;
  // The registry the window's commands reach: the folder verb's keys refuse every write and delete,
  // so that no test changes the folder menu unless it asks to. Settings kept in the registry go to
  // a key of the tests' own.
  RefusingRegistry registry{{kShellVerbKey, kShellVerbCommandKey}, {kShellVerbKey, kShellVerbCommandKey}};
  std::wstring registryKey = L"Software\\Pinecot Tools\\KorvalithWindowTest";
  HWND window = nullptr;
  HACCEL accelerators = nullptr;

 private:
  HWND focused_ = nullptr;  // where the window's focus was after the last key
};

// Types the path into a file dialog's name box (and picks the CSV layout, when format is 0 or more
// and the dialog has the box) and confirms, once the dialog has its boxes.
DialogAnswers::Answer ChooseFileInDialog(const std::wstring& path, int format = -1);

}  // namespace korval
