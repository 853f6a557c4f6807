// Position editing: the user edits the name of one sample row, and the edit is replayed position by
// position on every row through a map from edited positions to positions of the unedited sample.
#pragma once

#include <array>
#include <string>

#include "modes/mode_params.h"
#include "modes/transform_context.h"

namespace korval {

// Reads positionText, positionMap and posedtnoext. A map entry in 0..259 takes the row's character
// at that position; any other value (kTypedPosition) takes the typed character of the edited text.
void PositionEditTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target);

// What the mode panel keeps between edits of the sample text.
struct PositionMapState {
  std::array<int, kPositionMapSize> map{};
  std::wstring previousText;  // at most 259 characters
  int uneditedLength = 0;
};

// A new sample: its name (cut at 259) becomes the previous text and the unedited length, and the map
// becomes the identity.
void SetPositionSample(PositionMapState& state, const std::wstring& sampleName);

// Rebuilds the map after the sample text changed to newText (cut at 259). Returns whether the text
// differs from the previous one, in which case a shown preview is stale.
bool UpdatePositionMap(PositionMapState& state, const std::wstring& newText);

}  // namespace korval
