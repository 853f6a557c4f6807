#include "modes/serial_assist.h"

#include <gtest/gtest.h>

#include "modes/serial_number.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

struct SplitCase {
  const wchar_t* text;
  SerialAssistFields fields;
};

TEST(SerialAssist, SplitsTemplatesIntoTheDialogFields) {
  const SplitCase cases[] = {
      {L"IMG_001", {L"IMG_", L"001", L"", L"1", false}},
      {L"a12b", {L"a", L"12", L"b", L"1", false}},
      {L"abc", {L"abc", L"", L"", L"1", false}},
      {L"", {L"", L"", L"", L"1", false}},
      {L"1234567890123", {L"1234", L"567890123", L"", L"1", false}},
      {L"x<0050-3>y", {L"x", L"0050", L"y", L"3", true}},
      {L"<a+2>", {L"", L"a", L"", L"2", false}},
      {L"<>", {L"", L"", L"", L"1", false}},
      {L"<5->", {L"", L"5", L"", L"1", true}},
      {L"<5+>", {L"", L"5", L"", L"1", false}},
      {L"<1+999999999>", {L"", L"1", L"", L"100000000", false}},
      {L"<1-123456789012345>", {L"", L"1", L"", L"100000000", true}},
      {L"p>q<7x>r<s", {L"pq", L"7", L"xrs", L"1", false}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(c.fields, SplitSerialTemplate(c.text)) << Utf8(c.text);
  }
}

struct RebuildCase {
  SerialAssistFields fields;
  const wchar_t* text;
};

TEST(SerialAssist, RebuildsTheTemplate) {
  const RebuildCase cases[] = {
      {{L"", L"12", L"", L"1", false}, L"12"},
      {{L"", L"0", L"", L"1", false}, L"0"},
      {{L"", L"", L"", L"1", false}, L"1"},
      {{L"", L"012", L"", L"1", false}, L"<012>"},
      {{L"", L"a", L"", L"1", false}, L"<a>"},
      {{L"", L"1234567890", L"", L"1", false}, L"<1234567890>"},
      {{L"IMG_", L"001", L"", L"1", false}, L"IMG_<001>"},
      {{L"", L"5", L"", L"1", true}, L"<5-1>"},
      {{L"", L"5", L"", L"2", false}, L"<5+2>"},
      {{L"a", L"", L"b", L"10", true}, L"a<1-10>b"},
  };
  for (const RebuildCase& c : cases) EXPECT_EQ(std::wstring(c.text), RebuildSerialTemplate(c.fields));
  const SerialAssistFields longPrefix{std::wstring(200, L'p'), L"1", L"", L"1", false};
  EXPECT_EQ(std::wstring(kMaxAssistTemplateChars, L'p'), RebuildSerialTemplate(longPrefix));
}

TEST(SerialAssist, RebuiltTemplatesNumberAsTheFieldsSay) {
  const SerialAssistFields fields{L"IMG_", L"0050", L"_x", L"5", true};
  const SerialTemplate serial = ParseSerialTemplate(RebuildSerialTemplate(fields));
  EXPECT_EQ(L"IMG_0050_x", SerialText(serial, 0));
  EXPECT_EQ(L"IMG_0045_x", SerialText(serial, 1));
  EXPECT_EQ(fields, SplitSerialTemplate(RebuildSerialTemplate(fields)));
}

TEST(SerialAssist, TitleCarriesTheModeLabel) {
  EXPECT_EQ(L"[連番 (123...)] 入力支援", SerialAssistTitle(3));
  EXPECT_EQ(L"[] 入力支援", SerialAssistTitle(99));
}

}  // namespace
}  // namespace korval
