// Reading a macro back: the main program's playback loads one record at a time into the mode panel;
// the editor reads every record of a file into rows of its step list.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "macro/macro_record.h"
#include "modes/read_mode_params.h"

namespace korval {

// How the readers speak to the user: text, caption and MB_ style. The main program passes its
// message routine; an empty function shows the box through the current message sink.
using MacroNotify = std::function<void(const std::wstring& text, const std::wstring& caption, UINT style)>;

inline constexpr const wchar_t* kUnsupportedVersionText = L"このバージョンのマクロファイルは扱えません。";
inline constexpr const wchar_t* kUnsupportedVersionCaption = L"Non-supported Version";
inline constexpr const wchar_t* kEditorUnsupportedVersionCaption = L"non-supported version";

// What playback remembers between records.
struct MacroParseState {
  int version = 0;      // of the last header read; decides where an "EDT" record's map begins
  int stepCounter = 0;  // set to 1 when a header is accepted; the playback raises it per step
  bool cut = false;     // the file was read up to the read limit: a step not whole within it ends the macro
};

enum ParseResult : int {
  kParseStepLoaded = 0,
  kParseNothing = 1,  // the end of the macro, a rejected header or an unknown record
  kParseHeader = 2,
};

// Reads the record at offset (bytes past size count as zero) and advances offset past it. A step
// selects its mode in panel and loads its values; a header is checked and remembered in state; an
// unsupported version is told through notify with the main program's caption and error icon.
int ParseNextRecord(const unsigned char* data, size_t size, size_t& offset, MacroParseState& state,
                    PanelValues& panel, const MacroNotify& notify = {});

// Loads a decoded step into the panel the way playback does.
void LoadStepIntoPanel(const MacroRecord& step, PanelValues& panel);

// Every record of a file as the editor reads it, from offset 0 until a record is not recognised.
struct MacroReadout {
  bool hasHeader = false;
  MacroRecord header;              // the last header read
  bool unsupportedVersion = false; // told through notify; no steps after it are read
  bool broken = false;             // the first record is neither a header nor a valid step
  std::vector<MacroRecord> steps;
};

// A header whose target is not '0' or '1' ends the reading (its version is still shown); an
// unsupported version is told with the editor's caption and warning icon.
MacroReadout ReadMacroRecords(const unsigned char* data, size_t size, const MacroNotify& notify = {});

// The editor's status text for a header: "マクロNo.%02d　Ver 1.5", or "Ver ---" when the version
// bytes are not digits.
std::wstring EditorHeaderStatus(int slotNumber, const MacroRecord& header);

}  // namespace korval
