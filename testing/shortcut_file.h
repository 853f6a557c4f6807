// Tests' shortcuts: a shell link file saved through COM (the calling thread has entered COM).
#pragma once

#include <string>

namespace korval {

// Saves a shortcut to target at path; false when the shell link object or the save fails.
bool SaveShortcut(const std::wstring& path, const std::wstring& target);

}  // namespace korval
