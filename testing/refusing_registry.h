// A registry for tests that refuses the writes and deletes of chosen keys and hands everything
// else to the system's registry.
#pragma once

#include <string>
#include <vector>

#include "config/registry.h"

namespace korval {

class RefusingRegistry final : public RegistryAccess {
 public:
  RefusingRegistry() = default;
  RefusingRegistry(std::vector<std::wstring> writes, std::vector<std::wstring> deletes)
      : refuseWrite(std::move(writes)), refuseDelete(std::move(deletes)) {}

  std::vector<std::wstring> refuseWrite;   // keys whose values cannot be written
  std::vector<std::wstring> refuseDelete;  // keys that cannot be deleted
  int writesTried = 0;

  int Value(RegistryOp op, HKEY hive, const wchar_t* key, const wchar_t* name, RegistryData& data) override {
    if (op == RegistryOp::WriteDword || op == RegistryOp::WriteText) {
      ++writesTried;
      if (Listed(refuseWrite, key)) return 1;
    }
    return SystemRegistry().Value(op, hive, key, name, data);
  }
  int DeleteKey(HKEY hive, const wchar_t* key, KeyDeletion how) override {
    if (Listed(refuseDelete, key)) return 1;
    return SystemRegistry().DeleteKey(hive, key, how);
  }

 private:
  static bool Listed(const std::vector<std::wstring>& keys, const wchar_t* key) {
    for (const std::wstring& k : keys) {
      if (k == key) return true;
    }
    return false;
  }
};

// True when the key can be opened.
inline bool RegistryKeyExists(HKEY hive, const wchar_t* key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(hive, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

}  // namespace korval
