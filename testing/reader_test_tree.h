// Helpers of the reader tests: folder trees on disk and a reader set up for them.
#pragma once

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "testing/temp_folder.h"

namespace korval {

// Creates the entries under the temporary folder: a name ending in a backslash is a folder, any
// other a file of `bytes` bytes.
inline void MakeTree(const TempFolder& temp, std::initializer_list<const wchar_t*> entries, size_t bytes = 3) {
  for (const wchar_t* entry : entries) {
    const std::wstring name = entry;
    if (!name.empty() && name.back() == L'\\') {
      CreateDirectoryW((temp / name).c_str(), nullptr);
    } else {
      temp.WriteFile(name, std::string(bytes, 'x'));
    }
  }
}

}  // namespace korval
