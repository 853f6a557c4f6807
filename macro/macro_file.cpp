// Macro files on disk through the wide Win32 file calls.
#include "macro/macro_file.h"

#include <windows.h>

#include <algorithm>

#include "macro/macro_record.h"
#include "platform/read_file.h"
#include "platform/scoped_handle.h"
#include "platform/write_file.h"

namespace korval {
namespace {

constexpr size_t kDirectNameLimit = 253;   // name + ".bin" beside the given folder
constexpr size_t kFolderNameLimit = 257;   // program folder + file name
constexpr size_t kFolderStemLimit = 253;   // program folder + name, before ".bin"
constexpr const wchar_t* kMacroExtension = L".bin";

}  // namespace

int WriteMacroFileAt(const std::wstring& path, std::string_view bytes, MacroWriteMode mode) {
  if (path.empty()) return kMacroOpenFailed;
  ClearDataFileAttributes(path);
  const bool append = mode == MacroWriteMode::Append;
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return kMacroOpenFailed;
  if (append) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) return kMacroOpenFailed;
    if (static_cast<unsigned long long>(size.QuadPart) >= kMacroAppendLimit) return kMacroFileFull;
    const LARGE_INTEGER zero{};
    if (!SetFilePointerEx(file.Get(), zero, nullptr, FILE_END)) return kMacroOpenFailed;
  }
  return WriteAllBytes(file.Get(), bytes) ? kMacroWritten : kMacroOpenFailed;
}

int WriteMacroFile(const std::wstring& folder, DataFile kind, int number, std::string_view bytes,
                   MacroWriteMode mode) {
  return WriteMacroFileAt(DataFilePath(kind, folder, number), bytes, mode);
}

bool ReadMacroFile(const std::wstring& path, std::vector<unsigned char>& bytes) {
  return ReadFileHead(path, kMacroReadLimit, FILE_SHARE_READ | FILE_SHARE_WRITE, bytes);
}

std::wstring ResolveMacroFileName(const std::wstring& name, const std::wstring& programFolder,
                                  const std::function<bool(const std::wstring&)>& exists) {
  if (name.empty() || !exists) return {};
  if (exists(name)) return name;
  const size_t slash = name.find_last_of(L"\\/:");
  const std::wstring fileName = slash == std::wstring::npos ? name : name.substr(slash + 1);
  const bool hasExtension = fileName.find(L'.') != std::wstring::npos;

  if (!hasExtension && name.size() <= kDirectNameLimit) {
    const std::wstring withExtension = name + kMacroExtension;
    if (exists(withExtension)) return withExtension;
  }
  if (fileName.empty()) return {};
  const std::wstring inFolder = programFolder + fileName;
  if (inFolder.size() <= kFolderNameLimit && exists(inFolder)) return inFolder;
  if (!hasExtension && inFolder.size() <= kFolderStemLimit) {
    const std::wstring withExtension = inFolder + kMacroExtension;
    if (exists(withExtension)) return withExtension;
  }
  return {};
}

std::wstring ResolveMacroFileName(const std::wstring& name, const std::wstring& programFolder, FileSystem& fs) {
  return ResolveMacroFileName(name, programFolder, [&fs](const std::wstring& path) {
    const DWORD attributes = fs.GetAttributes(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  });
}

std::wstring SelectedMacroPath(const std::wstring& programFolder, int slotIndex, const std::wstring& autoFile,
                               FileSystem& fs) {
  if (!autoFile.empty()) return ResolveMacroFileName(autoFile, programFolder, fs);
  return DataFilePath(DataFile::MacroFile, programFolder, std::clamp(slotIndex, 0, kMacroSlotCount - 1) + 1);
}

int AppendMacroRecord(int kind, const MacroRecordingContext& context) {
  if (kind == kRecordHeader) {
    return WriteMacroFile(context.programFolder, DataFile::RecordingFile, 0, BuildHeaderRecord(context.fileDir),
                          MacroWriteMode::Truncate);
  }
  if (kind == kRecordMacroList) {
    if (!context.slotNames) return kMacroNothingToWrite;
    return WriteMacroList(context.programFolder, *context.slotNames, MacroProgram::Main);
  }
  if (!context.params) return kMacroNothingToWrite;
  const std::string record = BuildStepRecord(kind, *context.params);
  if (record.empty()) return kMacroNothingToWrite;
  return WriteMacroFile(context.programFolder, DataFile::RecordingFile, 0, record, MacroWriteMode::Append);
}

MacroSlotNames ReadMacroList(const std::wstring& folder, MacroProgram program) {
  std::vector<unsigned char> bytes;
  if (!ReadMacroFile(DataFilePath(DataFile::MacroList, folder), bytes)) return UnregisteredSlots();
  return ParseMacroList(bytes.data(), bytes.size(), program);
}

int WriteMacroList(const std::wstring& folder, const MacroSlotNames& names, MacroProgram program) {
  return WriteMacroFile(folder, DataFile::MacroList, 0, BuildMacroList(names, program), MacroWriteMode::Truncate);
}

}  // namespace korval
