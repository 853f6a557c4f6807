// Plain and regular expression replacement.
#include "modes/replace.h"

#include "modes/letter_case.h"
#include "modes/regex_binding.h"
#include "modes/sequence_expansion.h"
#include "modes/string_helpers.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

constexpr size_t kWorkingLimit = kMaxBuiltPath;  // the name is built whole, up to the bound of built names

// Finds the item at or after start; without case, on lower-case copies (the locale-aware mapping
// keeps every position, so a position in the copy is one in the text).
size_t FindItem(const std::wstring& text, const std::wstring& item, size_t start, bool matchCase) {
  if (matchCase) return text.find(item, start);
  std::wstring lowerText = text, lowerItem = item;
  ToLowerCase(lowerText, true);
  ToLowerCase(lowerItem, true);
  return lowerText.find(lowerItem, start);
}

void ReplaceItem(std::wstring& working, const std::wstring& search, const std::wstring& replacement, int repmode,
                 bool matchCase) {
  size_t start = 0;
  size_t last = std::wstring::npos;
  while (start < kWorkingLimit && start < working.size()) {
    const size_t at = FindItem(working, search, start, matchCase);
    if (at == std::wstring::npos) break;
    if (repmode == 2) {
      last = at;
      start = at + search.size();
      continue;
    }
    working.replace(at, search.size(), replacement);
    start = at + replacement.size();
    if (Truncate(working, kWorkingLimit)) break;
    if (repmode == 1) break;
  }
  if (repmode == 2 && last != std::wstring::npos) {
    working.replace(last, search.size(), replacement);
    Truncate(working, kWorkingLimit);
  }
}

}  // namespace

void ReplacePlain(const ModeParams& params, std::wstring& working, const std::wstring& source, FileSystem& fs,
                  RowTags* tags) {
  for (size_t i = 0; i < params.replaceFromItems.size(); ++i) {
    const std::wstring& search = params.replaceFromItems[i];
    if (search.empty()) break;
    static const std::wstring kNothing;
    const std::wstring& replacement = i < params.replaceToItems.size() ? params.replaceToItems[i] : kNothing;
    ReplaceItem(working, search, replacement, params.repmode, params.repcase == 1);
    ExpandSpecialSequences(working, source, kSequencesPlain, fs, tags);
  }
}

void ReplaceTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target) {
  if (!ctx.params) {
    target = source;
    return;
  }
  const ModeParams& params = *ctx.params;
  const PathParts parts = SplitPath(source);
  std::wstring working = params.repwithext ? parts.stem + parts.extension : parts.stem;
  Truncate(working, kWorkingLimit);
  bool keepExtension = !params.repwithext;
  FileSystem& fs = ctx.fs ? *ctx.fs : SystemFileSystem();
  if (params.regexp && !(ctx.regex && ctx.regex->Loaded())) {
    // A run with regular expressions binds the library first; without one no item can be applied.
    working = kWideCallFailedText;
  } else if (params.regexp) {
    keepExtension &= ReplaceWithLibrary(*ctx.regex, params, working, source, fs, ctx.tags);
  } else {
    ReplacePlain(params, working, source, fs, ctx.tags);
  }
  // Built in the caller's buffer, which lasts from row to row.
  target.assign(parts.drive).append(parts.folder).append(working);
  if (keepExtension) target.append(parts.extension);
  Truncate(target, kMaxBuiltPath);
}

}  // namespace korval
