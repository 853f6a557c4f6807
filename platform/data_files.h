// The names of the data files both programs keep in their own folder, built from one table.
#pragma once

#include <string>

namespace korval {

// Index into the table of name patterns; the first "%s" of each is the program folder.
enum class DataFile {
  ChangeLog = 0,     // "%srename%d.log"
  MacroFile = 1,     // "%smacro%d.bin"
  RecordingFile = 2, // "%smacro%d"
  MacroList = 3,     // "%smacro.lst"
  SettingsIni = 4,   // "%skorvalith.ini"
  UseIniMarker = 5,  // "%suse.ini"
  Trace = 6,         // "%strace.txt"
  EditorExchange = 7 // "%sedit_ren.txt"
};

// folder ends with a backslash; number fills the "%d" of the numbered patterns.
std::wstring DataFilePath(DataFile kind, const std::wstring& folder, int number = 0);

// The folder of the running program, with its trailing backslash.
std::wstring ProgramFolder();

}  // namespace korval
