// The project's benchmark, run under Wine by `make bench`. It prints times and ratios measured in
// one run, so that machine noise affects both sides of a comparison alike.
//   korval_bench [rows]   (default 50,000)
#include <windows.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/path_existence.h"
#include "engine/validate_row.h"
#include "modes/change_mode.h"
#include "platform/temp_folder.h"

namespace korval {
namespace {

double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A folder of files named 000000.txt ... and a list that renames each to a name that does not exist.
RenameList MakeFolderAndList(const TempFolder& dir, size_t rows) {
  RenameList list;
  for (size_t i = 0; i < rows; ++i) {
    wchar_t name[32];
    _snwprintf(name, 32, L"%06zu.txt", i);
    dir.WriteFile(name, "");
    list.Append({name, L".txt", dir.Path(), std::wstring(L"new_") + name, L"", L"", ItemStatus::None, false});
  }
  return list;
}

void BenchValidateRow(size_t maxRows) {
  std::printf("ValidateRow during a preview (one snapshot per folder), all targets new:\n");
  double perRowFirst = 0;
  for (size_t rows = maxRows / 4; rows <= maxRows; rows *= 2) {
    TempFolder dir;
    RenameList list = MakeFolderAndList(dir, rows);
    const double ms = Milliseconds([&] {
      FolderSnapshot snapshot;
      for (size_t r = 0; r < list.Count(); ++r) ValidateRow(list, r, kModeExtension, true, snapshot);
    });
    const double perRow = ms * 1000.0 / static_cast<double>(rows);
    if (perRowFirst == 0) perRowFirst = perRow;
    std::printf("  %6zu rows: %8.1f ms, %6.2f us per row (x%.2f of the smallest run)\n", rows, ms, perRow,
                perRow / perRowFirst);
  }
  // For comparison: asking the file system per row, as an execution must.
  const size_t liveRows = 2000;
  TempFolder dir;
  RenameList list = MakeFolderAndList(dir, liveRows);
  const double liveMs = Milliseconds([&] {
    LiveExistence live;
    for (size_t r = 0; r < list.Count(); ++r) ValidateRow(list, r, kModeExtension, true, live);
  });
  const double snapMs = Milliseconds([&] {
    FolderSnapshot snapshot;
    for (size_t r = 0; r < list.Count(); ++r) ValidateRow(list, r, kModeExtension, true, snapshot);
  });
  std::printf("  %6zu rows asked live: %8.1f ms; from the snapshot: %6.1f ms (live/snapshot %.1fx)\n", liveRows, liveMs,
              snapMs, liveMs / snapMs);
}

}  // namespace
}  // namespace korval

int main(int argc, char** argv) {
  _wsetlocale(LC_ALL, L"");
  const size_t rows = argc > 1 ? static_cast<size_t>(std::strtoul(argv[1], nullptr, 10)) : 50000;
  korval::BenchValidateRow(rows);
  return 0;
}
