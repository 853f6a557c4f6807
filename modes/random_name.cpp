// Random names from fixed character pools, drawn with the C library generator.
#include "modes/random_name.h"

#include <cstdlib>
#include <string_view>

#include "platform/ansi_escape.h"
#include "modes/string_helpers.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

// Digits are the first 10 characters, the 52 letters follow.
constexpr std::wstring_view kAlphanumeric = L"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kDigitCount = 10;
constexpr int kLetterCount = 52;

constexpr std::wstring_view kHiragana =
    L"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
    L"がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ"
    L"ぁぃぅぇぉゃゅょっ";

constexpr std::wstring_view kKatakana =
    L"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン"
    L"ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポ"
    L"ァィゥェォャュョッ";

constexpr std::wstring_view kFullWidthAlphanumericGreek =
    L"０１２３４５６７８９"
    L"ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"
    L"ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ"
    L"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ"
    L"αβγδεζηθικλμνξοπρστυφχψω";

constexpr std::wstring_view kCyrillic =
    L"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
    L"абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
// The last letter of the table is never drawn; the draw has always covered only this many.
constexpr int kCyrillicDrawn = 65;

// The punctuation and symbol rows of the Japanese character set, without the ideographic space.
constexpr std::wstring_view kSymbols =
    L"、。，．・：；？！゛゜´｀¨＾￣＿ヽヾゝゞ〃仝々〆〇ー―‐／＼～∥｜…‥‘’“”（）〔〕［］｛｝〈〉《》「」『』【】"
    L"＋－±×÷＝≠＜＞≦≧∞∴♂♀°′″℃￥＄￠￡％＃＆＊＠§☆★○●◎◇"
    L"◆□■△▲▽▼※〒→←↑↓〓∈∋⊆⊇⊂⊃∪∩∧∨￢⇒⇔∀∃∠⊥⌒∂∇≡≒≪≫√∽∝∵∫∬Å‰♯♭♪†‡¶◯";

static_assert(kAlphanumeric.size() == kDigitCount + kLetterCount);
static_assert(kHiragana.size() == 80);
static_assert(kKatakana.size() == 80);
static_assert(kFullWidthAlphanumericGreek.size() == 110);
static_assert(kCyrillic.size() == 66);
static_assert(kSymbols.size() == 146);

// The C library generator gives 0..32,767; the mixture compares against fractions of that.
constexpr double kRandTop = 32767.0;

wchar_t Draw(std::wstring_view pool, int count) { return pool[static_cast<size_t>(std::rand() % count)]; }
wchar_t Draw(std::wstring_view pool) { return Draw(pool, static_cast<int>(pool.size())); }

wchar_t Digit() { return Draw(kAlphanumeric, kDigitCount); }
wchar_t Letter() { return kAlphanumeric[static_cast<size_t>(kDigitCount + std::rand() % kLetterCount)]; }

// A kanji of the first level: a Shift-JIS lead byte 0x89..0x96 and a trail byte 0x40..0xFC, read in
// the system code page. 0x7F is no trail byte, so it becomes 0x77.
wchar_t RandomKanji() {
  const int lead = 0x89 + std::rand() % 14;
  int trail = 0x40 + std::rand() % 189;
  if (trail == 0x7F) trail = 0x77;
  const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  const std::wstring decoded = FromAnsiUnescaped(std::string_view(bytes, 2), 3);
  // A code page that yields nothing for the pair would leave the position empty; a kana stands in.
  return decoded.empty() ? Draw(kHiragana) : decoded[0];
}

// The character of one position for patterns 0 to 6; position and length matter to pattern 2 only.
wchar_t DrawForPattern(int pattern, int position, int length) {
  switch (pattern) {
    case 0:
      return Digit();
    case 1:
      return Letter();
    case 2:
      return position < length / 2 ? Letter() : Digit();
    case 3:
      return std::rand() % 100 > 24 ? Letter() : Digit();
    case 4:
      return RandomFullWidthChar(1);
    case 5:
      return RandomFullWidthChar(3);
    default: {
      const int pick = std::rand() % 4;
      return pick >= 2 ? RandomFullWidthChar(3) : Draw(kAlphanumeric);
    }
  }
}

struct LengthRange {
  int low;
  int high;
};
// By rndlen: "4 文字固定", "4～8 文字", "4～16 文字", "8 文字固定", "8～16 文字", "16 文字固定".
constexpr LengthRange kLengthRanges[] = {{4, 4}, {4, 8}, {4, 16}, {8, 8}, {8, 16}, {16, 16}};

constexpr int kSpareExtensionLength = 3;

}  // namespace

wchar_t RandomFullWidthChar(int kind) {
  if (kind == 1) return Draw(kHiragana);
  if (kind == 2) return Draw(kKatakana);
  const int x = std::rand();
  if (x < kRandTop * 0.12) return Draw(kHiragana);
  if (x < kRandTop * 0.24) return Draw(kKatakana);
  if (x < kRandTop * 0.32) return Draw(kFullWidthAlphanumericGreek);
  if (x < kRandTop * 0.44) return Draw(kSymbols);
  if (x < kRandTop * 0.56) return Draw(kCyrillic, kCyrillicDrawn);
  return RandomKanji();
}

void RandomNameTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target) {
  static const ModeParams kDefaults;
  const ModeParams& params = ctx.params ? *ctx.params : kDefaults;
  const int pattern = Clamp(0, params.rndpattern, 6);
  const int extensionChoice = Clamp(0, params.rndext, 3);
  const LengthRange range = kLengthRanges[Clamp(0, params.rndlen, 5)];

  const PathParts parts = SplitPath(source);
  const int length = range.low + (range.high > range.low ? std::rand() % (range.high - range.low + 1) : 0);

  std::wstring stem;
  std::wstring spare;
  for (int i = 0; i < length; ++i) {
    stem.push_back(DrawForPattern(pattern, i, length));
    // Only the first three characters of the spare extension are ever used, so only those are drawn.
    if (i < kSpareExtensionLength) spare.push_back(DrawForPattern(pattern, i, length));
  }

  std::wstring extension;
  switch (extensionChoice) {
    case 0:
      extension = parts.extension;
      break;
    case 1:
      break;
    case 2:
      extension = L"." + spare;
      break;
    default:
      if (std::rand() % 4 >= 2) extension = L"." + spare;
      break;
  }

  target = parts.Directory() + stem + extension;
  Truncate(target, kMaxBuiltPath);
}

}  // namespace korval
