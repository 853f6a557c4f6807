// Tags in names: the syntax, the values made fit for a name, and the per-file cache.
#include "modes/tags_in_names.h"

#include "metadata/read_tags.h"

namespace korval {
namespace {

constexpr size_t kMaxTagNameChars = 16;
constexpr size_t kMaxFallbackChars = 255;
// A list of more files than this is rare; the cache then starts over rather than grow without end.
constexpr size_t kMaxCachedFiles = 200000;
// The private-use characters that stand for tags set aside.
constexpr wchar_t kFirstAside = 0xE000;
constexpr wchar_t kLastAside = 0xE0FF;

bool IsAsciiAlnum(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
bool IsDigitChar(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The characters a Windows name cannot hold, and the full-width forms that stand for them.
wchar_t FullWidthFor(wchar_t c) {
  switch (c) {
    case L'\\': return L'＼';
    case L'/': return L'／';
    case L':': return L'：';
    case L'*': return L'＊';
    case L'?': return L'？';
    case L'"': return L'＂';
    case L'<': return L'＜';
    case L'>': return L'＞';
    case L'|': return L'｜';
    default: return c;
  }
}

bool IsControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }
bool IsSpace(wchar_t c) { return c == L' ' || c == L'\x3000'; }

// The first run of digits (leading zeros dropped, "0" kept), or empty.
std::wstring LeadingNumber(std::wstring_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  size_t end = i;
  while (end < text.size() && IsDigitChar(text[end])) ++end;
  if (end == i) return {};
  while (i + 1 < end && text[i] == L'0') ++i;
  return std::wstring(text.substr(i, end - i));
}

std::wstring FirstFourDigits(std::wstring_view text) {
  for (size_t i = 0; i + 4 <= text.size(); ++i) {
    size_t n = 0;
    while (n < 4 && IsDigitChar(text[i + n])) ++n;
    const bool longer = i + 4 < text.size() && IsDigitChar(text[i + 4]);
    if (n == 4 && !longer && (i == 0 || !IsDigitChar(text[i - 1]))) return std::wstring(text.substr(i, 4));
    i += n;
  }
  return {};
}

}  // namespace

bool ParseWrittenTag(std::wstring_view text, size_t at, WrittenTag& written) {
  if (at + 2 > text.size() || text[at] != L'<' || text[at + 1] != L':') return false;
  size_t i = at + 2;
  const size_t nameStart = i;
  while (i < text.size() && IsAsciiAlnum(text[i]) && i - nameStart < kMaxTagNameChars) ++i;
  if (!TagFromName(text.substr(nameStart, i - nameStart), written.tag)) return false;
  written.digits = 0;
  written.hasFallback = false;
  written.fallback.clear();
  if (i < text.size() && text[i] == L':') {
    const size_t digitsStart = ++i;
    int digits = 0;
    while (i < text.size() && IsDigitChar(text[i]) && i - digitsStart < 2) digits = digits * 10 + (text[i++] - L'0');
    if (i == digitsStart || digits > kMaxTagDigits) return false;
    written.digits = digits;
  }
  if (i < text.size() && text[i] == L'|') {
    const size_t close = text.find(L'>', i + 1);
    if (close == std::wstring_view::npos || close - i - 1 > kMaxFallbackChars) return false;
    written.hasFallback = true;
    written.fallback.assign(text.substr(i + 1, close - i - 1));
    i = close;
  }
  if (i >= text.size() || text[i] != L'>') return false;
  written.length = i + 1 - at;
  return true;
}

void SetTagsAside(std::wstring& text, std::vector<std::wstring>& aside) {
  aside.clear();
  if (!MayHoldTags(text)) return;
  for (const wchar_t c : text) {
    if (c >= kFirstAside && c <= kLastAside) return;
  }
  std::wstring out;
  WrittenTag written;
  for (size_t i = 0; i < text.size();) {
    if (aside.size() <= static_cast<size_t>(kLastAside - kFirstAside) && ParseWrittenTag(text, i, written)) {
      out += static_cast<wchar_t>(kFirstAside + aside.size());
      aside.push_back(text.substr(i, written.length));
      i += written.length;
    } else {
      out += text[i++];
    }
  }
  text = std::move(out);
}

void PutTagsBack(std::wstring& text, const std::vector<std::wstring>& aside) {
  if (aside.empty()) return;
  std::wstring out;
  for (const wchar_t c : text) {
    const size_t k = static_cast<size_t>(c - kFirstAside);
    if (c >= kFirstAside && k < aside.size()) {
      out += aside[k];
    } else {
      out += c;
    }
  }
  text = std::move(out);
}

TagSet TagsInText(std::wstring_view text) {
  TagSet tags;
  WrittenTag written;
  for (size_t at = text.find(L"<:"); at != std::wstring_view::npos; at = text.find(L"<:", at + 1)) {
    if (ParseWrittenTag(text, at, written)) tags.Add(written.tag);
  }
  return tags;
}

std::wstring TagValueForName(Tag tag, std::wstring_view raw, int digits) {
  std::wstring value;
  if (tag == Tag::Track || tag == Tag::Disc) {
    value = LeadingNumber(raw);
  } else if (tag == Tag::Year) {
    value = FirstFourDigits(raw);
  } else {
    value.reserve(raw.size());
    for (const wchar_t c : raw) {
      if (!IsControl(c)) value += FullWidthFor(c);
    }
  }
  size_t begin = 0;
  while (begin < value.size() && IsSpace(value[begin])) ++begin;
  size_t end = value.size();
  while (end > begin && (IsSpace(value[end - 1]) || value[end - 1] == L'.')) --end;
  value = value.substr(begin, end - begin);
  if (digits > 0) {
    size_t run = 0;
    while (run < value.size() && IsDigitChar(value[run])) ++run;
    if (run > 0 && run < static_cast<size_t>(digits)) value.insert(0, static_cast<size_t>(digits) - run, L'0');
  }
  return value;
}

const TagValues& TagCache::ValuesFor(const std::wstring& path, TagSet wanted) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    entries_.erase(path);
    absent_ = TagValues(wanted);  // nothing to read and nothing to keep
    return absent_;
  }
  const ULONGLONG size = ULONGLONG{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
  auto found = entries_.find(path);
  if (found != entries_.end()) {
    const Entry& entry = found->second;
    const bool same = entry.size == size && CompareFileTime(&entry.written, &data.ftLastWriteTime) == 0;
    if (same && wanted.Without(entry.values.Wanted()).Empty()) return entry.values;
    // Tags asked before are asked again, so that one read serves every text of the run.
    if (same) wanted = wanted.Union(entry.values.Wanted());
  } else if (entries_.size() >= kMaxCachedFiles) {
    entries_.clear();
  }
  ++reads_;
  Entry& entry = entries_[path];
  entry.size = size;
  entry.written = data.ftLastWriteTime;
  entry.values = ReadFileTags(path, wanted);
  return entry.values;
}

void RowTags::StartRow(const std::wstring& itemPath) {
  itemPath_ = itemPath;
  missing_.reset();
}

bool RowTags::Expand(const WrittenTag& written, std::wstring_view wholeText, std::wstring& out) {
  std::wstring value;
  if (!itemPath_.empty()) {
    const TagValues& values = cache_->ValuesFor(itemPath_, TagsInText(wholeText).Union(TagSet::Of(written.tag)));
    if (const std::wstring* raw = values.Find(written.tag)) value = TagValueForName(written.tag, *raw, written.digits);
  }
  if (value.empty()) {
    if (!written.hasFallback) {
      if (!missing_) missing_ = written.tag;
      return false;
    }
    value = written.fallback;
  }
  out += value;
  return true;
}

std::wstring MissingTagReason(Tag tag) { return kMissingTagText + std::wstring(DescriptorOf(tag).name); }

}  // namespace korval
