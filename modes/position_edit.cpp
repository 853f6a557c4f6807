// Position editing: the replay of an edited sample on each row, and the map the edit box keeps.
#include "modes/position_edit.h"

#include <algorithm>

#include "modes/string_helpers.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

constexpr int kUnset = -2;  // only while a map is rebuilt

bool IsSourcePosition(int entry) { return entry >= 0 && entry < kPositionMapSize; }

}  // namespace

void PositionEditTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target) {
  static const ModeParams kDefaults;
  const ModeParams& params = ctx.params ? *ctx.params : kDefaults;

  const PathParts parts = SplitPath(source);
  const bool stemOnly = params.posedtnoext != 0;
  const std::wstring row = stemOnly ? parts.stem : parts.stem + parts.extension;
  const std::wstring& edited = params.positionText;

  std::wstring text;
  for (size_t i = 0; i < static_cast<size_t>(kPositionMapSize) && text.size() < kMaxPathChars; ++i) {
    const int entry = params.positionMap[i];
    if (IsSourcePosition(entry)) {
      // A row shorter than the sample ends where the map first points past its name.
      if (static_cast<size_t>(entry) >= row.size()) break;
      text.push_back(row[static_cast<size_t>(entry)]);
    } else if (i < edited.size()) {
      text.push_back(edited[i]);
    } else if (i <= row.size()) {
      text.push_back(L'#');
    } else {
      break;
    }
  }

  target = parts.Directory() + text;
  if (stemOnly) target += parts.extension;
  Truncate(target, kMaxBuiltPath);
}

void SetPositionSample(PositionMapState& state, const std::wstring& sampleName) {
  state.previousText = sampleName;
  Truncate(state.previousText, kMaxPathChars);
  for (int i = 0; i < kPositionMapSize; ++i) state.map[static_cast<size_t>(i)] = i;
  state.uneditedLength = static_cast<int>(state.previousText.size());
}

bool UpdatePositionMap(PositionMapState& state, const std::wstring& newText) {
  std::wstring text = newText;
  Truncate(text, kMaxPathChars);
  if (text == state.previousText) return false;

  const std::wstring& old = state.previousText;
  const size_t newLength = text.size();
  const size_t oldLength = std::min(old.size(), kMaxPathChars);
  std::array<int, kPositionMapSize> next;
  next.fill(kUnset);

  // The unchanged end: matching characters counted from both ends keep their sources.
  size_t tail = 0;
  const size_t shorter = std::min(newLength, oldLength);
  while (tail < shorter && text[newLength - 1 - tail] == old[oldLength - 1 - tail]) {
    next[newLength - 1 - tail] = state.map[oldLength - 1 - tail];
    ++tail;
  }

  // The unchanged beginning, within what the end did not take; the first difference is typed.
  const size_t headLimit = std::min(newLength - tail, oldLength - tail);
  for (size_t i = 0; i < headLimit; ++i) {
    if (text[i] != old[i]) {
      next[i] = kTypedPosition;
      break;
    }
    next[i] = state.map[i];
  }

  for (size_t i = 0; i < newLength; ++i) {
    if (next[i] == kUnset) next[i] = kTypedPosition;
  }
  // Behind the edited text the unedited positions follow, shifted by the change in length.
  const int shift = state.uneditedLength - static_cast<int>(newLength);
  for (size_t i = newLength; i < next.size(); ++i) next[i] = static_cast<int>(i) + shift;

  state.map = next;
  state.previousText = std::move(text);
  return true;
}

}  // namespace korval
