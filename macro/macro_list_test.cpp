// The macro name list: both writers byte for byte and both readers with their limits.
#include "macro/macro_list.h"

#include <gtest/gtest.h>

#include "testing/temp_folder.h"

namespace korval {
namespace {

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

MacroSlotNames Parse(const std::string& text, MacroProgram program) {
  return ParseMacroList(Bytes(text), text.size(), program);
}

TEST(MacroList, WritersOfBothPrograms) {
  MacroSlotNames names = UnregisteredSlots();
  names[0] = L"abc";
  names[6] = L"日本";
  names[24] = L"café";
  EXPECT_EQ(BuildMacroList(names, MacroProgram::Main), "1:abc\n7:\x93\xfa\x96\x7b\n25:caf?\n");
  EXPECT_EQ(BuildMacroList(names, MacroProgram::Editor), "1:abc\n7:\x93\xfa\x96\x7b\n25:caf\\u00e9\n");

  names = UnregisteredSlots();
  names[1] = std::wstring(70, L'n');
  names[2] = L"two\r\nlines";
  EXPECT_EQ(BuildMacroList(names, MacroProgram::Editor), "2:" + std::string(64, 'n') + "\n3:twolines\n");
  EXPECT_EQ(BuildMacroList(names, MacroProgram::Main), "2:" + std::string(70, 'n') + "\n3:twolines\n");
  EXPECT_EQ(BuildMacroList(UnregisteredSlots(), MacroProgram::Main), "");
}

TEST(MacroList, ReadersFindTheSlotFromOneOrTwoDigitsBeforeAColon) {
  for (MacroProgram program : {MacroProgram::Main, MacroProgram::Editor}) {
    const MacroSlotNames names =
        Parse("7:seven\r\n12:twelve\n0:zero\n26:too far\n99:x\n:no number\nno colon\nx:letter\n1:a:b\n07:again\n",
              program);
    EXPECT_EQ(names[6], L"again");
    EXPECT_EQ(names[11], L"twelve");
    EXPECT_EQ(names[0], L"a:b");
    for (int slot : {2, 3, 4, 5, 8, 9, 10, 13, 24}) EXPECT_EQ(names[slot], kUnregisteredSlotText) << slot;
  }
}

TEST(MacroList, ReadersStopAtTheFirstEmptyLine) {
  for (MacroProgram program : {MacroProgram::Main, MacroProgram::Editor}) {
    const MacroSlotNames names = Parse("1:a\r\n\r\n2:b\n", program);
    EXPECT_EQ(names[0], L"a");
    EXPECT_EQ(names[1], kUnregisteredSlotText);
    EXPECT_EQ(Parse("3:c", program)[2], L"c");  // the last line needs no LF
  }
}

TEST(MacroList, EachReaderKeepsItsOwnLengthsAndDecodesEscapes) {
  const std::string longLine = "1:" + std::string(600, 'a') + "\n";
  EXPECT_EQ(Parse(longLine, MacroProgram::Main)[0], std::wstring(61, L'a'));
  EXPECT_EQ(Parse(longLine, MacroProgram::Editor)[0], std::wstring(70, L'a'));

  EXPECT_EQ(Parse("5:caf\\u00e9\n", MacroProgram::Main)[4], L"café");
  EXPECT_EQ(Parse("5:caf\\u00e9\n", MacroProgram::Editor)[4], L"café");
  EXPECT_EQ(Parse("5:\x93\xfa\x96\x7b\n", MacroProgram::Main)[4], L"日本");

  MacroSlotNames written = UnregisteredSlots();
  written[9] = L"名前 ①€";
  EXPECT_EQ(Parse(BuildMacroList(written, MacroProgram::Editor), MacroProgram::Main)[9], L"名前 ①€");
  EXPECT_EQ(Parse(BuildMacroList(written, MacroProgram::Editor), MacroProgram::Editor)[9], L"名前 ①€");
}

}  // namespace
}  // namespace korval
