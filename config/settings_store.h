// The two homes of the settings: the registry of the current user, or the section "Base" of
// "korvalith.ini" in the program folder when a file "use.ini" lies beside the program.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "config/registry.h"
#include "platform/named_lock.h"

namespace korval {

enum class StoreKind { Registry, Ini };

class SettingsStore {
 public:
  // Chooses the store as the program does at start: a file (not a folder) "use.ini" in the
  // program folder selects the ini file. The choice holds for the life of the store.
  static SettingsStore Choose(const std::wstring& programFolder, const wchar_t* registryKey = kProgramKey);

  SettingsStore(StoreKind kind, std::wstring iniPath, std::wstring registryKey);

  StoreKind Kind() const { return kind_; }
  const std::wstring& IniPath() const { return iniPath_; }
  const std::wstring& RegistryKey() const { return registryKey_; }

  // A stored value that is larger than the bound or negative (compared unsigned) reads as the default.
  int ReadInt(const wchar_t* key, DWORD bound, int defaultValue) const;
  void WriteInt(const wchar_t* key, int value) const;
  // Raw texts: at most kMaxStoredText characters; a pair of enclosing double quotes is removed.
  std::wstring ReadText(const wchar_t* key, const std::wstring& defaultValue) const;
  // Writes the text as it is (ini: in double quotes). Encode() it first unless it already is.
  void WriteText(const wchar_t* key, const std::wstring& text) const;
  bool HasKey(const wchar_t* key) const;

  // Writes to the ini file are made as one change of the whole file: under a lock named for the
  // file, a copy beside it takes the keys whose values changed (against the values this store read
  // at start, and the file's own), and then replaces the file. Readers meet the old file or the new
  // one, never one half written, and keys this program did not change stay as another start left
  // them. Outside a batch each write is such a change of its own; within one (a save of every key),
  // the writes wait for the batch's end. The registry writes at once either way.
  class Batch {
   public:
    explicit Batch(const SettingsStore& store);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    const SettingsStore& store_;
  };

  // The ini file's lock, held while a start counts itself (so that starts at the same moment each
  // read the count the one before them wrote); empty for the registry.
  std::unique_ptr<NamedLock> LockFile() const;

  // A copy whose reads are answered from one reading of the ini file's section, taken now, the way
  // the profile functions answer them: a start reads about a hundred keys, and each profile read
  // looks at the file again. Its writes go to the file as before; its reads do not see them. A
  // registry store reads as before.
  SettingsStore ReadAtOnce() const;

  // The stored form of a text: in the ini file every character the ANSI code page cannot hold is
  // escaped as "\u%04x"; the registry keeps wide text as it is.
  std::wstring Encode(const std::wstring& text) const;
  std::wstring Decode(const std::wstring& stored) const;

  static constexpr int kMaxStoredText = 256;

 private:
  // The value of key in the section read at once, or null when the key is not there.
  const std::wstring* ReadValue(const wchar_t* key) const;
  // An ini write: kept for the batch's end, or made at once.
  void WriteIniValue(const wchar_t* key, const std::wstring& value) const;
  void CommitIniWrites() const;

  // What the copies of one store share about the ini file: the section as first read at once (the
  // start's values), and the writes of an open batch.
  struct IniState {
    std::vector<std::pair<std::wstring, std::wstring>> readAtStart;
    bool startRead = false;
    std::vector<std::pair<std::wstring, std::wstring>> pending;
    int batches = 0;
  };
  std::shared_ptr<IniState> ini_ = std::make_shared<IniState>();

  StoreKind kind_;
  std::wstring iniPath_;
  std::wstring registryKey_;
  // The section's keys and values as read at once (trimmed, in the file's order); null: none read.
  std::shared_ptr<const std::vector<std::pair<std::wstring, std::wstring>>> section_;
};

}  // namespace korval
