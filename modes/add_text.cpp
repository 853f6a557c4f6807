// Insertion of the added text; "\f", "\s", "\e" in it are expanded for each row, "\\f" stays literal.
#include "modes/add_text.h"

#include "modes/sequence_expansion.h"
#include "modes/string_helpers.h"
#include "platform/path_limits.h"

namespace korval {

void AddTextTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target) {
  target = source;
  Truncate(target, kMaxBuiltPath);
  if (!ctx.params) return;
  const ModeParams& params = *ctx.params;

  std::wstring text = params.addstr;
  ExpandSpecialSequences(text, source, kSequencesProtected, ctx.fs ? *ctx.fs : SystemFileSystem(), ctx.tags);

  const PathParts parts = SplitPathForMode(source, ctx.fileDir);
  const std::wstring& stem = parts.stem;
  const size_t position = static_cast<size_t>(Clamp(0, params.addlen, 255));
  std::wstring name = stem + parts.extension;
  if (position <= stem.size()) {
    const size_t at = params.addprepost == 1 ? stem.size() - position : position;
    name = stem.substr(0, at) + text + stem.substr(at) + parts.extension;
  }

  const std::wstring directory = parts.Directory();
  Truncate(name, directory.size() < kMaxBuiltPath ? kMaxBuiltPath - directory.size() : 0);
  target = directory + name;
  Truncate(target, kMaxBuiltPath);
}

}  // namespace korval
