// The name the program shows for itself, chosen by `usejpname`.
#pragma once

#include <string>

namespace korval {

inline constexpr const wchar_t* kJapaneseName = L"こ～ばりす～ず";
inline constexpr const wchar_t* kProductName = L"Korvalith";

inline const wchar_t* DisplayName(int usejpname) { return usejpname ? kJapaneseName : kProductName; }

// The main window's title: the display name and one space (a second instance finds us by it).
inline std::wstring MainWindowTitle(int usejpname) { return std::wstring(DisplayName(usejpname)) + L" "; }

}  // namespace korval
