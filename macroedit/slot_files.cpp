// Slot files through the shared format library, replaced whole through a temporary file.
#include "macroedit/slot_files.h"

#include <windows.h>

#include <vector>

#include "macro/macro_file.h"
#include "macro/parse_record.h"
#include "macroedit/editor_message.h"
#include "platform/data_files.h"
#include "platform/format_text.h"

namespace korval {
namespace {

constexpr DWORD kProtectingAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                        FILE_ATTRIBUTE_ARCHIVE;

// Read-only, hidden, system and archive are cleared before a data file is replaced or deleted.
void ClearProtection(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  if (attributes & kProtectingAttributes) {
    const DWORD kept = attributes & ~kProtectingAttributes;
    SetFileAttributesW(path.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
  }
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

SlotContents LoadSlot(const std::wstring& folder, int slot) {
  SlotContents contents;
  std::vector<unsigned char> bytes;
  if (!ReadMacroFile(DataFilePath(DataFile::MacroFile, folder, slot), bytes)) return contents;
  contents.readable = true;
  const MacroReadout readout = ReadMacroRecords(bytes.data(), bytes.size(), [](const std::wstring& text,
                                                                                const std::wstring& caption,
                                                                                UINT style) {
    EditorMessage(text, caption.c_str(), style);
  });
  if (readout.broken) {
    contents.broken = true;
    contents.status = FormatText(L"マクロNo.%02d　*** 破損 ***", slot);
    return contents;
  }
  if (readout.hasHeader) contents.status = EditorHeaderStatus(slot, readout.header);
  for (const MacroRecord& step : readout.steps) {
    StepRow row;
    if (RowFromRecord(step, row)) contents.rows.push_back(std::move(row));
  }
  return contents;
}

bool ReplaceFileWhole(const std::wstring& path, std::string_view bytes) {
  const std::wstring temporary = path + L".tmp";
  if (WriteMacroFileAt(temporary, bytes, MacroWriteMode::Truncate) != kMacroWritten) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  ClearProtection(path);
  if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool StoreSlotFile(const std::wstring& folder, int slot, std::string_view bytes) {
  return ReplaceFileWhole(DataFilePath(DataFile::MacroFile, folder, slot), bytes);
}

bool StoreMacroList(const std::wstring& folder, const MacroSlotNames& names) {
  return ReplaceFileWhole(DataFilePath(DataFile::MacroList, folder), BuildMacroList(names, MacroProgram::Editor));
}

bool DeleteSlotFile(const std::wstring& folder, int slot) {
  const std::wstring path = DataFilePath(DataFile::MacroFile, folder, slot);
  ClearProtection(path);
  DeleteFileW(path.c_str());
  return !FileExists(path);
}

void RemoveEmptyMacroList(const std::wstring& folder) {
  const std::wstring path = DataFilePath(DataFile::MacroList, folder);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || data.nFileSizeLow != 0 || data.nFileSizeHigh != 0) return;
  ClearProtection(path);
  DeleteFileW(path.c_str());
}

}  // namespace korval
