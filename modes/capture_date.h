// The capture date that goes into names: the capture time a photograph or movie holds, with a movie's
// time (kept in UTC) moved into the time zone the `timezone` setting asks for.
#pragma once

#include <windows.h>

#include <string>

#include "metadata/capture_time.h"

namespace korval {

// The capture time of the file at `path` into the record: kDateFound, or kDateNotFound with the
// record unchanged (a name that is not a photograph's or a movie's is not opened).
int ReadCaptureDate(const std::wstring& path, SYSTEMTIME& record, const std::wstring& timezone);

}  // namespace korval
