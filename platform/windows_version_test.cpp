#include "platform/windows_version.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/scripted_message_sink.h"

namespace korval {
namespace {

struct VersionCase {
  OsVersionFacts facts;
  const wchar_t* name;
  bool ntFamily;
  bool unsupported;
};

constexpr BYTE kWorkstation = VER_NT_WORKSTATION;
constexpr BYTE kServer = VER_NT_SERVER;
constexpr DWORD k9x = VER_PLATFORM_WIN32_WINDOWS;
constexpr DWORD kNt = VER_PLATFORM_WIN32_NT;

TEST(WindowsVersion, ClassifiesEveryKnownRelease) {
  const VersionCase cases[] = {
      {{k9x, 4, 0, 950, 0}, L"Windows95", false, true},
      {{k9x, 4, 10, 1998, 0}, L"Windows98", false, true},
      {{k9x, 4, 90, 3000, 0}, L"WindowsMe", false, true},
      {{k9x, 4, 20, 0, 0}, L"Windows9x", false, true},
      {{kNt, 3, 51, 1057, 0}, L"WindowsNT3", true, true},
      {{kNt, 4, 0, 1381, kWorkstation}, L"WindowsNT4", true, false},
      {{kNt, 5, 0, 2195, kWorkstation}, L"Windows2000", true, false},
      {{kNt, 5, 1, 2600, kWorkstation}, L"WindowsXP", true, false},
      {{kNt, 5, 2, 3790, kWorkstation}, L"WindowsXP x64", true, false},
      {{kNt, 5, 2, 3790, kServer}, L"Windows Svr 2003", true, false},
      {{kNt, 6, 0, 6002, kWorkstation}, L"Windows Vista", true, false},
      {{kNt, 6, 0, 6002, kServer}, L"Windows Svr 2008", true, false},
      {{kNt, 6, 1, 7601, kWorkstation}, L"Windows 7", true, false},
      {{kNt, 6, 1, 7601, kServer}, L"WinSvr 2008 R2", true, false},
      {{kNt, 6, 2, 9200, kWorkstation}, L"Windows 8", true, false},
      {{kNt, 6, 2, 9200, kServer}, L"Windows Svr 2012", true, false},
      {{kNt, 6, 3, 9600, kWorkstation}, L"Windows 8.1", true, false},
      {{kNt, 6, 3, 9600, kServer}, L"WinSvr 2012 R2", true, false},
      {{kNt, 10, 0, 19045, kWorkstation}, L"Windows 10", true, false},
      {{kNt, 10, 0, 17763, kServer}, L"WinSvr 2016/2019", true, false},
      {{kNt, 11, 0, 30000, kWorkstation}, L"New Windows", true, false},
      {{kNt, 2, 0, 0, kWorkstation}, L"Unknown Windows", true, false},
  };
  for (const VersionCase& c : cases) {
    const WindowsVersion v = ClassifyWindowsVersion(c.facts);
    EXPECT_EQ(std::wstring(c.name), v.name) << c.facts.major << "." << c.facts.minor;
    EXPECT_EQ(c.ntFamily, v.ntFamily) << c.facts.major << "." << c.facts.minor;
    EXPECT_EQ(c.unsupported, IsUnsupportedWindows(v)) << c.facts.major << "." << c.facts.minor;
  }
}

TEST(WindowsVersion, CodesGrowWithTheRelease) {
  const OsVersionFacts inOrder[] = {
      {kNt, 4, 0, 0, kWorkstation},  {kNt, 5, 0, 0, kWorkstation},  {kNt, 5, 1, 0, kWorkstation},
      {kNt, 6, 0, 0, kWorkstation},  {kNt, 6, 1, 0, kWorkstation},  {kNt, 6, 2, 0, kWorkstation},
      {kNt, 6, 3, 0, kWorkstation},  {kNt, 10, 0, 0, kWorkstation}, {kNt, 12, 0, 0, kWorkstation},
  };
  int previous = 0;
  for (const OsVersionFacts& facts : inOrder) {
    const int code = ClassifyWindowsVersion(facts).code;
    EXPECT_GT(code, previous) << facts.major << "." << facts.minor;
    previous = code;
  }
  EXPECT_EQ(19950, ClassifyWindowsVersion({k9x, 4, 0, 0, 0}).code);
  EXPECT_EQ(kCodeWindowsXP, ClassifyWindowsVersion({kNt, 5, 1, 0, kWorkstation}).code);
  EXPECT_EQ(kCodeWindowsVista, ClassifyWindowsVersion({kNt, 6, 0, 0, kWorkstation}).code);
  EXPECT_EQ(kCodeWindows10, ClassifyWindowsVersion({kNt, 10, 0, 0, kWorkstation}).code);
  EXPECT_EQ(20995, ClassifyWindowsVersion({kNt, 12, 0, 0, kWorkstation}).code);
}

TEST(WindowsVersion, DetectsTheRunningSystemAsSupportedNt) {
  const OsVersionFacts facts = ReadOsVersionFacts();
  EXPECT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_NT), facts.platformId);
  EXPECT_GE(facts.major, 6u);
  const WindowsVersion v = DetectWindowsVersion();
  EXPECT_TRUE(v.ntFamily);
  EXPECT_FALSE(IsUnsupportedWindows(v));
  EXPECT_GE(v.code, kCodeWindowsVista);
}

TEST(WindowsVersion, GateRefusesOldSystemsWithTheirName) {
  ScriptedMessageSink sink;
  EXPECT_TRUE(PassVersionGate(ClassifyWindowsVersion({kNt, 5, 1, 2600, kWorkstation}), L"caption"));
  EXPECT_TRUE(sink.requests.empty());
  EXPECT_FALSE(PassVersionGate(ClassifyWindowsVersion({k9x, 4, 10, 1998, 0}), L"Unicode File name unsupported Windows"));
  EXPECT_FALSE(PassVersionGate(ClassifyWindowsVersion({kNt, 3, 51, 1057, 0}), L"Unicode unsupported Windows"));
  ASSERT_EQ(2u, sink.requests.size());
  EXPECT_EQ(L"Unicode版のため、Windows98 では起動できません。", sink.requests[0].text);
  EXPECT_EQ(L"Unicode File name unsupported Windows", sink.requests[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), sink.requests[0].style);
  EXPECT_EQ(L"Unicode版のため、WindowsNT3 では起動できません。", sink.requests[1].text);
  EXPECT_EQ(L"Unicode unsupported Windows", sink.requests[1].caption);
}

}  // namespace
}  // namespace korval
