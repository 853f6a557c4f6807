// A fresh folder of its own for one test, removed with everything in it when the test ends.
#pragma once

#include <string>
#include <vector>

#include "platform/utf8.h"

namespace korval {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with a trailing backslash.
  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + name; }

  // Writes a file with the given bytes; returns its full path.
  std::wstring WriteFile(const std::wstring& name, const std::string& bytes) const;
  std::string ReadFile(const std::wstring& name) const;
  bool Exists(const std::wstring& name) const;

 private:
  std::wstring path_;
};

// The names of the entries of a folder (without "." and ".."), sorted by code unit.
std::vector<std::wstring> SortedNames(const std::wstring& folder);

// Removes a folder tree, clearing read-only and other attributes first.
void RemoveTree(const std::wstring& folder);

}  // namespace korval
