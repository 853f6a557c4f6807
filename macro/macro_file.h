// The macro files on disk: appending records with the size limit, reading a macro whole, finding
// the file an automatic run names, and the recorder's writes of header, steps and name list.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "macro/macro_list.h"
#include "modes/mode_params.h"
#include "platform/data_files.h"
#include "platform/file_system.h"

namespace korval {

inline constexpr size_t kMacroAppendLimit = 64736;  // an append to a file this large writes nothing
inline constexpr size_t kMacroReadLimit = 65536;    // a macro is read up to this many bytes

enum class MacroWriteMode { Append = 0, Truncate = 2 };

enum MacroWriteResult : int {
  kMacroWritten = 0,
  kMacroOpenFailed = 1,  // the file could not be opened, or the bytes could not be written
  kMacroFileFull = 2,
  kMacroNothingToWrite = 3,  // AppendMacroRecord with a kind that has no record
};

// Writes bytes to the file the pattern table gives for kind and number in folder (which ends with a
// backslash). Read-only, hidden, archive and system are cleared first when the file exists. Append
// refuses with kMacroFileFull when the file already holds kMacroAppendLimit bytes or more.
int WriteMacroFile(const std::wstring& folder, DataFile kind, int number, std::string_view bytes,
                   MacroWriteMode mode);
int WriteMacroFileAt(const std::wstring& path, std::string_view bytes, MacroWriteMode mode);

// Reads at most kMacroReadLimit bytes of the file; false when it cannot be opened or read (a file
// of any size, one byte included, is told apart from a failure).
bool ReadMacroFile(const std::wstring& path, std::vector<unsigned char>& bytes);

// The macro file an automatic run names, in this order: the name as given; without an extension,
// the name with ".bin" (when the rest is shorter than 254 characters); the program folder with the
// name's file name (at most 257 characters); without an extension, the program folder with the name
// and ".bin" (the rest at most 253 characters). Empty when none exists.
std::wstring ResolveMacroFileName(const std::wstring& name, const std::wstring& programFolder,
                                  const std::function<bool(const std::wstring&)>& exists);
// The same, asking the file system whether a file (not a folder) is there.
std::wstring ResolveMacroFileName(const std::wstring& name, const std::wstring& programFolder, FileSystem& fs);

// The macro playback reads: the slot's file (slot index 0..24), or the resolved file an automatic
// run names when autoFile is not empty.
std::wstring SelectedMacroPath(const std::wstring& programFolder, int slotIndex, const std::wstring& autoFile,
                               FileSystem& fs);

// What the recorder's writes need, passed in rather than kept in globals.
struct MacroRecordingContext {
  std::wstring programFolder;  // with its trailing backslash
  int fileDir = 0;             // the header's target: 0 files, 1 folders
  const ModeParams* params = nullptr;
  const MacroSlotNames* slotNames = nullptr;
};

inline constexpr int kRecordHeader = -1;
inline constexpr int kRecordMacroList = -2;

// kind -1: the header, starting the recording file anew; 1..12: one step of that mode appended to
// the recording file; -2: the main program's macro list, written anew. Returns a MacroWriteResult.
int AppendMacroRecord(int kind, const MacroRecordingContext& context);

// Reads the list file of folder for the program (an unreadable file leaves every slot unregistered)
// and writes it anew.
MacroSlotNames ReadMacroList(const std::wstring& folder, MacroProgram program);
int WriteMacroList(const std::wstring& folder, const MacroSlotNames& names, MacroProgram program);

}  // namespace korval
