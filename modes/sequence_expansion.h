// The sequences "\f" (folder name), "\s" and "\:" (size) and "\e" (extension) and the tags ("<:Title>")
// that user text may hold; the serial, add-text and replacement modes expand them for each row.
#pragma once

#include <cstddef>
#include <string>

#include "modes/tags_in_names.h"
#include "platform/file_system.h"

namespace korval {

enum SpecialSequenceForm : int {
  kSequencesPlain = 0,      // "\f", "\s", "\:", "\e"
  kSequencesDoubled = 1,    // "\\f", "\\s", "\\:", "\\e": after a regular expression doubled them
  kSequencesProtected = 2,  // plain, but a doubled "\\f", "\\s", "\\e" stays as the literal "\f" ...
};

// The work area of one expansion; the result is cut at kMaxPathChars afterwards.
inline constexpr size_t kSequenceWorkChars = 33280;

// Rewrites the text in place for the item at source (a full path); the result has at most
// kMaxBuiltPath characters. The size comes from fs.Find and is asked for only when a size sequence
// occurs. With tags, the tags written in the text ("<:Artist>") are expanded in the same pass (a tag
// the file lacks stays as written, and tags->Missing() names it); without, they stay as written.
void ExpandSpecialSequences(std::wstring& text, const std::wstring& source, int form, FileSystem& fs,
                            RowTags* tags = nullptr);

}  // namespace korval
