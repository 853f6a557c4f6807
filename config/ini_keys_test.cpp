// A write of the settings' keys on a disk that fills up: the ini file is never left shorter than it
// was, whichever step the full disk stops.
#include "config/ini_keys.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "testing/temp_folder.h"

namespace korval {
namespace {

// Cuts the file at path to half its bytes, as a write that met a full disk leaves it.
void CutInHalf(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  size.QuadPart /= 2;
  SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
  SetEndOfFile(file);
  CloseHandle(file);
}

TEST(IniKeys, AFullDiskNeverLeavesTheFileShorter) {
  const std::string kBefore = "[Base]\r\n_version=4231201\r\n_count=5\r\nmode=3\r\n";
  enum class Full { Never, AtTheCopy, InTheCopy, AtTheReplacement };
  const struct {
    const char* what;
    Full full;
    bool fileExists;
    bool written;      // WriteIniKeys says the keys were written
    const char* after; // the file afterwards
  } cases[] = {
      {"a disk with room", Full::Never, true, true, "[Base]\r\n_version=4231201\r\n_count=6\r\nmode=3\r\n"},
      {"no room for the copy", Full::AtTheCopy, true, false, nullptr},
      {"the copy cut short, reported as written", Full::InTheCopy, true, false, nullptr},
      {"a whole copy that cannot replace the file", Full::AtTheReplacement, true, true,
       "[Base]\r\n_version=4231201\r\n_count=6\r\nmode=3\r\n"},
      {"no file yet", Full::AtTheCopy, false, true, "[Base]\r\n_count=6\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::wstring ini = folder / L"korvalith.ini";
    if (c.fileExists) folder.WriteFile(L"korvalith.ini", kBefore);
    IniFileSteps steps = SystemIniFileSteps();
    const IniFileSteps system = SystemIniFileSteps();
    steps.copy = [&](const std::wstring& from, const std::wstring& to) {
      if (c.full != Full::AtTheCopy) return system.copy(from, to);
      SetLastError(ERROR_DISK_FULL);
      return false;
    };
    // The profile functions report success although the disk took only part of the file.
    steps.writeKeys = [&](const std::wstring& path, const wchar_t* section, const IniKeys& keys) {
      const bool written = system.writeKeys(path, section, keys);
      const bool full = c.full == Full::InTheCopy || (c.full == Full::AtTheCopy && c.fileExists);
      if (full) CutInHalf(path);
      return written;
    };
    steps.replace = [&](const std::wstring& from, const std::wstring& to) {
      if (c.full != Full::AtTheReplacement) return system.replace(from, to);
      SetLastError(ERROR_SHARING_VIOLATION);
      return false;
    };
    EXPECT_EQ(c.written, WriteIniKeys(ini, kSection, {{L"_count", L"6"}}, steps));
    EXPECT_EQ(c.after ? c.after : kBefore, folder.ReadFile(L"korvalith.ini"));
    EXPECT_EQ(std::vector<std::wstring>{L"korvalith.ini"}, SortedNames(folder.Path())) << "no copy is left";
  }
}

}  // namespace
}  // namespace korval
