// Tags in text that becomes a name: "<:Name>", "<:Name:N>" (a number of at least N digits) and
// "<:Name|text>" (text for a file without the tag), their values made fit for a name, and the tags
// of the row being named, read once per row and kept between passes while the file does not change.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "metadata/tag_values.h"

namespace korval {

struct WrittenTag {
  Tag tag = Tag::Title;
  int digits = 0;  // ":N", 0 when not given
  bool hasFallback = false;
  std::wstring fallback;  // "|text"
  size_t length = 0;      // characters from "<" to ">"
};

// The most digits ":N" may ask for.
inline constexpr int kMaxTagDigits = 32;

// The tag written at text[at]; false when no tag of a known name, well formed, stands there.
bool ParseWrittenTag(std::wstring_view text, size_t at, WrittenTag& written);

// Every tag the text asks for.
TagSet TagsInText(std::wstring_view text);

// Whether the text holds a tag at all (a quick test before any parsing).
inline bool MayHoldTags(std::wstring_view text) { return text.find(L"<:") != std::wstring_view::npos; }

// Replaces each tag written in the text by one private-use character (U+E000 on), keeping the tags
// in order in `aside`, so that a template is parsed without them; PutTagsBack restores them. A text
// that already holds such characters keeps its tags where they are.
void SetTagsAside(std::wstring& text, std::vector<std::wstring>& aside);
void PutTagsBack(std::wstring& text, const std::vector<std::wstring>& aside);

// A value as it goes into a name: Track and Disc their leading number ("3/12" gives "3"), Year the
// first four digits in a row; characters a name cannot hold in their full-width forms, control
// characters dropped, spaces at both ends and dots at the end trimmed; with digits, a leading number
// padded with zeros to that many digits. Empty when nothing usable is left.
std::wstring TagValueForName(Tag tag, std::wstring_view raw, int digits);

// The values read for each file, kept from pass to pass while its size and last write time stay.
class TagCache {
 public:
  // The values of the file for at least the wanted tags, read now or kept.
  const TagValues& ValuesFor(const std::wstring& path, TagSet wanted);
  size_t Reads() const { return reads_; }

 private:
  struct Entry {
    ULONGLONG size = 0;
    FILETIME written{};
    TagValues values;
  };
  std::unordered_map<std::wstring, Entry> entries_;
  TagValues absent_;  // the answer for a file that cannot be found
  size_t reads_ = 0;
};

// The tags of the row being named: the transforms expand tags through it, and the pass learns from it
// whether a tag the row asked for was missing.
class RowTags {
 public:
  explicit RowTags(TagCache* cache = nullptr) : cache_(cache ? cache : &ownCache_) {}
  // A new row, whose item is at itemPath on disk.
  void StartRow(const std::wstring& itemPath);
  // The text for the tag written in wholeText: the value fit for a name, or the fallback; false when
  // the file has no such tag and no fallback is given (the row is then not to be renamed).
  bool Expand(const WrittenTag& written, std::wstring_view wholeText, std::wstring& out);
  // The first tag the row asked for and its file lacks.
  std::optional<Tag> Missing() const { return missing_; }

 private:
  TagCache ownCache_;
  TagCache* cache_;
  std::wstring itemPath_;
  std::optional<Tag> missing_;
};

// The reason a row with a missing tag is not renamed, for the list's hint, the plan and the report.
std::wstring MissingTagReason(Tag tag);
inline constexpr const wchar_t* kMissingTagText = L"タグがありません: ";

}  // namespace korval
