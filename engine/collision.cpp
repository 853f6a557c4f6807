// Serial variants of a taken name.
#include "engine/collision.h"

#include "modes/string_helpers.h"
#include "platform/format_text.h"

namespace korval {
namespace {

struct Marks {
  const wchar_t* open;
  const wchar_t* close;
  bool inFront;
};

constexpr Marks kFormats[] = {
    {L"(", L")", false}, {L"[", L"]", false}, {L"_", L"", false},
    {L"(", L")", true},  {L"[", L"]", true},  {L"", L"_", true},
};

constexpr int kMaxSerial = 50000;

}  // namespace

int MakeSerialSuffixName(std::wstring& path, const CollisionOptions& options, PathExistence& existence) {
  const PathParts parts = SplitPath(path);
  const Marks& marks = kFormats[Clamp(0, options.collisionOption & 7, 5)];
  const wchar_t* padding = options.adddiffpad == 1 ? L"%02d" : (options.adddiffpad == 2 ? L"%03d" : L"%d");
  const size_t length = path.size();
  for (int n = options.addrenbegin + 1; n <= kMaxSerial; ++n) {
    if ((length > 253 && n > 10) || (length > 254 && n > 100) || (length > 255 && n > 1000)) return 1;
    const std::wstring number = std::wstring(marks.open) + FormatText(padding, n) + marks.close;
    std::wstring candidate;
    if (marks.inFront) {
      candidate = parts.Directory() + number + parts.stem + parts.extension;
    } else if (options.fileDir == 1) {
      candidate = parts.Directory() + parts.stem + parts.extension + number;
    } else {
      candidate = parts.Directory() + parts.stem + number + parts.extension;
    }
    if (!existence.Exists(candidate)) {
      path = candidate;
      return 0;
    }
  }
  return 1;
}

}  // namespace korval
