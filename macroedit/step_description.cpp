// Describing a step in words, in the exact form the editor reads back when it saves, pastes and
// merges steps.
#include "macroedit/step_description.h"

#include <array>

#include "platform/format_text.h"

namespace korval {
namespace {

constexpr int kCodeExtension = 0, kCodeSerial = 1, kCodeCase = 2, kCodeWidth = 3, kCodeShortName = 4,
              kCodeAddText = 5, kCodeDeleteText = 6, kCodeDateTime = 7, kCodeReplace = 8, kCodeRandom = 10;
constexpr int kLastDescribedCode = 10;

// The quoted pair of a date or replacement step is split after this many characters.
constexpr size_t kPairSplit = 250;
constexpr size_t kPairColumnChars = 258;
// Past this length the readable part of a replacement goes into the continuation column.
constexpr size_t kReplaceReadableLimit = 236;

constexpr std::array<const wchar_t*, 14> kModeNames = {
    L"位置編集", L"拡張子", L"連番 (123...)", L"大(A)⇔小(a)", L"全角/半角", L"8.3形式", L"文字追加",
    L"文字削除", L"日時",   L"置換",          L"",            L"ランダム",  L"ﾀｲﾑｽﾀﾝﾌﾟ", L"属性"};

constexpr std::array<const wchar_t*, 12> kDeleteTypeNames = {
    L" へのショートカット",    L"コピー ～ ",          L"[数字]　　　例：[123]", L"(数字)　　　例：(123)",
    L"[ 文字 ] ",              L"( 文字 )",            L"「 文字 」",            L"【 文字 】",
    L"先頭から指定文字数",     L"後ろから指定文字数",  L"指定文字数より後＿文字分", L"S-JISにないUnicode文字"};

// A fragment chosen by a digit character; nothing for a value without an entry.
template <size_t N>
const wchar_t* Pick(const std::array<const wchar_t*, N>& table, char digit) {
  const int value = digit - '0';
  return value >= 0 && value < static_cast<int>(N) ? table[value] : L"";
}

int TwoDigits(char tens, char units) { return 10 * (tens - '0') + (units - '0'); }

void AppendBounded(std::wstring& column, const std::wstring& text) {
  if (column.size() >= kStepColumnChars) return;
  column.append(text, 0, kStepColumnChars - column.size());
}

std::wstring Readable(char d0, char d1, char d2, int codeIndex) {
  std::wstring part;
  switch (codeIndex) {
    case kCodeExtension:
      return d0 == '0' ? L"(拡張子の変更)" : L"(拡張子の追加)";
    case kCodeSerial:
      part = Pick(std::array{L"(先頭に挿入", L"(後ろに追加", L"(拡張子の後ろ", L"(新しい名前:拡張子消", L"(新しい名前"}, d0);
      return part + Pick(std::array{L")", L", フォルダごとに)"}, d1);
    case kCodeCase:
      part = Pick(std::array{L"(小文字", L"(全て大文字", L"(全て大文字:拡張子除く", L"(先頭だけ大文字", L"(語頭を大文字"}, d0);
      return part + Pick(std::array{L")", L", 全角も)"}, d1);
    case kCodeWidth: {
      part = Pick(std::array{L"(半角に) [対象：", L"(全角に) [対象："}, d0);
      const int mask = d1 - '0';
      if (mask & 4) part += L" カタカナ";
      if (mask & 2) part += L" 英字";
      if (mask & 1) part += L" 数字";
      if (mask & 8) part += L" 記号";
      if (d1 == '0') part += L"無し";
      return part + L"]";
    }
    case kCodeShortName:
      return Pick(std::array{L"(大文字,小文字はそのまま)", L"(全て大文字に)"}, d0);
    case kCodeAddText:
      part = Pick(std::array{L"(前から", L"(後ろから"}, d0);
      return FormatText(L"%s %d 文字目に追加)", part.c_str(), TwoDigits(d1, d2));
    case kCodeDeleteText: {
      part = FormatText(L"%s(%s を削除", L"", Pick(kDeleteTypeNames, d0));
      const int type = d0 - '0';
      if (type >= 8 && type <= 10) part = FormatText(L"%s : %d 文字", part.c_str(), TwoDigits(d1, d2));
      return part + L")";
    }
    case kCodeDateTime:
      part = Pick(std::array{L"(作成日時 ", L"(更新日時 ", L"(撮影日時 ", L"(撮影or作成 "}, d0);
      part += Pick(std::array{L"形式：YYYY＝MM＝DD＝hh＝mm＝ss", L"形式：YYYYMMDD＝hhmmss", L"形式：YYYY＝MM＝DD＝hh＝mm",
                              L"形式：YYYYMMDD＝hhmm", L"形式：YYYY＝MM＝DD", L"形式：YYYYMMDDhhmmss",
                              L"形式：YYYYMMDDhhmm", L"形式：YYYYMMDD", L"形式：MMDD", L"形式：フリー"},
                   d1);
      return part + Pick(std::array{L"　新規)", L"　先頭に)", L"　後ろに)", L"　先頭+区切り)", L"　区切り+後ろ)"}, d2);
    case kCodeReplace: {
      part = Pick(std::array{L"(全て", L"(最初のみ", L"(最後のみ"}, d0);
      if (d1 == '1') part += L"　正規表現";
      const int options = d2 - '0';
      if (options >= 0 && (options & 2)) part += L"　A/a区別";
      if (options >= 0 && (options & 1)) part += L"　拡張子も";
      return part + L")";
    }
    case kCodeRandom:
      part = Pick(std::array{L"(数字のみ", L"(英字のみ", L"(前:英 後:数", L"(英+数 混在", L"(ひらがな", L"(全角　混在",
                             L"(全半角　混在"},
                  d0);
      part += Pick(std::array{L"、4文字", L"、4-8文字", L"、4-16文字", L"、8文字", L"、8-16文字", L"、16文字"}, d1);
      return part + Pick(std::array{L"、元の拡張子）", L"、拡張子無し）", L"、拡張子ランダム）", L"、拡張子あり/無し）"}, d2);
    default:
      return {};
  }
}

}  // namespace

const wchar_t* EditorModeName(int mode) {
  return mode >= 1 && mode <= static_cast<int>(kModeNames.size()) ? kModeNames[mode - 1] : L"";
}

int EditorModeOfName(const std::wstring& name, int lastMode) {
  if (name.empty()) return 0;
  for (int mode = 1; mode <= lastMode && mode <= static_cast<int>(kModeNames.size()); ++mode) {
    if (name == kModeNames[mode - 1]) return mode;
  }
  return 0;
}

const wchar_t* EditorDeleteTypeName(int type) {
  return type >= 0 && type < static_cast<int>(kDeleteTypeNames.size()) ? kDeleteTypeNames[type] : L"";
}

int DescribeStep(char d0, char d1, char d2, int codeIndex, const std::wstring& textA, const std::wstring& textB,
                 std::wstring& column0, std::wstring& column1, std::wstring& column2) {
  column0.clear();
  column1.clear();
  column2.clear();
  if (codeIndex < 0 || codeIndex > kLastDescribedCode) return 1;
  const wchar_t* name = EditorModeName(codeIndex + 2);
  if (!*name) return 1;
  column0 = name;
  std::wstring first = FormatText(L"[%c,%c,%c] ", static_cast<wchar_t>(d0), static_cast<wchar_t>(d1),
                                  static_cast<wchar_t>(d2));

  if (codeIndex == kCodeDateTime || codeIndex == kCodeReplace) {
    const std::wstring pair = FormatText(L"\"%s\",\"%s\"", textA.c_str(), textB.c_str());
    first.append(pair, 0, kPairSplit);
    if (pair.size() >= kPairSplit) column2.assign(pair, kPairSplit, kStepColumnChars);
    if (first.size() > kPairColumnChars) first.resize(kPairColumnChars);
    const std::wstring readable = Readable(d0, d1, d2, codeIndex);
    if (codeIndex == kCodeReplace && first.size() > kReplaceReadableLimit) {
      AppendBounded(column2, readable);
    } else {
      AppendBounded(first, readable);
    }
    column1 = std::move(first);
    return 0;
  }

  const bool quoted = codeIndex == kCodeExtension || codeIndex == kCodeSerial || codeIndex == kCodeAddText ||
                      (codeIndex == kCodeCase && !textA.empty());
  if (quoted) first += FormatText(L"\"%s\"", textA.c_str());
  first += Readable(d0, d1, d2, codeIndex);
  // A long text would not fit one column: the rest continues in the next one, where reading the
  // raw part back (columns 1 and 2 joined) still finds it.
  if (first.size() > kStepColumnChars) {
    column2.assign(first, kStepColumnChars, kStepColumnChars);
    first.resize(kStepColumnChars);
  }
  column1 = std::move(first);
  return 0;
}

}  // namespace korval
