// Name collisions during an execution: the serial variants tried for a target that is taken, and
// the table of rows that got one, so that the clean-up pass can take the serial off again when the
// blocking item moved away later in the pass.
#pragma once

#include <string>
#include <vector>

#include "engine/path_existence.h"

namespace korval {

struct CollisionOptions {
  int collisionOption = 8;  // bit 3: add a serial; bits 0-2: the format 0..5
  int adddiffpad = 0;       // 0 plain, 1 two digits, 2 three digits
  int addrenbegin = 0;      // 0: the first serial is 1; 1: it is 2
  int fileDir = 0;          // folder mode: the serial goes behind the whole name
};

inline bool AddsSerialOnCollision(int collisionOption) { return (collisionOption & 8) != 0; }

// Rewrites path to the first serial variant at which nothing exists ("abc(1).txt", "abc[1].txt",
// "abc_1.txt", "(1)abc.txt", "[1]abc.txt", "1_abc.txt"). Returns 0, or 1 when none was found.
int MakeSerialSuffixName(std::wstring& path, const CollisionOptions& options, PathExistence& existence);

struct CollisionEntry {
  std::wstring wanted;  // the target that was taken when the row came up
  std::wstring serial;  // where the row went instead
  int row = -1;
};

// The serial renames of one execution, in the order they happened. It grows as needed: a fixed
// table would leave rows beyond its end with their serials for good.
using CollisionTable = std::vector<CollisionEntry>;

}  // namespace korval
