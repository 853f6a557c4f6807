// Which Windows we run on: detected once at start, consulted by the start-up gate, the default of
// `dispcontrols` and the Vista-only message filter.
#pragma once

#include <windows.h>

namespace korval {

// The raw facts the system reports.
struct OsVersionFacts {
  DWORD platformId = 0;  // VER_PLATFORM_WIN32_WINDOWS (9x) or VER_PLATFORM_WIN32_NT
  DWORD major = 0;
  DWORD minor = 0;
  DWORD build = 0;
  BYTE productType = 0;  // VER_NT_WORKSTATION, VER_NT_SERVER, ...
};

struct WindowsVersion {
  const wchar_t* name = L"Unknown Windows";
  int code = 20995;      // grows with the release; 20995 for newer or unknown systems
  bool ntFamily = true;  // every platform that is not the 9x family
};

// Version codes the rest of the program compares against.
inline constexpr int kCodeWindowsNT3 = 19935;
inline constexpr int kCodeWindowsXP = 20025;
inline constexpr int kCodeWindowsVista = 20075;
inline constexpr int kCodeWindows10 = 20155;

WindowsVersion ClassifyWindowsVersion(const OsVersionFacts& facts);

// Asks the system; from major version 6 on through RtlGetVersion, which is not subject to the
// compatibility shims that make GetVersionEx lie.
OsVersionFacts ReadOsVersionFacts();
WindowsVersion DetectWindowsVersion();

// The Unicode-only programs cannot run on the 9x family or on NT 3.
bool IsUnsupportedWindows(const WindowsVersion& version);

// The start-up gate of both programs: on an unsupported system, says so (with the program's own
// caption) and returns false.
bool PassVersionGate(const WindowsVersion& version, const wchar_t* caption);

}  // namespace korval
