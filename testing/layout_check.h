// What a person would see wrong in a window's layout, for the tests of both programs at every
// display scaling. Works on windows of other processes too.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace korval {

// The faults among the visible children of parent, each said in a line: a control that reaches out
// of the parent's client area, and two controls that cover each other. Tab controls and group
// boxes hold other controls: they are left out of the overlap test, but a control on one of them
// must lie inside it.
std::vector<std::wstring> LayoutFaults(HWND parent);

// A control in words, for a test's message: class, id and text.
std::wstring DescribeControl(HWND control);

}  // namespace korval
