// The benchmark's section on tags in names: reading the tags a template asks for from music files,
// hashing files, and a preview pass with tags once the files' values are kept.
#pragma once

#include <cstddef>

namespace korval {

void BenchTags(size_t mp3Files, size_t m4aFiles, size_t hashMegabytes, size_t livePassFiles);

}  // namespace korval
