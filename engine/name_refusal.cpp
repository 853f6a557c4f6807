// The names the system refuses.
#include "engine/name_refusal.h"

#include <cwctype>

namespace korval {
namespace {

bool IsReservedDeviceName(std::wstring_view name) {
  // The device is named by what stands before the first dot, trailing spaces ignored.
  std::wstring_view base = name.substr(0, name.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
  auto is = [&](std::wstring_view word) {
    if (base.size() != word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
      if (std::towupper(base[i]) != word[i]) return false;
    }
    return true;
  };
  if (is(L"CON") || is(L"PRN") || is(L"AUX") || is(L"NUL")) return true;
  if (base.size() != 4 || base[3] < L'1' || base[3] > L'9') return false;
  const std::wstring_view stem = base.substr(0, 3);
  base = stem;
  return is(L"COM") || is(L"LPT");
}

bool HasUnpairedSurrogate(std::wstring_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    const wchar_t c = name[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF) {
      ++i;  // a whole pair
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

}  // namespace

const wchar_t* RefusedNameReason(std::wstring_view name) {
  if (name.empty()) return nullptr;
  for (const wchar_t c : name) {
    if (c < 0x20) return L"制御文字 (U+0000～U+001F) を含む名前は付けられません";
  }
  if (HasUnpairedSurrogate(name)) return L"文字の半分 (対のないサロゲート) を含む名前は付けられません";
  if (name.back() == L'.' || name.back() == L' ') return L"末尾がピリオドまたは空白の名前は付けられません";
  if (IsReservedDeviceName(name)) return L"Windowsの予約デバイス名 (CON, PRN, AUX, NUL, COM1～9, LPT1～9) です";
  return nullptr;
}

}  // namespace korval
