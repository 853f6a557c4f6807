// The change modes: their numbers (mode button index + 1) and one table that says, for each mode,
// its button label, its status bar hint, the code a macro stores its steps under, and whether it
// computes a new name. The window, the transforms, the macro format and the status bar read it.
#pragma once

namespace korval {

enum ChangeMode : int {
  kModePositionEdit = 1,
  kModeExtension = 2,
  kModeSerialNumber = 3,
  kModeLetterCase = 4,
  kModeCharWidth = 5,
  kModeShortName = 6,
  kModeAddText = 7,
  kModeDeleteText = 8,
  kModeDateTime = 9,
  kModeReplace = 10,
  kModeCsvNames = 11,
  kModeRandomName = 12,
  kModeTimestamp = 13,
  kModeAttribute = 14,
  kModeMacro = 19,
};

// The slots of the two tabs of mode buttons; a slot without a mode hides its button.
inline constexpr int kModeCount = 24;

struct ModeDescriptor {
  int number;
  const wchar_t* label;  // the mode button's label
  const wchar_t* hint;   // the status bar's text behind "【label】"
  const char* stepCode;  // what a macro stores its steps under; null for modes a macro never stores
  bool namesItem;        // computes a new name; the others describe a time stamp or attribute change
};

inline constexpr ModeDescriptor kModeTable[] = {
    {kModePositionEdit, L"位置編集", L" 文字を追加したり、必要ない箇所の文字を削除します。", "EDT", true},
    {kModeExtension, L"拡張子", L" 拡張子を変更します。空白にすると拡張子がなくなります。", "EXT", true},
    {kModeSerialNumber, L"連番 (123...)", L" 連番を付けます。数字以外の文字も入力できます。", "123", true},
    {kModeLetterCase, L"大(A)⇔小(a)", L" 大文字・小文字を変換します。", "Aa ", true},
    {kModeCharWidth, L"全角/半角", L" 英字・数字・カタカナ・記号の文字を全角/半角にします。", "ZH ", true},
    {kModeShortName, L"8.3形式", L" \"8文字＋拡張子3文字\" の形式にします。", "8_3", true},
    {kModeAddText, L"文字追加", L" 文字を前か後ろに付加します。", "ADD", true},
    {kModeDeleteText, L"文字削除", L" 一部の文字を削除します。", "DEL", true},
    {kModeDateTime, L"日時", L" 作成日時、更新日時、撮影日時を追加します。", "TIM", true},
    {kModeReplace, L"置換", L" ある文字を他の文字に置き換えます。正規表現も使えます。", "REP", true},
    {kModeCsvNames, L"CSV等", L" 作成済みのCSVファイルを読み込みます。", "dmy", true},
    {kModeRandomName, L"ランダム", L" ランダムなファイル名にします。つまりパルプンテです。", "RND", true},
    {kModeTimestamp, L"ﾀｲﾑｽﾀﾝﾌﾟ", L" タイムスタンプを指定した日時にします。", nullptr, false},
    {kModeAttribute, L"属性", L" 読み取り専用・隠しファイル等の属性を変更します。", nullptr, false},
    {kModeMacro, L"マクロ", L" 複数のモードの処理を記録して再生(連続に処理)します。何度も利用できます。", nullptr, true},
};

// The mode's row of the table, or null for a slot without a mode.
constexpr const ModeDescriptor* ModeDescriptorOf(int mode) {
  for (const ModeDescriptor& d : kModeTable) {
    if (d.number == mode) return &d;
  }
  return nullptr;
}

// The button label of a mode, empty for a slot without a mode.
constexpr const wchar_t* ModeLabel(int mode) {
  const ModeDescriptor* d = ModeDescriptorOf(mode);
  return d ? d->label : L"";
}

// Modes that compute a new name (the others describe a time stamp or attribute change).
constexpr bool IsNameMode(int mode) {
  const ModeDescriptor* d = ModeDescriptorOf(mode);
  return d && d->namesItem;
}

// Modes whose names are drawn by chance: working them out again gives other names.
constexpr bool DrawsNamesByChance(int mode) { return mode == kModeRandomName; }

}  // namespace korval
