// The benchmark's section on capture dates: the date mode over photographs and movies against a bare
// loop that opens each file and reads its first 64 KB.
#pragma once

#include <cstddef>

namespace korval {

void BenchCaptureDates(size_t photos, size_t movies);

}  // namespace korval
