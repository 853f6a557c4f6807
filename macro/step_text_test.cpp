// The stored text encoding: escapes, the buffer limit, the bit toggle and the way back.
#include "macro/step_text.h"

#include <gtest/gtest.h>

#include "testing/temp_folder.h"

namespace korval {
namespace {

TEST(MacroStepText, ToggleLeavesTheFourBytesWithEmptyLowBitsAndFlipsBitSixOfTheRest) {
  struct Case {
    unsigned char plain, stored;
  } cases[] = {{0x00, 0x00}, {0x40, 0x40}, {0x80, 0x80}, {0xC0, 0xC0}, {'A', 0x01}, {0x01, 'A'},
               {0x7F, 0x3F}, {0xFF, 0xBF}, {'\n', 'J'},  {0x94, 0xD4}, {0x4E, 0x0E}};
  for (const Case& c : cases) {
    std::string bytes(1, static_cast<char>(c.plain));
    ToggleStepBytes(bytes);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), c.stored) << static_cast<int>(c.plain);
  }
  // Over every byte value: never a NUL out of a non-NUL, and toggling twice restores it.
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::string toggled = all;
  ToggleStepBytes(toggled);
  EXPECT_EQ(toggled.find('\0'), std::string::npos);
  ToggleStepBytes(toggled);
  EXPECT_EQ(toggled, all);
}

TEST(MacroStepText, StoredFormsOfTypicalTexts) {
  struct Case {
    std::wstring text;
    std::string stored;
  } cases[] = {
      {L"", ""},
      {L"abc", "\x21\x22\x23"},
      {L"a?b", "\x21\x7F\x22"},                        // "?" is kept, not escaped
      {L"年", "\xD4\x0E"},                             // Shift_JIS 0x94 0x4E, toggled
      {L"é", "\x1C\x35\x70\x70\x25\x79"},              // "\u00e9", toggled
      {std::wstring(L"ab\0cd", 5), "\x21\x22"},        // a NUL ends the text
  };
  for (const Case& c : cases) EXPECT_EQ(EncodeStepText(c.text), c.stored) << Utf8(c.text);
}

TEST(MacroStepText, TextsComeBackAsTheyWere) {
  const std::wstring texts[] = {L"", L"photo_001.jpg", L"a?b", L"日本語ファイル", L"café €", L"x\U0001F600y",
                                L"ｶﾀｶﾅ＆全角", L"\\u30", L"\\u30A2"};
  for (const std::wstring& text : texts) EXPECT_EQ(DecodeStepText(EncodeStepText(text)), text) << Utf8(text);
}

TEST(MacroStepText, ATypedEscapeIsReadAsItsCharacterOnlyInLowerCase) {
  EXPECT_EQ(DecodeStepText(EncodeStepText(L"a\\u3042b")), L"aあb");
  EXPECT_EQ(DecodeStepText(EncodeStepText(L"a\\u30A2b")), L"a\\u30A2b");
  EXPECT_EQ(DecodeStepText(EncodeStepText(L"\\u304")), L"\\u304");
}

TEST(MacroStepText, EscapesStopSixPlacesBeforeTheLimitAndTheRestStaysQuestionMarks) {
  const std::wstring text(259, L'é');
  const std::string stored = EscapeStepText(text);
  // 129 escapes fill 774 places; what follows is "?" up to the 776-byte limit.
  EXPECT_EQ(stored.size(), kStepTextMaxBytes);
  EXPECT_EQ(stored.substr(0, 12), "\\u00e9\\u00e9");
  EXPECT_EQ(stored.substr(774), "??");
  EXPECT_EQ(DecodeStepText(EncodeStepText(text)), std::wstring(129, L'é') + L"??");
}

TEST(MacroStepText, AnOverlongStoredFormIsCutAtWholeCharactersAndWholeEscapes) {
  // 1 + 200 + 600 bytes: too long; the cut keeps 95 whole escapes rather than losing the text.
  const std::wstring text = L"a" + std::wstring(100, L'あ') + std::wstring(100, L'é');
  const std::string stored = EscapeStepText(text);
  EXPECT_EQ(stored.size(), 771u);
  EXPECT_EQ(UnescapeStepText(stored, 1000), L"a" + std::wstring(100, L'あ') + std::wstring(95, L'é'));

  // Double-byte characters only: 775 bytes, never half of one.
  const std::string kana = EscapeStepText(L"x" + std::wstring(400, L'あ'));
  EXPECT_EQ(kana.size(), 775u);
  EXPECT_EQ(UnescapeStepText(kana, 1000), L"x" + std::wstring(387, L'あ'));
}

TEST(MacroStepText, ReadingKeepsAtMost259Characters) {
  EXPECT_EQ(DecodeStepText(EncodeStepText(std::wstring(300, L'a'))), std::wstring(259, L'a'));
  EXPECT_EQ(DecodeStepText(EncodeStepText(std::wstring(259, L'b'))), std::wstring(259, L'b'));
  EXPECT_EQ(DecodeStepText(EncodeStepText(std::wstring(260, L'c'))).size(), 259u);
}

}  // namespace
}  // namespace korval
