// The local time some phones and cameras write beside a movie's header: an ISO 8601 text such as
// "2024-03-15T19:20:30+0900". Only a text with its offset from UTC says that the clock time is the
// local one; "Z" or no offset says nothing the movie header does not already say.
#include "metadata/capture_readers.h"

#include <string>

#include "metadata/exif_date.h"

namespace korval {
namespace {

constexpr size_t kDateTimeChars = 19;  // YYYY-MM-DDThh:mm:ss
constexpr int kMaxOffsetHours = 14;    // the farthest zones are 14 hours from UTC

bool TwoDigits(std::string_view text, size_t at, int& value) {
  if (at + 2 > text.size() || text[at] < '0' || text[at] > '9' || text[at + 1] < '0' || text[at + 1] > '9') {
    return false;
  }
  value = (text[at] - '0') * 10 + (text[at + 1] - '0');
  return true;
}

// "+hh:mm", "+hhmm" or "+hh" (or with "-"), and nothing behind it.
bool IsUtcOffset(std::string_view text) {
  int hours = 0, minutes = 0;
  if (text.size() < 3 || (text[0] != '+' && text[0] != '-') || !TwoDigits(text, 1, hours) || hours > kMaxOffsetHours) {
    return false;
  }
  text.remove_prefix(3);
  if (text.empty()) return true;
  if (text[0] == ':') text.remove_prefix(1);
  return text.size() == 2 && TwoDigits(text, 0, minutes) && minutes <= 59;
}

}  // namespace

bool ParseLocalTimeWithOffset(std::string_view text, SYSTEMTIME& record) {
  // Text boxes may end in zeros.
  while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
  if (text.size() <= kDateTimeChars || text[4] != '-' || text[7] != '-' || (text[10] != 'T' && text[10] != ' ')) {
    return false;
  }
  std::string exifForm(text.substr(0, kDateTimeChars));
  exifForm[4] = exifForm[7] = ':';
  exifForm[10] = ' ';
  std::string_view rest = text.substr(kDateTimeChars);
  if (!rest.empty() && rest[0] == '.') {  // fractions of a second
    size_t digits = 1;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
    if (digits == 1) return false;
    rest.remove_prefix(digits);
  }
  return IsUtcOffset(rest) && ParseExifDateText(exifForm, record);
}

}  // namespace korval
