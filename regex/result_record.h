// The result records both libraries hand out: the public record of regex_api.h followed by the
// storage its result pointer points into.
#pragma once

#include <new>
#include <string>

namespace korval::regex {

template <typename Record, typename Char>
struct StoredRecord : Record {
  std::basic_string<Char> text;
};

// The record behind *handle, created when *handle is null, with its result cleared; null when no
// memory is left (then *handle is unchanged).
template <typename Record, typename Char>
StoredRecord<Record, Char>* AcquireRecord(Record** handle) noexcept {
  if (*handle == nullptr) {
    auto* created = new (std::nothrow) StoredRecord<Record, Char>();
    if (created == nullptr) return nullptr;
    *handle = created;
  }
  auto* record = static_cast<StoredRecord<Record, Char>*>(*handle);
  record->result = nullptr;
  record->resultEnd = nullptr;
  record->replaced = -1;
  record->reserved = 0;
  return record;
}

// Takes text as the record's result. The earlier result is released only now, after the new text
// was built, so a caller may pass the previous result back in as the text.
template <typename Record, typename Char>
void PublishResult(StoredRecord<Record, Char>* record, std::basic_string<Char>&& text, int count) noexcept {
  record->text = std::move(text);
  record->result = record->text.data();
  record->resultEnd = record->result + record->text.size();
  record->replaced = count;
}

template <typename Record, typename Char>
void ReleaseRecord(Record* record) noexcept {
  delete static_cast<StoredRecord<Record, Char>*>(record);
}

}  // namespace korval::regex
