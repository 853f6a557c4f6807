// Files whose names differ from another file's only in letter case, as a folder that tells case apart
// holds them (every folder under Wine, a case-sensitive folder on Windows). Every call of the system
// folds case, so such a file cannot be made through it: under Wine it is written from the Unix side.
#pragma once

#include <string>

namespace korval {

// Writes folder + name (folder ends with a backslash) holding text, beside a file whose name differs
// only in letter case. False when this is not Wine or the file could not be written. name and text
// hold no single quote.
bool WriteCaseTwin(const std::wstring& folder, const std::wstring& name, const std::string& text);

}  // namespace korval
