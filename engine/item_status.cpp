// The status legend text of the about box.
#include "engine/item_status.h"

namespace korval {

std::wstring StatusLegendText() {
  std::wstring text;
  for (const StatusLegendEntry& entry : kStatusLegend) {
    if (!text.empty()) text += L"\r\n\r\n";
    text += L"‥‥ ";
    text += entry.text;
  }
  return text;
}

}  // namespace korval
