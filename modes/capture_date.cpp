// Reads the capture time of a file and turns a movie's time into local time.
#include "modes/capture_date.h"

#include "modes/calendar.h"
#include "modes/quicktime_date.h"

namespace korval {

int ReadCaptureDate(const std::wstring& path, SYSTEMTIME& record, const std::wstring& timezone) {
  if (!HasCaptureTimeExtension(path)) return kDateNotFound;
  FileByteSource file(path);
  CaptureTime found;
  if (!file.IsOpen() || !FindCaptureTime(file, path, found)) return kDateNotFound;
  if (found.kind == CaptureTime::Kind::kMovieSeconds) {
    return MovieTimeToLocal(found.movieSeconds, timezone, record) ? kDateFound : kDateNotFound;
  }
  record = found.written;
  record.wMilliseconds = 0;
  return kDateFound;
}

}  // namespace korval
