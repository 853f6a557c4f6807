// Between UTF-16 units and code points.
#include "regex/code_point_text.h"

#include <new>
#include <stdexcept>

namespace korval::regex {
namespace {

// The code point at units[i], and how many units it takes.
char32_t Decode(std::wstring_view units, size_t i, size_t& length) {
  const uint32_t u = units[i];
  if (IsHighSurrogate(u) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
    length = 2;
    return static_cast<char32_t>(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
  }
  length = 1;
  return static_cast<char32_t>(u);
}

}  // namespace

std::u32string ToCodePoints(std::wstring_view text) {
  std::u32string codes;
  codes.reserve(text.size());
  for (size_t i = 0, length = 0; i < text.size(); i += length) codes.push_back(Decode(text, i, length));
  return codes;
}

void AppendUtf16(char32_t c, std::wstring& out) {
  if (c < 0x10000) {
    out += static_cast<wchar_t>(c);
    return;
  }
  const uint32_t v = static_cast<uint32_t>(c) - 0x10000;
  out += static_cast<wchar_t>(0xD800 + (v >> 10));
  out += static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
}

CodePointText::~CodePointText() {
  if (block_ != nullptr) ::operator delete(block_, std::align_val_t(kCodeBlockBytes));
}

void CodePointText::Assign(std::wstring_view units) {
  if (units.size() > kCodeBlockCapacity) throw std::length_error("text too long");
  if (block_ == nullptr) {
    block_ = ::operator new(kCodeBlockBytes, std::align_val_t(kCodeBlockBytes));
    Header()->budget = nullptr;
    codes_ = reinterpret_cast<char32_t*>(static_cast<char*>(block_) + kCodeBlockHeaderBytes);
  }
  units_ = units;
  offsets_.clear();
  char32_t* out = codes_;
  size_t i = 0;
  // Most names hold no pair: each unit is its code point.
  for (; i < units.size() && !IsHighSurrogate(units[i]); ++i) out[i] = static_cast<char32_t>(units[i]);
  count_ = i;
  if (i == units.size()) return;
  offsets_.resize(units.size() + 1);
  for (size_t k = 0; k < i; ++k) offsets_[k] = static_cast<uint32_t>(k);
  for (size_t length = 0; i < units.size(); i += length, ++count_) {
    offsets_[count_] = static_cast<uint32_t>(i);
    out[count_] = Decode(units, i, length);
  }
  offsets_[count_] = static_cast<uint32_t>(units.size());
  offsets_.resize(count_ + 1);
}

}  // namespace korval::regex
