// Whether the system takes paths of kPathBuffer characters or more for this process without "\\?\":
// Windows 10 1607 and later with the LongPathsEnabled setting on (the programs declare themselves
// long-path aware). Where it does not, Explorer and most programs cannot open such a path, so a
// rename does not make one.
#pragma once

namespace korval {

bool SystemTakesLongPaths();

}  // namespace korval
