// What the folders' stamps need to know of the volume a folder lies on: whether its folders keep a
// last-write time of their entries, its serial, and whether it is reached over the network. Asked
// per volume by the volume's path (a volume mounted in a folder of another is a volume of its own)
// and asked again after a few seconds, so that a card taken out and another put in at the same
// letter is not taken for the first.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>

namespace korval {

struct VolumeKind {
  bool stampsTell = false;  // the volume moves a folder's last-write time with its entries (not FAT)
  DWORD serial = 0;
  bool remote = false;      // reached over the network
};

// The questions asked of the system; tests give answers of their own.
struct VolumeQuestions {
  // The path of the volume a local path lies on ("C:\", "C:\mnt\card\"); false when unknown.
  std::function<bool(const std::wstring& path, std::wstring& volumePath)> volumePathOf;
  // The volume's serial and file-system name ("NTFS", "exFAT" ...); false when they cannot be read.
  std::function<bool(const std::wstring& volumePath, DWORD& serial, std::wstring& fileSystem)> information;
  // Whether the drive of a root ("Z:\") is a network drive.
  std::function<bool(const std::wstring& root)> remoteDrive;
  // Milliseconds of a steady clock.
  std::function<ULONGLONG()> now;
};

VolumeQuestions SystemVolumeQuestions();

// The root of the volume of a full path, as written: "C:\", "\\server\share\" (with or without "\\?\").
std::wstring RootOf(const std::wstring& path);
// A path on a network share given by its server's name ("\\server\share\...", "\\?\UNC\...").
bool IsUncPath(const std::wstring& path);

class VolumeKinds {
 public:
  explicit VolumeKinds(VolumeQuestions questions = SystemVolumeQuestions()) : ask_(std::move(questions)) {}

  // How long an answer is kept before it is asked again.
  static constexpr ULONGLONG kKeptMs = 5000;

  // The kind of the volume folder (a full path ending with a backslash) lies on. plainFolder: the
  // folder is known to be no link nor mount point, so it lies on its parent's volume where that is
  // known (the folders of a read need no question of their own).
  const VolumeKind& Of(const std::wstring& folder, bool plainFolder = false);
  // Whether folder lies on a network drive or share; asks no server (only the drive's type).
  bool Remote(const std::wstring& folder);

 private:
  struct Kept {
    VolumeKind kind;
    ULONGLONG askedAt = 0;
    bool asked = false;
  };
  struct KeptPath {
    std::wstring volumePath;
    ULONGLONG askedAt = 0;
    bool asked = false;
  };
  template <typename T>
  static bool Fresh(const T& kept, ULONGLONG now) {
    return kept.asked && now - kept.askedAt < kKeptMs;
  }
  const VolumeKind& OfVolume(const std::wstring& volumePath, bool remote, ULONGLONG now);

  VolumeQuestions ask_;
  std::unordered_map<std::wstring, KeptPath> folders_;  // a folder's volume path
  std::unordered_map<std::wstring, Kept> volumes_;      // by volume path, upper-cased
  std::unordered_map<std::wstring, Kept> drives_;       // whether a root's drive is remote
};

}  // namespace korval
