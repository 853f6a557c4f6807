// Look-ups in the generated Unicode tables: direct tables for the Basic Multilingual Plane, where
// nearly every name's characters are, built once from the ranges; a binary search above it.
#include "regex/unicode_data.h"

#include <algorithm>
#include <vector>

namespace korval::regex::unicode {
namespace {

constexpr size_t kPlaneSize = 0x10000;

template <typename Range>
const Range* FindRange(const Range* ranges, size_t count, char32_t c) {
  const Range* end = ranges + count;
  const Range* found = std::upper_bound(ranges, end, c, [](char32_t v, const Range& r) { return v < r.first; });
  if (found == ranges) return nullptr;
  --found;
  return c <= found->last ? found : nullptr;
}

char32_t FindPair(const CodePair* pairs, size_t count, char32_t c) {
  const CodePair* end = pairs + count;
  const CodePair* found = std::lower_bound(pairs, end, c, [](const CodePair& p, char32_t v) { return p.from < v; });
  return found != end && found->from == c ? found->to : c;
}

struct PlaneTables {
  std::vector<Category> category = std::vector<Category>(kPlaneSize, Category::Cn);
  std::vector<uint8_t> properties = std::vector<uint8_t>(kPlaneSize, 0);
  std::vector<char32_t> fold = std::vector<char32_t>(kPlaneSize);

  PlaneTables() {
    for (size_t i = 0; i < kCategoryRangeCount; ++i) {
      const CategoryRange& r = kCategoryRanges[i];
      for (char32_t c = r.first; c <= r.last && c < kPlaneSize; ++c) category[c] = r.category;
    }
    for (size_t i = 0; i < kPropertyRangeCount; ++i) {
      const PropertyRange& r = kPropertyRanges[i];
      for (char32_t c = r.first; c <= r.last && c < kPlaneSize; ++c) properties[c] = r.bits;
    }
    for (size_t c = 0; c < kPlaneSize; ++c) fold[c] = static_cast<char32_t>(c);
    for (size_t i = 0; i < kSimpleFoldsCount; ++i) {
      if (kSimpleFolds[i].from < kPlaneSize) fold[kSimpleFolds[i].from] = kSimpleFolds[i].to;
    }
  }
};

const PlaneTables& Plane() {
  static const PlaneTables tables;
  return tables;
}

}  // namespace

Category CategoryOf(char32_t c) {
  if (c < kPlaneSize) return Plane().category[c];
  const CategoryRange* r = FindRange(kCategoryRanges, kCategoryRangeCount, c);
  return r ? r->category : Category::Cn;
}

uint8_t PropertiesOf(char32_t c) {
  if (c < kPlaneSize) return Plane().properties[c];
  const PropertyRange* r = FindRange(kPropertyRanges, kPropertyRangeCount, c);
  return r ? r->bits : 0;
}

Script ScriptOf(char32_t c) {
  const ScriptRange* r = FindRange(kScriptRanges, kScriptRangeCount, c);
  return r ? r->script : Script::Other;
}

char32_t SimpleFold(char32_t c) {
  if (c < kPlaneSize) return Plane().fold[c];
  return FindPair(kSimpleFolds, kSimpleFoldsCount, c);
}

char32_t ToLower(char32_t c) { return FindPair(kToLower, kToLowerCount, c); }
char32_t ToUpper(char32_t c) { return FindPair(kToUpper, kToUpperCount, c); }

const char32_t* FullFoldOf(char32_t c) {
  const FullFold* end = kFullFolds + kFullFoldCount;
  const FullFold* found =
      std::lower_bound(kFullFolds, end, c, [](const FullFold& f, char32_t v) { return f.from < v; });
  return found != end && found->from == c ? found->to : nullptr;
}

}  // namespace korval::regex::unicode
