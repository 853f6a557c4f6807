// The folder tree beside the list: the shell's namespace from the desktop down, folders only, filled
// as branches are opened. Selecting a folder replaces the list with that folder's content.
#pragma once

#include <windows.h>

#include <shtypes.h>

#include <functional>
#include <string>

namespace korval {

// Whether a namespace item stays out of the tree: the recycle bin, the control panel, the home group
// and zip folders, unless the system shows it with one of its first icons.
bool ExcludedFromTree(const std::wstring& displayName, int systemIconIndex);

// The file-system path of a namespace item, of any length the system takes; empty for an item
// without one.
std::wstring PathOf(PCIDLIST_ABSOLUTE pidl);

// Creates the tree as a child of parent, empty.
HWND CreateFolderTree(HWND parent);
// Fills an empty tree: the system's small icons, and the desktop with its first level, opened.
void FillFolderTree(HWND tree);

struct FolderTreeEvents {
  // A folder was selected: its file-system path, or empty for an item without one.
  std::function<void(const std::wstring& path)> selected;
};

// Handles the tree's notifications (expanding, selection, double click, item deletion); false when
// the notification is not the tree's.
bool HandleFolderTreeNotify(const NMHDR* header, LRESULT* result, const FolderTreeEvents& events);

}  // namespace korval
