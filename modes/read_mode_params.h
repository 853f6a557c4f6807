// Turning the raw values of the mode panel into ModeParams before every preview and execution:
// escapes decoded, numbers clamped, the exception word and replacement item lists built, and the
// input histories updated. The panel itself only collects and shows these values.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "modes/mode_params.h"

namespace korval {

// What the panel's controls hold, as the window reads them. Texts are the boxes' texts; selections
// are drop-down indexes; flags are check states.
struct PanelValues {
  int mode = 1;  // the current change mode number

  int posedtnoext = 0, extadd = 0, dirrenreset = 0, dbytebig = 0, regexp = 0, repwithext = 0, repcase = 1;
  int addyymmdd = 0, stampnow = 0;
  int widthKatakana = 0, widthLetters = 0, widthDigits = 0, widthSymbols = 0;

  std::wstring positionText;
  std::array<int, kPositionMapSize> positionMap = IdentityPositionMap();
  std::wstring extensionText, renbanstr, addstr, sepstr;
  std::wstring addlenText, dellenText, dellen2Text;  // written back when corrected
  std::wstring secondsText, daysText;                // written back when above their maximum
  std::wstring exceptionText;                         // the box of the selected case conversion
  std::wstring replaceFrom, replaceTo, filterText;
  std::wstring dateText;  // the date pattern box's text
  std::wstring baseDate, baseTime;

  int numinspos = 0, bigsmall = 0, zenorhan = 0, real8_3 = 0, addprepost = 0, deltype = 0;
  int whichdate = 0, datefrom = 0;  // datefrom -1 when the user typed a pattern
  int dateins = 0, repmode = 0, rndpattern = 3, rndext = 0, rndlen = 3, macrono = 0;
  int creatmodif = 0, timestpsm = 0, fwdback = 0;
  std::array<int, 4> attributes{2, 2, 2, 2};
};

// The histories of the text boxes (most recent first) and which of them are kept.
struct InputHistories {
  std::vector<std::wstring>* replaceFrom = nullptr;
  std::vector<std::wstring>* replaceTo = nullptr;
  std::vector<std::wstring>* extension = nullptr;
  std::vector<std::wstring>* serial = nullptr;
  std::vector<std::wstring>* addText = nullptr;
  std::vector<std::wstring>* filter = nullptr;
  int switches = 255;  // `inputlog`: 2 filter, 4 replacement, 128 the others
};

// An automatic run that carries its own search and replacement texts.
struct AutoReplace {
  std::wstring from, to;
  int repmode = 0;
  int repcase = 1;
  int repwithext = 0;
  bool tooLong = false;  // a text of the command line was too long: the run stops as for a long box
};

// Fills params from the panel in the documented order. Returns true when a text was too long (the
// caller then says "入力した文字数が多すぎます。" and does nothing else). Corrected numbers are
// written back into panel's texts for the window to show.
bool ReadModeParams(PanelValues& panel, ModeParams& params, const InputHistories& histories,
                    const AutoReplace* autoReplace = nullptr);

// The exception words the case conversion bigsmall keeps (its box shows them when it is chosen):
// list 0 for lower case, list 1 for the two upper cases, list 2 for word starts, none for case 3.
const std::wstring& ExceptionTextFor(const ModeParams& params, int bigsmall);

// Puts entry at the top of a history; an exact (case-sensitive) match already in it moves there.
// Keeps at most maxEntries.
void RememberInput(std::vector<std::wstring>& history, const std::wstring& entry, size_t maxEntries = 64);

// Cuts a replacement box's text into its "/"-separated items, at most 8; a slash protected by a
// backslash ("\/") separates nothing and stays in its item as written. An empty remainder adds
// no item. For search texts an empty item ends the list.
std::vector<std::wstring> SplitReplaceItems(const std::wstring& text, bool searchItems);

}  // namespace korval
