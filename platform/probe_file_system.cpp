// Probing the file system of a path's drive.
#include "platform/probe_file_system.h"

namespace korval {

int ProbeFileSystem(const std::wstring& path, FileSystem& fs) {
  const size_t lastSlash = path.find_last_of(L'\\');
  if (lastSlash == std::wstring::npos) return kFsOther;
  const std::wstring folder = path.substr(0, lastSlash + 1);
  if (folder.size() < 3 || folder[1] != L':' || folder[2] != L'\\') return kFsOther;
  std::wstring name;
  if (!fs.VolumeFileSystemName(folder.substr(0, 3).c_str(), name)) return kFsOther;
  if (name.find(L"FAT") != std::wstring::npos) return kFsFat;
  if (name.find(L"CDFS") != std::wstring::npos) return kFsCdfs;
  if (name.find(L"NTFS") != std::wstring::npos) return kFsNtfs;
  return kFsOther;
}

}  // namespace korval
