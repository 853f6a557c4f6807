// Registry values through the wide calls.
#include "config/registry.h"

#include <vector>

#include "platform/scoped_handle.h"

namespace korval {
namespace {

ScopedRegKey OpenKey(HKEY hive, const wchar_t* key, bool forWrite) {
  HKEY handle = nullptr;
  const LONG status = forWrite ? RegCreateKeyExW(hive, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                                                 nullptr, &handle, nullptr)
                               : RegOpenKeyExW(hive, key, 0, KEY_READ, &handle);
  return ScopedRegKey(status == ERROR_SUCCESS ? handle : nullptr);
}

}  // namespace

int RegistryValue(RegistryOp op, HKEY hive, const wchar_t* key, const wchar_t* name, RegistryData& data) {
  const bool write = op == RegistryOp::WriteDword || op == RegistryOp::WriteText;
  if (op == RegistryOp::ReadDword) data.number = 0xFFFFFFFF;
  if (op == RegistryOp::ReadText) data.text.clear();
  ScopedRegKey handle = OpenKey(hive, key, write);
  if (!handle) return 1;

  switch (op) {
    case RegistryOp::WriteDword:
      return RegSetValueExW(handle.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data.number),
                            sizeof(DWORD)) == ERROR_SUCCESS ? 0 : 1;
    case RegistryOp::WriteText: {
      const DWORD bytes = static_cast<DWORD>((data.text.size() + 1) * sizeof(wchar_t));
      return RegSetValueExW(handle.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.text.c_str()), bytes) ==
                     ERROR_SUCCESS ? 0 : 1;
    }
    case RegistryOp::ReadDword: {
      DWORD type = 0, value = 0, size = sizeof(value);
      if (RegQueryValueExW(handle.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
          type != REG_DWORD)
        return 1;
      data.number = value;
      return 0;
    }
    case RegistryOp::ReadText: {
      DWORD type = 0, size = 0;
      if (RegQueryValueExW(handle.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
          (type != REG_SZ && type != REG_EXPAND_SZ))
        return 1;
      std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
      if (RegQueryValueExW(handle.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
          ERROR_SUCCESS)
        return 1;
      data.text = buffer.data();
      return 0;
    }
  }
  return 1;
}

namespace {

class SystemRegistryAccess final : public RegistryAccess {
 public:
  int Value(RegistryOp op, HKEY hive, const wchar_t* key, const wchar_t* name, RegistryData& data) override {
    return RegistryValue(op, hive, key, name, data);
  }
  int DeleteKey(HKEY hive, const wchar_t* key, KeyDeletion how) override {
    if (how == KeyDeletion::WithSubkeys) return DeleteRegistryKey(hive, key);
    return RegDeleteKeyW(hive, key) == ERROR_SUCCESS ? 0 : 1;
  }
};

}  // namespace

RegistryAccess& SystemRegistry() {
  static SystemRegistryAccess registry;
  return registry;
}

int DeleteRegistryKey(HKEY hive, const wchar_t* key) {
  if (RegDeleteTreeW(hive, key) != ERROR_SUCCESS) return 1;
  // RegDeleteTreeW takes the key itself away on some systems and only empties it on others.
  const LONG status = RegDeleteKeyW(hive, key);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 0 : 1;
}

}  // namespace korval
