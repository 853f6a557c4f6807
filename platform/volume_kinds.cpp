// The kinds of the volumes folders lie on, asked per volume and kept for a few seconds.
#include "platform/volume_kinds.h"

#include <vector>

namespace korval {
namespace {

std::wstring Upper(std::wstring text) {
  if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// FAT volumes and discs do not move a folder's last-write time when its entries change.
bool BlindToEntries(const std::wstring& fileSystem) {
  for (const wchar_t* blind : {L"FAT", L"FAT12", L"FAT16", L"FAT32", L"exFAT", L"CDFS", L"UDF"}) {
    if (CompareStringOrdinal(fileSystem.c_str(), -1, blind, -1, TRUE) == CSTR_EQUAL) return true;
  }
  return false;
}

}  // namespace

VolumeQuestions SystemVolumeQuestions() {
  VolumeQuestions q;
  q.volumePathOf = [](const std::wstring& path, std::wstring& volumePath) {
    std::vector<wchar_t> buffer(path.size() + MAX_PATH, L'\0');
    if (!GetVolumePathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()))) return false;
    volumePath = buffer.data();
    return !volumePath.empty();
  };
  q.information = [](const std::wstring& volumePath, DWORD& serial, std::wstring& fileSystem) {
    wchar_t name[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(volumePath.c_str(), nullptr, 0, &serial, nullptr, nullptr, name, MAX_PATH + 1)) {
      return false;
    }
    fileSystem = name;
    return true;
  };
  q.remoteDrive = [](const std::wstring& root) { return GetDriveTypeW(root.c_str()) == DRIVE_REMOTE; };
  q.now = [] { return GetTickCount64(); };
  return q;
}

bool IsUncPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return true;
  if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0) return false;
  return path.rfind(L"\\\\", 0) == 0;
}

std::wstring RootOf(const std::wstring& path) {
  std::wstring rest = path;
  std::wstring prefix;
  if (rest.rfind(L"\\\\?\\UNC\\", 0) == 0) {
    prefix = L"\\\\?\\UNC\\";
    rest = rest.substr(prefix.size());
  } else if (rest.rfind(L"\\\\?\\", 0) == 0) {
    prefix = L"\\\\?\\";
    rest = rest.substr(prefix.size());
  } else if (rest.rfind(L"\\\\", 0) == 0) {
    prefix = L"\\\\";
    rest = rest.substr(prefix.size());
  }
  if (rest.size() >= 2 && rest[1] == L':') return prefix + rest.substr(0, 2) + L"\\";
  // Server and share.
  const size_t server = rest.find(L'\\');
  const size_t share = server == std::wstring::npos ? std::wstring::npos : rest.find(L'\\', server + 1);
  return prefix + (share == std::wstring::npos ? rest + L"\\" : rest.substr(0, share + 1));
}

bool VolumeKinds::Remote(const std::wstring& folder) {
  if (IsUncPath(folder)) return true;
  const ULONGLONG now = ask_.now();
  Kept& drive = drives_[Upper(RootOf(folder))];
  if (!Fresh(drive, now)) {
    drive.kind.remote = ask_.remoteDrive(RootOf(folder));
    drive.askedAt = now;
    drive.asked = true;
  }
  return drive.kind.remote;
}

const VolumeKind& VolumeKinds::Of(const std::wstring& folder, bool plainFolder) {
  const bool remote = Remote(folder);
  const ULONGLONG now = ask_.now();
  if (remote) return OfVolume(RootOf(folder), true, now);  // no question here waits for a server
  KeptPath& kept = folders_[folder];
  if (!Fresh(kept, now)) {
    const KeptPath* parent = nullptr;
    const size_t slash = folder.size() > 1 ? folder.find_last_of(L'\\', folder.size() - 2) : std::wstring::npos;
    if (plainFolder && slash != std::wstring::npos) {
      const auto found = folders_.find(folder.substr(0, slash + 1));
      if (found != folders_.end() && Fresh(found->second, now)) parent = &found->second;
    }
    if (parent) {
      kept.volumePath = parent->volumePath;
    } else if (!ask_.volumePathOf(folder, kept.volumePath)) {
      kept.volumePath = RootOf(folder);
    }
    kept.askedAt = now;
    kept.asked = true;
  }
  return OfVolume(kept.volumePath, false, now);
}

const VolumeKind& VolumeKinds::OfVolume(const std::wstring& volumePath, bool remote, ULONGLONG now) {
  Kept& volume = volumes_[Upper(volumePath)];
  if (!Fresh(volume, now)) {
    std::wstring fileSystem;
    volume.kind = {};
    volume.kind.stampsTell = ask_.information(volumePath, volume.kind.serial, fileSystem) && !BlindToEntries(fileSystem);
    volume.kind.remote = remote;
    volume.askedAt = now;
    volume.asked = true;
  }
  return volume.kind;
}

}  // namespace korval
