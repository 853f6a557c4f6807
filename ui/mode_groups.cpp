// The mode groups of the panel, as data.
#include "ui/mode_groups.h"

#include "modes/change_mode.h"
#include "resources/resource.h"

namespace korval {
namespace {

constexpr int kPositionEdit[] = {IDC_POSITION_TEXT, IDC_POSITION_NO_EXTENSION};
constexpr int kExtension[] = {IDC_EXTENSION_TEXT, IDC_EXTENSION_LABEL, IDC_EXTENSION_APPEND};
constexpr int kSerial[] = {IDC_SERIAL_TEMPLATE, IDC_SERIAL_LABEL, IDC_SERIAL_POSITION, IDC_SERIAL_ASSIST,
                           IDC_SERIAL_PER_FOLDER, IDC_SERIAL_TAGS};
constexpr int kLetterCase[] = {IDC_CASE_KIND, IDC_FULLWIDTH_CASE, IDC_CASE_EXCEPTIONS_LABEL, IDC_CASE_EXCEPTIONS};
constexpr int kCharWidth[] = {IDC_WIDTH_KIND, IDC_WIDTH_KATAKANA, IDC_WIDTH_LETTERS, IDC_WIDTH_DIGITS, IDC_WIDTH_SYMBOLS};
constexpr int kShortName[] = {IDC_SHORT_NAME_KIND};
constexpr int kAddText[] = {IDC_ADD_FROM, IDC_ADD_POSITION_LABEL, IDC_ADD_POSITION, IDC_ADD_TEXT_LABEL, IDC_ADD_TEXT,
                            IDC_ADD_TAGS};
constexpr int kDeleteText[] = {IDC_DELETE_KIND, IDC_DELETE_LABEL,  IDC_DELETE_FROM,
                               IDC_DELETE_FROM_LABEL, IDC_DELETE_COUNT, IDC_DELETE_COUNT_LABEL};
constexpr int kDateTime[] = {IDC_DATE_WHICH, IDC_DATE_FROM, IDC_DATE_LABEL, IDC_DATE_SEPARATOR, IDC_DATE_INSERT,
                             IDC_DATE_WITH_YMD};
constexpr int kReplace[] = {IDC_REPLACE_FROM, IDC_REPLACE_TO, IDC_REPLACE_MODE, IDC_REPLACE_FROM_LABEL,
                            IDC_REPLACE_TO_LABEL, IDC_REGEX, IDC_REPLACE_WITH_EXTENSION, IDC_REPLACE_EXTENSION,
                            IDC_REPLACE_CASE, IDC_REPLACE_TAGS};
constexpr int kCsvNames[] = {IDC_CSV_OPEN};
constexpr int kRandomName[] = {IDC_RANDOM_PATTERN, IDC_RANDOM_PATTERN_LABEL, IDC_RANDOM_EXTENSION,
                               IDC_RANDOM_LENGTH_LABEL, IDC_RANDOM_LENGTH};
constexpr int kTimestamp[] = {IDC_TIME_KIND,    IDC_TIME_SECONDS, IDC_TIME_SECONDS_LABEL, IDC_TIME_CONDITION,
                              IDC_TIME_DATE,    IDC_TIME_DAYS,    IDC_TIME_DAYS_LABEL,    IDC_TIME_TIME,
                              IDC_TIME_NOW,     IDC_TIME_DIRECTION};
constexpr int kAttribute[] = {IDC_ATTR_READONLY, IDC_ATTR_HIDDEN, IDC_ATTR_ARCHIVE, IDC_ATTR_SYSTEM};
constexpr int kMacro[] = {IDC_MACRO_SLOT, IDC_MACRO_RECORD, IDC_MACRO_DELETE, IDC_MACRO_EDIT};

constexpr ModeGroup kGroups[] = {
    {kModePositionEdit, kPositionEdit}, {kModeExtension, kExtension}, {kModeSerialNumber, kSerial},
    {kModeLetterCase, kLetterCase},     {kModeCharWidth, kCharWidth}, {kModeShortName, kShortName},
    {kModeAddText, kAddText},           {kModeDeleteText, kDeleteText}, {kModeDateTime, kDateTime},
    {kModeReplace, kReplace},           {kModeCsvNames, kCsvNames},   {kModeRandomName, kRandomName},
    {kModeTimestamp, kTimestamp},       {kModeAttribute, kAttribute}, {kModeMacro, kMacro},
};

}  // namespace

std::span<const int> ModeGroupOf(int mode) {
  for (const ModeGroup& group : kGroups) {
    if (group.mode == mode) return group.controls;
  }
  return {};
}

std::span<const ModeGroup> ModeGroups() { return kGroups; }

bool IsModeGroupControl(int id) {
  for (const ModeGroup& group : kGroups) {
    for (int control : group.controls) {
      if (control == id) return true;
    }
  }
  return false;
}

bool DeleteFromUsed(int deltype) { return deltype >= 8 && deltype <= 10; }
bool DeleteCountUsed(int deltype) { return deltype == 10; }

}  // namespace korval
