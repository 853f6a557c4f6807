// The records of a macro file: the header, the ordinary step record, the position-edit record with
// its position map, the writers that build them and the one decoder both programs read them with.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "modes/mode_params.h"

namespace korval {

inline constexpr size_t kHeaderRecordLength = 6;
inline constexpr int kStoredMapEntries = 259;  // position map entries in an "EDT" record
inline constexpr size_t kMapOffset = 3;
inline constexpr size_t kMapOffsetVersion12 = 4;  // files of version 12 keep the map one byte later
inline constexpr size_t kPositionFlagOffset = 521;
inline constexpr size_t kPositionTextOffset = 524;
inline constexpr size_t kPositionRecordFixedLength = 526;  // everything but the text
inline constexpr size_t kStepRecordFixedLength = 9;        // everything but the two texts
inline constexpr int kMinMapValue = -1, kMaxMapValue = 260;

// One position map entry: the value clamped to -1..260, stored as value + 1 in two lower-case hex
// digits up to 255 and as "+" and a digit above.
std::string EncodeMapEntry(int value);
// Two hex digits of either case give their value - 1, "+d" gives 255 + d; anything else is the
// typed mark -1 (as a zero-filled entry reads).
int DecodeMapEntry(char first, char second);
// The first count entries of map, one after the other.
std::string EncodePositionMap(const std::array<int, kPositionMapSize>& map, size_t count = kStoredMapEntries);

// "KV15", the target ('0' files, '1' folders) and LF. The editor always records files.
std::string BuildHeaderRecord(int fileDir);
std::string BuildEditorHeaderRecord();

// An ordinary step record from its parts: code, the three digit characters as given, text A, NUL,
// text B, NUL, LF. Empty for an index outside the ordinary codes.
std::string FormatStepRecord(int codeIndex, char d0, char d1, char d2, std::wstring_view textA,
                             std::wstring_view textB);
// A position-edit record: "EDT", 259 map entries, the flag character, '0', a space, the text, NUL, LF.
std::string FormatPositionRecord(const std::array<int, kPositionMapSize>& map, char flag, std::wstring_view text);

// The editor's position-edit record from the shown start of an encoded map: the whole entries
// shown are kept, each further one stores the previous stored value + 1 (at most 261, "+5") up to
// 260 entries, and the 260th entry's two characters become the flag and '0'.
std::string BuildPositionRecordFromShownMap(std::string_view shownMap, char flag, std::wstring_view text);

// The record of one step of the mode (1..12) from the mode parameters, exactly as the recorder
// stores it; empty for a mode that has no code. Digits are kept within the code's limits so that
// every record written is one the readers accept.
std::string BuildStepRecord(int mode, const ModeParams& params);

enum class MacroRecordKind { Unknown, Header, Step };

// One record decoded. Bytes past the end of the buffer read as zero, so a cut record reads as one
// followed by a zero-filled tail: texts end there and the next record is unknown.
struct MacroRecord {
  MacroRecordKind kind = MacroRecordKind::Unknown;
  size_t length = 0;  // bytes the record occupies, never past the end of the buffer
  bool whole = true;  // the record ends within the buffer

  // Steps.
  int codeIndex = -1;
  int d0 = 0, d1 = 0, d2 = 0;  // digit values: '0' is 0, ':' is 10 ...
  std::wstring textA, textB;   // "EDT": textA is the edited sample text

  // "EDT" only.
  std::array<int, kStoredMapEntries> map{};
  std::string encodedMap;     // the stored map characters (fewer when the buffer ends early)
  char flag = 0, flag2 = 0;   // the bytes at 521 and 522

  // The header only.
  int version = 0;
  char versionDigits[2] = {0, 0};
  char target = 0;
};

// Decodes the record at offset. version is the one the file's header gave (0 before a header): it
// decides where an "EDT" record's map begins.
MacroRecord DecodeRecord(const unsigned char* data, size_t size, size_t offset, int version);

// The flag the editor shows for a position-edit record: '1' when byte 521 is '1' and byte 522 is
// '0' or '1', else '0'.
char ShownPositionFlag(const MacroRecord& step);

bool HeaderVersionSupported(const MacroRecord& header);  // versions 11 to 15
bool HeaderAccepted(const MacroRecord& header);          // target '0' or '1'

// The editor's check of a record it built or read: the code index, or -1 when the code is unknown
// or a digit lies beyond its limit (for "EDT", the flag byte against the first limit).
int ValidateRecord(const unsigned char* data, size_t size);

}  // namespace korval
