// Classification of the reported Windows version into the names and codes the program uses.
#include "platform/windows_version.h"

#include "platform/format_text.h"
#include "platform/message_sink.h"

namespace korval {
namespace {

WindowsVersion Make(const wchar_t* name, int code, bool ntFamily = true) {
  return WindowsVersion{name, code, ntFamily};
}

WindowsVersion Classify9x(DWORD minor) {
  switch (minor) {
    case 0: return Make(L"Windows95", 19950, false);
    case 10: return Make(L"Windows98", 19980, false);
    case 90: return Make(L"WindowsMe", 20005, false);
    default: return Make(L"Windows9x", 19985, false);
  }
}

WindowsVersion ClassifyNt(const OsVersionFacts& f) {
  const bool workstation = f.productType == VER_NT_WORKSTATION;
  switch (f.major) {
    case 3: return Make(L"WindowsNT3", kCodeWindowsNT3);
    case 4: return Make(L"WindowsNT4", 19965);
    case 5:
      if (f.minor == 0) return Make(L"Windows2000", 20000);
      if (f.minor == 1) return Make(L"WindowsXP", kCodeWindowsXP);
      if (f.minor == 2) return workstation ? Make(L"WindowsXP x64", 20050) : Make(L"Windows Svr 2003", 20035);
      return Make(L"New Windows", 20995);
    case 6:
      if (f.minor == 0) return workstation ? Make(L"Windows Vista", kCodeWindowsVista) : Make(L"Windows Svr 2008", 20080);
      if (f.minor == 1) return workstation ? Make(L"Windows 7", 20095) : Make(L"WinSvr 2008 R2", 20096);
      if (f.minor == 2) return workstation ? Make(L"Windows 8", 20125) : Make(L"Windows Svr 2012", 20126);
      if (f.minor == 3) return workstation ? Make(L"Windows 8.1", 20135) : Make(L"WinSvr 2012 R2", 20136);
      return Make(L"New Windows", 20995);
    case 10:
      if (f.minor == 0) return workstation ? Make(L"Windows 10", kCodeWindows10) : Make(L"WinSvr 2016/2019", 20165);
      return Make(L"New Windows", 20995);
    default:
      return f.major > 10 ? Make(L"New Windows", 20995) : Make(L"Unknown Windows", 20995);
  }
}

}  // namespace

WindowsVersion ClassifyWindowsVersion(const OsVersionFacts& facts) {
  if (facts.platformId == VER_PLATFORM_WIN32_WINDOWS) return Classify9x(facts.minor);
  if (facts.platformId == VER_PLATFORM_WIN32_NT) return ClassifyNt(facts);
  return Make(L"Unknown Windows", 20995);
}

OsVersionFacts ReadOsVersionFacts() {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
    info = OSVERSIONINFOEXW{};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info));
  }
  if (info.dwMajorVersion > 5) {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
      auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
          reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
      OSVERSIONINFOEXW accurate{};
      accurate.dwOSVersionInfoSize = sizeof(accurate);
      if (rtlGetVersion && rtlGetVersion(&accurate) == 0) info = accurate;
    }
  }
  return OsVersionFacts{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber,
                        info.wProductType};
}

WindowsVersion DetectWindowsVersion() { return ClassifyWindowsVersion(ReadOsVersionFacts()); }

bool IsUnsupportedWindows(const WindowsVersion& version) {
  return !version.ntFamily || version.code == kCodeWindowsNT3;
}

bool PassVersionGate(const WindowsVersion& version, const wchar_t* caption) {
  if (!IsUnsupportedWindows(version)) return true;
  CurrentMessageSink().Show(
      {nullptr, FormatText(L"Unicode版のため、%s では起動できません。", version.name), caption, MB_OK | MB_ICONERROR});
  return false;
}

}  // namespace korval
