// The target of a shell shortcut (.lnk) file, for reads that follow shortcuts.
#pragma once

#include <string>

namespace korval {

// Loads the link through the shell-link object and gives its target path. False when the object
// cannot be created (COM not initialised on this thread, say), the file is not a link, or the link
// names no path.
bool ResolveShortcut(const std::wstring& path, std::wstring& target);

}  // namespace korval
