// Which kind of file system holds a path: time stamps on FAT volumes only keep even seconds.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace korval {

enum FileSystemKind : int { kFsOther = 0, kFsFat = 1, kFsNtfs = 2, kFsCdfs = 3 };

// 1 when the volume's file-system name contains "FAT" (FAT, FAT32, exFAT), else 3 for "CDFS", else 2
// for "NTFS", else 0. Only drive paths ("X:\..." after the file name is dropped) are probed; UNC paths,
// relative paths and volumes that cannot be asked give 0.
int ProbeFileSystem(const std::wstring& path, FileSystem& fs = SystemFileSystem());

}  // namespace korval
