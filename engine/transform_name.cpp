// Selects the transform by the mode number. It lives with the engine because the time stamp and
// attribute modes, which describe changes instead of naming, are the engine's own.
#include "engine/transform_name.h"

#include "engine/timestamp_mode.h"

#include "modes/add_text.h"
#include "modes/change_mode.h"
#include "modes/char_width.h"
#include "modes/date_time.h"
#include "modes/delete_text.h"
#include "modes/extension.h"
#include "modes/letter_case.h"
#include "modes/position_edit.h"
#include "modes/random_name.h"
#include "modes/replace.h"
#include "modes/serial_number.h"
#include "modes/short_name.h"
#include "modes/string_helpers.h"
#include "platform/path_limits.h"

namespace korval {

void TransformName(std::wstring& target, const std::wstring& source, int mode, int rowCounter,
                   const TransformContext& ctx) {
  std::wstring sourcePath = source;
  Truncate(sourcePath, kMaxBuiltPath);
  switch (mode) {
    case kModePositionEdit: PositionEditTransform(ctx, sourcePath, target); break;
    case kModeExtension: ExtensionTransform(ctx, sourcePath, target); break;
    case kModeSerialNumber: SerialNumberTransform(ctx, sourcePath, rowCounter, target); break;
    case kModeLetterCase: LetterCaseTransform(ctx, sourcePath, target); break;
    case kModeCharWidth: CharWidthTransform(ctx, sourcePath, target); break;
    case kModeShortName: ShortNameTransform(ctx, sourcePath, target); break;
    case kModeAddText: AddTextTransform(ctx, sourcePath, target); break;
    case kModeDeleteText: DeleteTextTransform(ctx, sourcePath, target); break;
    case kModeDateTime: DateTimeTransform(ctx, sourcePath, target); break;
    case kModeReplace: ReplaceTransform(ctx, sourcePath, target); break;
    case kModeRandomName: RandomNameTransform(ctx, sourcePath, target); break;
    case kModeTimestamp: TimestampTransform(ctx, sourcePath, rowCounter, target); return;
    case kModeAttribute: AttributeTransform(ctx, sourcePath, target); return;
    case kModeMacro: target = sourcePath; break;
    default: break;  // the names come from elsewhere (CSV, the text editor) or the slot is empty
  }
  Truncate(target, kMaxBuiltPath);
}

void AssignNameBehindFolder(std::wstring& name, const std::wstring& target, const std::wstring& folder) {
  if (target.size() < folder.size()) {
    name.clear();
  } else {
    name.assign(target, folder.size());
  }
}

}  // namespace korval
