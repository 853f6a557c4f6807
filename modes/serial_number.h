// Serial numbering: the template's parts, the running number or letters it gives each row, where
// that text goes in the name, and the per-folder counters of "フォルダごとに連番".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "modes/string_helpers.h"
#include "modes/transform_context.h"

namespace korval {

enum class SerialKind { kDigits, kLowerLetters, kUpperLetters };

inline constexpr size_t kMaxSerialFieldChars = 9;
inline constexpr int kMaxSerialStepDigits = 5;
inline constexpr size_t kMaxSerialLetters = 17;

// A template read as prefix, serial field and suffix, e.g. "IMG_<001+2>.raw".
struct SerialTemplate {
  std::wstring prefix;
  std::wstring field;  // the start as typed: digits or letters, at most 9 characters
  std::wstring suffix;
  SerialKind kind = SerialKind::kDigits;
  int64_t start = 0;  // the digits' value, or the letters' value (a = 1, z = 26, aa = 27)
  int step = 1;       // 0..99999
  int direction = 1;  // +1, or -1 after "-"
};

SerialTemplate ParseSerialTemplate(std::wstring_view text);

// The bijective base-26 letters of a value (1 = a, 27 = aa), at most 17; empty for 0 or less.
std::wstring SerialLetters(int64_t value, bool upperCase);

// prefix + the number or letters for the serial index + suffix (special sequences not expanded).
std::wstring SerialText(const SerialTemplate& serial, int64_t index);

// The new name for a numinspos choice (0..4) from the split source and the serial text.
std::wstring PlaceSerialText(const PathParts& parts, const std::wstring& serialText, int numinspos);

// Counts the rows numbered so far in each folder (drive plus folder path). Folders are kept in
// the order first met, up to the capacity (one per row of the list); new folders beyond it share
// one overflow counter. One table serves one run.
class FolderCounterTable {
 public:
  explicit FolderCounterTable(size_t capacity) : capacity_(capacity) {}

  // The serial index of the next row in this folder: 0 for its first row, then 1, 2, ...
  int Next(const std::wstring& folder);

  const std::vector<std::wstring>& Folders() const { return folders_; }
  bool Overflowed() const { return overflow_ >= 0; }

 private:
  size_t capacity_;
  std::vector<std::wstring> folders_;
  std::unordered_map<std::wstring, int> counters_;
  int overflow_ = -1;
};

// Mode 3: writes the source's drive and folder plus the numbered new name into target (at most
// kMaxBuiltPath characters). rowCounter counts the rows handled before this one in the run, from 0.
void SerialNumberTransform(const TransformContext& ctx, const std::wstring& source, int rowCounter,
                           std::wstring& target);

}  // namespace korval
