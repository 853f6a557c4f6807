// Saving a shell link file for the tests.
#include "testing/shortcut_file.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

namespace korval {

bool SaveShortcut(const std::wstring& path, const std::wstring& target) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  link->SetPath(target.c_str());
  IPersistFile* file = nullptr;
  bool saved = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    saved = SUCCEEDED(file->Save(path.c_str(), TRUE));
    file->Release();
  }
  link->Release();
  return saved;
}

}  // namespace korval
