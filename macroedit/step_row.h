// One row of the editor's step list and its ways in and out: from a record of a macro file, back to
// a record when the list is saved, and the raw values its description starts with.
#pragma once

#include <string>
#include <vector>

#include "macro/macro_record.h"

namespace korval {

struct StepRow {
  std::wstring mode;      // column 0: the mode's name
  std::wstring setting;   // column 1: the description
  std::wstring setting2;  // column 2: the continuation, or the start of a position map
  // The second count of a deletion step: its description does not show it, so the row keeps it
  // beside the texts and a save does not lose it. Empty for rows that came another way.
  std::wstring deleteSecondCount;

  bool operator==(const StepRow&) const = default;
};

using StepRows = std::vector<StepRow>;

// The raw values a description starts with: the digit characters at places 2, 4 and 6 of columns 1
// and 2 joined, text A between the first two double quotes and, when that quote is followed by a
// comma and a quote, text B up to the next quote. A missing part reads as empty (digits as 0).
struct RawStepPart {
  char d0 = 0, d1 = 0, d2 = 0;
  std::wstring textA, textB;
};
RawStepPart ReadRawPart(const StepRow& row);

// The shown start of a position map is this many characters.
inline constexpr size_t kShownMapChars = 254;

// The row of a decoded step; false for a record that has no row (not a step, or the "dmy" code).
bool RowFromRecord(const MacroRecord& step, StepRow& row);

// The row of a step the editor builds itself; the same as reading the record back.
bool RowFromRecordBytes(const std::string& record, StepRow& row);

enum class RowRecordResult { Built, UnknownMode, InvalidValue };

// The record a row saves as. UnknownMode when column 0 names none of the modes 1..12; InvalidValue
// when the record fails the code table or its digit limits.
RowRecordResult RecordFromRow(const StepRow& row, std::string& record);

}  // namespace korval
