// Whether a renamed item carries the name it was asked for. A file system may take a rename and give
// the item another name: one that holds at most 255 bytes a name cuts a long Japanese name (and its
// extension) without a word. Such an item is found under the cut name and put back.
#pragma once

#include <string>

#include "engine/path_existence.h"
#include "platform/file_system.h"

namespace korval {

enum class Arrival {
  AsAsked,    // the item is at target
  PutBack,    // it was under another name and is back at the source
  Elsewhere,  // it is under another name (at) and could not be put back
  Lost,       // neither at target nor under a name the system could have cut target to
};

struct ArrivalResult {
  Arrival arrival = Arrival::AsAsked;
  std::wstring at;  // where the item is, for Elsewhere
};

// Asked right after fs took the rename of source to target. before answers what the folder held
// before the rename (so an entry that was there already is never taken for the item).
ArrivalResult CheckArrival(FileSystem& fs, PathExistence& before, const std::wstring& source,
                           const std::wstring& target);

}  // namespace korval
