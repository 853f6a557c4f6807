// The result records both libraries hand out: the public record of regex_api.h followed by the
// storage its result pointer points into.
#pragma once

#include <new>
#include <string>

#include "regex/substitute.h"

namespace korval::regex {

// Besides the result, what the calls with one handle reuse: the substitution's workspace and the
// UTF-16 result it is built in, so a caller that keeps its handle allocates nothing per call.
template <typename Record, typename Char>
struct StoredRecord : Record {
  std::basic_string<Char> text;
  std::wstring wideResult;
  Workspace workspace;
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

// Points the record at its text, which now holds the new result. The caller builds that text apart
// from the old one, so a caller may pass the previous result back in as the text.
template <typename Record, typename Char>
void PublishResult(StoredRecord<Record, Char>* record, int count) noexcept {
  record->result = record->text.data();
  record->resultEnd = record->result + record->text.size();
  record->replaced = count;
}

template <typename Record, typename Char>
void ReleaseRecord(Record* record) noexcept {
  delete static_cast<StoredRecord<Record, Char>*>(record);
}

}  // namespace korval::regex
