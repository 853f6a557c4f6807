// Options page 4 "フィルタ等": the size and date columns, and the extension, size and attribute
// filters applied while items are read.
#include "engine/rename_list.h"
#include "resources/resource.h"
#include "ui/options_dialog.h"

namespace korval {
namespace {

using S = Settings;
using B = BindKind;

// The size filter's bounds in KB: as many digits as its default upper bound has.
constexpr int kLargestFilterSize = 999999999;

constexpr OptionBinding kBindings[] = {
    {IDC_OPT_SIZE_COLUMN, B::Check, &S::listcols1},
    {IDC_OPT_UNIT_BYTES, B::Radio, &S::sizeUnit, nullptr, 0},
    {IDC_OPT_UNIT_KB, B::Radio, &S::sizeUnit, nullptr, 1},
    {IDC_OPT_UNIT_MB, B::Radio, &S::sizeUnit, nullptr, 2},
    {IDC_OPT_DATE_COLUMN, B::Check, &S::listcols2},
    {IDC_OPT_DATE_KIND, B::ComboIndex, &S::columndate, nullptr, 0, 3},
    {IDC_OPT_EXT_ONLY, B::Radio, &S::extFilterExclude, nullptr, 0},
    {IDC_OPT_EXT_EXCEPT, B::Radio, &S::extFilterExclude, nullptr, 1},
    {IDC_OPT_EXT_LIST, B::Text, nullptr, &S::filterextall},
    {IDC_OPT_SIZE_ONLY, B::Radio, &S::sizeFilterExclude, nullptr, 0},
    {IDC_OPT_SIZE_EXCEPT, B::Radio, &S::sizeFilterExclude, nullptr, 1},
    {IDC_OPT_SIZE_FROM, B::Number, nullptr, &S::filterfsize1, 0, kLargestFilterSize},
    {IDC_OPT_SIZE_TO, B::Number, nullptr, &S::filterfsize2, 0, kLargestFilterSize},
    {IDC_OPT_READ_READONLY, B::Check, &S::readReadOnly},
    {IDC_OPT_READ_HIDDEN, B::Check, &S::readHidden},
    {IDC_OPT_READ_SYSTEM, B::Check, &S::readSystem},
};

constexpr ComboEntries kCombos[] = {{IDC_OPT_DATE_KIND, kDateHeaders}};

}  // namespace

const OptionsPage& FilterPage() {
  static const OptionsPage page{L"IDPAGE4", kBindings, kCombos};
  return page;
}

}  // namespace korval
