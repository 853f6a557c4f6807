// Integer and text keys in the ini file or the registry.
#include "config/settings_store.h"

#include <vector>

#include "platform/ansi_escape.h"
#include "config/ini_keys.h"
#include "platform/data_files.h"
#include "platform/scoped_handle.h"

namespace korval {
namespace {

// Bigger than any stored text, so that escaping a 1023-character value never cuts it.
constexpr int kEncodeCapacity = 1024 * 6 + 1;

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring StripQuotePair(std::wstring text) {
  if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') return text.substr(1, text.size() - 2);
  return text;
}

// As the profile functions give a value: one pair of enclosing double or single quotes removed.
std::wstring StripProfileQuotes(std::wstring text) {
  if (text.size() >= 2 && (text.front() == L'"' || text.front() == L'\'') && text.back() == text.front()) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

// The number a profile value holds as the profile functions read it: a sign and decimal digits,
// up to the first other character, in 32 bits.
DWORD ProfileNumber(const std::wstring& text) {
  size_t at = 0;
  const bool negative = !text.empty() && text[0] == L'-';
  if (!text.empty() && (text[0] == L'-' || text[0] == L'+')) ++at;
  DWORD value = 0;
  for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) value = value * 10 + (text[at] - L'0');
  return negative ? 0u - value : value;
}

}  // namespace

SettingsStore SettingsStore::Choose(const std::wstring& programFolder, const wchar_t* registryKey) {
  const bool useIni = IsFile(DataFilePath(DataFile::UseIniMarker, programFolder));
  return SettingsStore(useIni ? StoreKind::Ini : StoreKind::Registry, DataFilePath(DataFile::SettingsIni, programFolder),
                       registryKey);
}

SettingsStore::SettingsStore(StoreKind kind, std::wstring iniPath, std::wstring registryKey)
    : kind_(kind), iniPath_(std::move(iniPath)), registryKey_(std::move(registryKey)) {}

SettingsStore SettingsStore::ReadAtOnce() const {
  SettingsStore copy = *this;
  if (kind_ != StoreKind::Ini) return copy;
  copy.section_ = std::make_shared<const std::vector<std::pair<std::wstring, std::wstring>>>(ReadSection(iniPath_, kSection));
  if (!ini_->startRead) {
    ini_->readAtStart = *copy.section_;
    ini_->startRead = true;
  }
  return copy;
}

SettingsStore::Batch::Batch(const SettingsStore& store) : store_(store) { ++store_.ini_->batches; }

SettingsStore::Batch::~Batch() {
  if (--store_.ini_->batches == 0) store_.CommitIniWrites();
}

std::unique_ptr<NamedLock> SettingsStore::LockFile() const {
  if (kind_ != StoreKind::Ini) return nullptr;
  return std::make_unique<NamedLock>(IniLockKey(iniPath_), kIniLockWaitMs);
}

void SettingsStore::WriteIniValue(const wchar_t* key, const std::wstring& value) const {
  for (auto& [name, pending] : ini_->pending) {
    if (CompareStringOrdinal(name.c_str(), -1, key, -1, TRUE) == CSTR_EQUAL) {
      pending = value;
      if (ini_->batches == 0) CommitIniWrites();
      return;
    }
  }
  ini_->pending.emplace_back(key, value);
  if (ini_->batches == 0) CommitIniWrites();
}

void SettingsStore::CommitIniWrites() const {
  std::vector<std::pair<std::wstring, std::wstring>> writes = std::move(ini_->pending);
  ini_->pending.clear();
  if (writes.empty()) return;
  // A key whose value is what this store read at start was not changed by this program.
  if (ini_->startRead) {
    std::erase_if(writes, [this](const std::pair<std::wstring, std::wstring>& write) {
      const std::wstring* start = FindValue(ini_->readAtStart, write.first.c_str());
      return start && *start == write.second;
    });
  }
  WriteIniKeys(iniPath_, kSection, writes);
  // Written now, these are the values to compare the next writes with.
  if (!ini_->startRead) return;
  for (const auto& [key, value] : writes) {
    if (std::wstring* start = FindValue(ini_->readAtStart, key.c_str())) {
      *start = value;
    } else {
      ini_->readAtStart.emplace_back(key, value);
    }
  }
}

const std::wstring* SettingsStore::ReadValue(const wchar_t* key) const { return FindValue(*section_, key); }

int SettingsStore::ReadInt(const wchar_t* key, DWORD bound, int defaultValue) const {
  DWORD value;
  if (kind_ == StoreKind::Ini && section_) {
    const std::wstring* stored = ReadValue(key);
    const std::wstring text = stored ? StripProfileQuotes(*stored) : L"";
    value = text.empty() ? static_cast<DWORD>(defaultValue) : ProfileNumber(text);
  } else if (kind_ == StoreKind::Ini) {
    value = GetPrivateProfileIntW(kSection, key, defaultValue, iniPath_.c_str());
  } else {
    RegistryData data;
    if (RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, registryKey_.c_str(), key, data) != 0) return defaultValue;
    value = data.number;
  }
  return value > bound ? defaultValue : static_cast<int>(value);
}

