// Numbers typed into the options' boxes are kept within their bounds.
#include "ui/options_binding.h"

#include <gtest/gtest.h>

#include "testing/temp_folder.h"

namespace korval {
namespace {

TEST(OptionNumbers, TypedDigitsAreClampedToTheBound) {
  struct Case {
    const wchar_t* typed;
    long long bound;
    const wchar_t* stored;
  };
  const Case cases[] = {
      {L"", 999999999, L""},  // an emptied upper bound is no bound, not a bound of 0
      {L"0", 999999999, L"0"},
      {L"1234", 999999999, L"1234"},
      {L"999999999", 999999999, L"999999999"},
      {L"1000000000", 999999999, L"999999999"},
      {L"99999999999999999999999999", 999999999, L"999999999"},  // would overflow a 64-bit number
      {L"-5", 999999999, L"5"},                                  // a sign cannot be typed into a number box
      {L"１２", 999999999, L""},                                  // full-width digits are not digits here
      {L"12 KB", 999999999, L"12"},
      {L"13", 12, L"12"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.stored, StoredNumber(c.typed, c.bound)) << Utf8(c.typed);
}

}  // namespace
}  // namespace korval
