// The editor's own settings: its ini file "korvalmacroedit.ini" beside the program when "use.ini"
// exists there, otherwise its registry key. The mode panel's values share the main program's names.
#pragma once

#include <string>
#include <vector>

#include "config/settings_store.h"
#include "modes/read_mode_params.h"

namespace korval {

inline constexpr const wchar_t* kEditorRegistryKey = L"Software\\Pinecot Tools\\KorvalMacEdt";
inline constexpr const wchar_t* kEditorIniName = L"korvalmacroedit.ini";
inline constexpr int kEditorVersion = 4231201;
inline constexpr size_t kReplaceHistoryEntries = 8;

// The panel of a first start: the serial and deletion counts as their boxes show them.
inline PanelValues DefaultEditorPanel() {
  PanelValues panel;
  panel.addlenText = L"0";
  panel.dellenText = L"0";
  panel.dellen2Text = L"255";
  return panel;
}

struct EditorSettings {
  int wleft = -1, wtop = -1, wwidth = -1, wheight = -1;
  int head1w = 110, head2w = 330, head3w = 150;
  int topmost = 0;
  int statusBar = 1;       // kept in `dispcontrols`
  int maxmultirep = 6;     // list index 0..6 of the parts 2..8
  int headcount = 0x12;    // the step list's column order, one hexadecimal digit per position
  // The main program's list settings, which the editor keeps for it under the same names.
  int del = 0, listcols1 = 1, listcols2 = 1, bmargin = 0, rmargin = 0;
  int version = 0, count = 0;
  PanelValues panel = DefaultEditorPanel();  // the mode panel, `mode` the selected mode
  std::wstring bsexcept0, bsexcept1;
  // The replacement boxes' lists, most recent first: `replacefrom1`.. and `replaceto1`.., 8 each.
  std::vector<std::wstring> replaceFromHistory, replaceToHistory;
  std::wstring bsexcept2 = L"a an and at by for in into of on or the to with";
};

// The store the editor uses in programFolder (which ends with a backslash).
SettingsStore ChooseEditorStore(const std::wstring& programFolder);

// Counts the start (`_version`, `_count`, and in the registry the vendor key's "tools" on a first
// start) and reads every setting.
void LoadEditorSettings(const SettingsStore& store, EditorSettings& s);

// Writes the settings; the window's place and size only when windowNormal.
void SaveEditorSettings(const SettingsStore& store, const EditorSettings& s, bool windowNormal);

// The exception words of a case conversion and where they are kept.
std::wstring& ExceptionWordsFor(EditorSettings& s, int bigsmall);

// "設定情報を削除して終了": asks, removes the ini file's contents or the registry key, and says how it
// went. True when the settings were removed and the editor should close without writing them.
bool RemoveEditorSettings(const SettingsStore& store);

}  // namespace korval
