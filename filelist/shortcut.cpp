// Reading the target of a shortcut through the shell-link object.
#include "filelist/shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/path_limits.h"

namespace korval {
namespace {

// Releases a COM interface when the scope ends.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace

bool ResolveShortcut(const std::wstring& path, std::wstring& target) {
  target.clear();
  if (path.empty()) return false;
  ComRef<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.Out())))) {
    return false;
  }
  ComRef<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out())))) return false;
  if (FAILED(file->Load(path.c_str(), STGM_READ))) return false;
  wchar_t buffer[kPathBuffer] = {};
  if (link->GetPath(buffer, static_cast<int>(kPathBuffer), nullptr, 0) != S_OK) return false;
  buffer[kPathBuffer - 1] = L'\0';
  target = buffer;
  return !target.empty();
}

}  // namespace korval
