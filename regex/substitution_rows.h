// Test rows of substitutions: a command, a text, and what comes out (Perl's answer where a test says
// so): the result, nullptr for no match, or "(error) " and the message of a refused pattern.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "regex/substitute.h"

namespace korval::regex {

struct Row {
  const wchar_t* command;
  const wchar_t* text;
  const wchar_t* expected;
};

inline void ExpectRows(const Row* rows, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const Row& row = rows[i];
    std::wstring result, message;
    int replaced = 0;
    const SubstStatus status = Substitute(row.command, row.text, result, message, replaced);
    const std::wstring got = status == SubstStatus::Replaced  ? result
                             : status == SubstStatus::NoMatch ? L"(no match)"
                                                              : L"(error) " + message;
    EXPECT_EQ(row.expected ? std::wstring(row.expected) : L"(no match)", got)
        << Utf8(row.command) << " on " << Utf8(row.text);
  }
}

template <size_t N>
void ExpectRows(const Row (&rows)[N]) {
  ExpectRows(rows, N);
}

}  // namespace korval::regex
