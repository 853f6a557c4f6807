// The names the system refuses.
#include "engine/name_refusal.h"

#include "platform/path_limits.h"
#include "platform/system_path.h"

namespace korval {
namespace {

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
  if (name.size() > kMaxNameChars) return L"255文字を超える名前は付けられません";
  for (const wchar_t c : name) {
    if (c < 0x20) return L"制御文字 (U+0000～U+001F) を含む名前は付けられません";
  }
  if (HasUnpairedSurrogate(name)) return L"文字の半分 (対のないサロゲート) を含む名前は付けられません";
  if (name.back() == L'.' || name.back() == L' ') return L"末尾がピリオドまたは空白の名前は付けられません";
  if (IsReservedDeviceName(name)) return L"Windowsの予約デバイス名 (CON, PRN, AUX, NUL, COM1～9, LPT1～9) です";
  return nullptr;
}

}  // namespace korval