void SettingsStore::WriteInt(const wchar_t* key, int value) const {
  if (kind_ == StoreKind::Ini) {
    WriteIniValue(key, std::to_wstring(value));
    return;
  }
  RegistryData data;
  data.number = static_cast<DWORD>(value);
  RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, registryKey_.c_str(), key, data);
}

std::wstring SettingsStore::ReadText(const wchar_t* key, const std::wstring& defaultValue) const {
  std::wstring text;
  if (kind_ == StoreKind::Ini && section_) {
    const std::wstring* stored = ReadValue(key);
    if (!stored) return defaultValue;
    text = StripQuotePair(StripProfileQuotes(*stored));
  } else if (kind_ == StoreKind::Ini) {
    wchar_t buffer[kMaxStoredText + 1] = L"";
    // A default that cannot be a stored value tells a missing key from an empty one.
    constexpr const wchar_t* kMissing = L"\x01missing\x01";
    GetPrivateProfileStringW(kSection, key, kMissing, buffer, kMaxStoredText + 1, iniPath_.c_str());
    if (std::wstring(buffer) == kMissing) return defaultValue;
    text = StripQuotePair(buffer);
  } else {
    RegistryData data;
    if (RegistryValue(RegistryOp::ReadText, HKEY_CURRENT_USER, registryKey_.c_str(), key, data) != 0) return defaultValue;
    // A text longer than any this program writes was not written by it: the key reads as missing.
    if (data.text.size() > static_cast<size_t>(kMaxStoredText)) return defaultValue;
    text = std::move(data.text);
  }
  if (text.size() > static_cast<size_t>(kMaxStoredText)) text.resize(kMaxStoredText);
  return text;
}

void SettingsStore::WriteText(const wchar_t* key, const std::wstring& text) const {
  if (kind_ == StoreKind::Ini) {
    WriteIniValue(key, L"\"" + text + L"\"");
    return;
  }
  RegistryData data;
  data.text = text;
  RegistryValue(RegistryOp::WriteText, HKEY_CURRENT_USER, registryKey_.c_str(), key, data);
}

bool SettingsStore::HasKey(const wchar_t* key) const {
  if (kind_ == StoreKind::Ini && section_) return ReadValue(key) != nullptr;
  if (kind_ == StoreKind::Ini) {
    wchar_t buffer[8] = L"";
    GetPrivateProfileStringW(kSection, key, L"\x01", buffer, 8, iniPath_.c_str());
    return std::wstring(buffer) != L"\x01";
  }
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, registryKey_.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  const ScopedRegKey owned(handle);
  return RegQueryValueExW(owned.Get(), key, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::wstring SettingsStore::Encode(const std::wstring& text) const {
  if (kind_ != StoreKind::Ini || text.empty()) return text;
  std::vector<wchar_t> buffer(kEncodeCapacity, L'\0');
  text.copy(buffer.data(), std::min(text.size(), buffer.size() - 1));
  WideToAnsiEscaped(buffer.data(), nullptr, kEncodeCapacity);
  return buffer.data();
}

std::wstring SettingsStore::Decode(const std::wstring& stored) const {
  if (kind_ != StoreKind::Ini || stored.empty()) return stored;
  std::vector<wchar_t> buffer(stored.size() + 1, L'\0');
  stored.copy(buffer.data(), stored.size());
  AnsiToWideUnescaped(buffer.data(), nullptr, static_cast<int>(buffer.size()));
  return buffer.data();
}

}  // namespace korval
