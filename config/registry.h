// Reading and writing single registry values, the only registry access of the settings and the
// shell verb. Keys are created on write.
#pragma once

#include <windows.h>

#include <string>

namespace korval {

inline constexpr const wchar_t* kVendorKey = L"Software\\Pinecot Tools";
inline constexpr const wchar_t* kProgramKey = L"Software\\Pinecot Tools\\Korvalith";
inline constexpr const wchar_t* kShellVerbKey = L"Folder\\shell\\korvalith";
inline constexpr const wchar_t* kShellVerbCommandKey = L"Folder\\shell\\korvalith\\command";

enum class RegistryOp { WriteDword, ReadDword, WriteText, ReadText };

struct RegistryData {
  DWORD number = 0;   // ReadDword gives 0xFFFFFFFF (-1) when the value is missing
  std::wstring text;  // a null name means the key's default value
};

// Returns 0 on success, 1 on failure.
int RegistryValue(RegistryOp op, HKEY hive, const wchar_t* key, const wchar_t* name, RegistryData& data);

// Deletes a key with everything below it; 0 on success, 1 on failure.
int DeleteRegistryKey(HKEY hive, const wchar_t* key);

enum class KeyDeletion {
  WithSubkeys,  // the key and everything below it
  IfNoSubkeys,  // the key and its values; fails while another key lies below it
};

// The seam through which the shell verb and the removal of the settings reach the registry, so
// that tests can put a registry in its place that refuses chosen writes and deletes.
class RegistryAccess {
 public:
  virtual ~RegistryAccess() = default;
  virtual int Value(RegistryOp op, HKEY hive, const wchar_t* key, const wchar_t* name, RegistryData& data) = 0;
  virtual int DeleteKey(HKEY hive, const wchar_t* key, KeyDeletion how) = 0;
};

// The registry of the system.
RegistryAccess& SystemRegistry();

}  // namespace korval
