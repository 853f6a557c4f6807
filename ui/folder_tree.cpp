// The folder tree: namespace enumeration through the shell, items carrying their absolute item id
// list, exclusion of the recycle bin and its kind.
#include "ui/folder_tree.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cwctype>

#include "platform/path_limits.h"
#include "resources/resource.h"

namespace korval {
namespace {

bool ContainsNoCase(std::wstring text, std::wstring word) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  for (wchar_t& c : word) c = static_cast<wchar_t>(std::towlower(c));
  return text.find(word) != std::wstring::npos;
}

int SystemIcon(PCIDLIST_ABSOLUTE pidl, UINT extra) {
  SHFILEINFOW info{};
  SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof(info),
                 SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra);
  return info.iIcon;
}

std::wstring DisplayNameOf(IShellFolder* parent, PCUITEMID_CHILD child) {
  STRRET name{};
  wchar_t buffer[MAX_PATH] = L"";
  if (SUCCEEDED(parent->GetDisplayNameOf(child, SHGDN_INFOLDER, &name))) StrRetToBufW(&name, child, buffer, MAX_PATH);
  return buffer;
}

HTREEITEM InsertItem(HWND tree, HTREEITEM parentItem, PIDLIST_ABSOLUTE pidl, const std::wstring& name,
                     SFGAOF attributes) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parentItem;
  insert.hInsertAfter = TVI_LAST;
  TVITEMW& item = insert.item;
  item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
  item.pszText = const_cast<wchar_t*>(name.c_str());
  item.lParam = reinterpret_cast<LPARAM>(pidl);
  item.iImage = SystemIcon(pidl, 0);
  item.iSelectedImage = SystemIcon(pidl, SHGFI_OPENICON);
  item.cChildren = (attributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
  if (attributes & SFGAO_SHARE) {
    item.state = INDEXTOOVERLAYMASK(1);
    item.stateMask = TVIS_OVERLAYMASK;
  }
  HTREEITEM inserted = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!inserted) CoTaskMemFree(pidl);
  return inserted;
}

PIDLIST_ABSOLUTE ItemPidl(HWND tree, HTREEITEM item) {
  TVITEMW data{};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  if (!TreeView_GetItem(tree, &data)) return nullptr;
  return reinterpret_cast<PIDLIST_ABSOLUTE>(data.lParam);
}

// Inserts the folders below item; returns how many went in.
int FillChildren(HWND tree, HTREEITEM item) {
  PIDLIST_ABSOLUTE parentPidl = ItemPidl(tree, item);
  if (!parentPidl) return 0;
  IShellFolder* desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop))) return 0;
  IShellFolder* folder = nullptr;
  const bool isDesktop = parentPidl->mkid.cb == 0;
  HRESULT hr = isDesktop ? (desktop->AddRef(), folder = desktop, S_OK)
                         : desktop->BindToObject(parentPidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder));
  desktop->Release();
  if (FAILED(hr) || !folder) return 0;
  IEnumIDList* children = nullptr;
  int inserted = 0;
  if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, &children) == S_OK &&
      children) {
    PITEMID_CHILD child = nullptr;
    while (children->Next(1, &child, nullptr) == S_OK) {
      SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_SHARE;
      PCUITEMID_CHILD list[1] = {child};
      if (SUCCEEDED(folder->GetAttributesOf(1, list, &attributes)) && (attributes & SFGAO_FOLDER)) {
        PIDLIST_ABSOLUTE absolute = ILCombine(parentPidl, child);
        const std::wstring name = DisplayNameOf(folder, child);
        if (absolute && !ExcludedFromTree(name, SystemIcon(absolute, 0))) {
          if (InsertItem(tree, item, absolute, name, attributes)) ++inserted;
        } else if (absolute) {
          CoTaskMemFree(absolute);
        }
      }
      CoTaskMemFree(child);
    }
    children->Release();
  }
  folder->Release();
  return inserted;
}

void ExpandFirstTime(HWND tree, HTREEITEM item) {
  if (TreeView_GetChild(tree, item)) return;
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  SetCapture(tree);
  const int inserted = FillChildren(tree, item);
  ReleaseCapture();
  SetCursor(previous);
  if (inserted == 0) {
    TVITEMW data{};
    data.mask = TVIF_CHILDREN;
    data.hItem = item;
    data.cChildren = 0;
    TreeView_SetItem(tree, &data);
  }
}

}  // namespace

std::wstring PathOf(PCIDLIST_ABSOLUTE pidl) {
  if (!pidl) return L"";
  // A folder's path may be as long as any the system takes.
  std::wstring path(kMaxLongPathChars + 1, L'\0');
  if (!SHGetPathFromIDListEx(pidl, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT)) return L"";
  path.resize(wcslen(path.c_str()));
  return path;
}

bool ExcludedFromTree(const std::wstring& name, int systemIconIndex) {
  if (systemIconIndex <= 5) return false;
  return name == L"ごみ箱" || ContainsNoCase(name, L"recycle bin") || name == L"コントロール パネル" ||
         ContainsNoCase(name, L"control panel") || name == L"ホームグループ" || ContainsNoCase(name, L"homegroup") ||
         name.find(L".zip") != std::wstring::npos;
}

HWND CreateFolderTree(HWND parent) {
  return CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                             TVS_SHOWSELALWAYS,
                         0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FOLDER_TREE)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

void FillFolderTree(HWND tree) {
  if (!tree || TreeView_GetCount(tree) > 0) return;
  SHFILEINFOW info{};
  auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (images) TreeView_SetImageList(tree, images, TVSIL_NORMAL);
  PIDLIST_ABSOLUTE desktop = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop)) || !desktop) return;
  SHFILEINFOW name{};
  SHGetFileInfoW(reinterpret_cast<LPCWSTR>(desktop), 0, &name, sizeof(name), SHGFI_PIDL | SHGFI_DISPLAYNAME);
  HTREEITEM root = InsertItem(tree, TVI_ROOT, desktop, name.szDisplayName, SFGAO_HASSUBFOLDER);
  if (root) {
    FillChildren(tree, root);
    TreeView_Expand(tree, root, TVE_EXPAND);
  }
}

bool HandleFolderTreeNotify(const NMHDR* header, LRESULT* result, const FolderTreeEvents& events) {
  if (header->idFrom != IDC_FOLDER_TREE) return false;
  HWND tree = header->hwndFrom;
  *result = 0;
  switch (header->code) {
    case TVN_ITEMEXPANDINGW: {
      const auto* view = reinterpret_cast<const NMTREEVIEWW*>(header);
      if (view->action & TVE_EXPAND) ExpandFirstTime(tree, view->itemNew.hItem);
      return true;
    }
    case TVN_SELCHANGEDW: {
      const auto* view = reinterpret_cast<const NMTREEVIEWW*>(header);
      // Only a person's choice reads a folder, not the selection the tree makes on its own.
      if (view->action == TVC_UNKNOWN) return true;
      if (events.selected) events.selected(PathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(view->itemNew.lParam)));
      return true;
    }
    case TVN_DELETEITEMW: {
      const auto* view = reinterpret_cast<const NMTREEVIEWW*>(header);
      CoTaskMemFree(reinterpret_cast<void*>(view->itemOld.lParam));
      return true;
    }
    case NM_DBLCLK: {
      HTREEITEM selected = TreeView_GetSelection(tree);
      const std::wstring path = selected ? PathOf(ItemPidl(tree, selected)) : L"";
      const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ShellExecuteW(GetAncestor(tree, GA_ROOT), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      }
      return true;
    }
    default: return false;
  }
}

}  // namespace korval
