// The fixed amount of work one substitution may spend matching, whatever the pattern: a count of
// characters read and a time limit. The matcher reads the text through BudgetIterator, which charges
// every read; once the budget is spent the read throws MatchBudgetSpent and the matcher unwinds.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iterator>

namespace korval::regex {

struct MatchBudgetSpent {};

class MatchBudget {
 public:
  MatchBudget(uint64_t maxReads, std::chrono::milliseconds timeLimit) : maxReads_(maxReads), timeLimit_(timeLimit) {}
  // The time runs from start. Until this is called it runs from the first slice's end: the clock is
  // only ever looked at there, and one slice of reads takes well under a millisecond.
  void StartClock(std::chrono::steady_clock::time_point start) {
    deadline_ = start + timeLimit_;
    clockStarted_ = true;
  }
  // Called on every read; the counter runs down in slices so the clock is read rarely.
  void Charge() {
    if (--left_ <= 0) Refill();
  }
  uint64_t Reads() const { return reads_ + static_cast<uint64_t>(kSlice - left_); }

 private:
  static constexpr int kSlice = 1 << 14;
  void Refill();

  int left_ = kSlice;
  uint64_t reads_ = 0;
  uint64_t maxReads_;
  std::chrono::milliseconds timeLimit_;
  bool clockStarted_ = false;
  std::chrono::steady_clock::time_point deadline_;
};

// The code points a match reads lie in a block aligned to its own size, whose first bytes point to
// the budget of the call. So an iterator finds its budget from its own position and is one pointer
// wide: the matcher copies and passes iterators all the time, and this system's calling convention
// sends anything wider than a pointer through memory.
inline constexpr size_t kCodeBlockBytes = size_t(1) << 16;
inline constexpr size_t kCodeBlockHeaderBytes = 64;  // the code points start on a cache line of their own
// Code points a block holds; the position behind the last one stays inside the block as well.
inline constexpr size_t kCodeBlockCapacity = (kCodeBlockBytes - kCodeBlockHeaderBytes) / sizeof(char32_t) - 1;

struct CodeBlockHeader {
  MatchBudget* budget;
};

inline MatchBudget& BudgetOf(const char32_t* p) {
  const uintptr_t block = reinterpret_cast<uintptr_t>(p) & ~static_cast<uintptr_t>(kCodeBlockBytes - 1);
  return *reinterpret_cast<const CodeBlockHeader*>(block)->budget;
}

// A pointer into the code points of a block that charges the block's budget on every read.
class BudgetIterator {
 public:
  using iterator_category = std::random_access_iterator_tag;
  using value_type = char32_t;
  using difference_type = std::ptrdiff_t;
  using pointer = const char32_t*;
  using reference = const char32_t&;

  BudgetIterator() = default;
  explicit BudgetIterator(const char32_t* p) : p_(p) {}

  reference operator*() const {
    BudgetOf(p_).Charge();
    return *p_;
  }
  reference operator[](difference_type n) const {
    BudgetOf(p_).Charge();
    return p_[n];
  }
  BudgetIterator& operator++() { ++p_; return *this; }
  BudgetIterator operator++(int) { BudgetIterator old = *this; ++p_; return old; }
  BudgetIterator& operator--() { --p_; return *this; }
  BudgetIterator operator--(int) { BudgetIterator old = *this; --p_; return old; }
  BudgetIterator& operator+=(difference_type n) { p_ += n; return *this; }
  BudgetIterator& operator-=(difference_type n) { p_ -= n; return *this; }
  friend BudgetIterator operator+(BudgetIterator i, difference_type n) { return i += n; }
  friend BudgetIterator operator+(difference_type n, BudgetIterator i) { return i += n; }
  friend BudgetIterator operator-(BudgetIterator i, difference_type n) { return i -= n; }
  friend difference_type operator-(const BudgetIterator& a, const BudgetIterator& b) { return a.p_ - b.p_; }
  friend bool operator==(const BudgetIterator& a, const BudgetIterator& b) { return a.p_ == b.p_; }
  friend bool operator!=(const BudgetIterator& a, const BudgetIterator& b) { return a.p_ != b.p_; }
  friend bool operator<(const BudgetIterator& a, const BudgetIterator& b) { return a.p_ < b.p_; }
  friend bool operator>(const BudgetIterator& a, const BudgetIterator& b) { return a.p_ > b.p_; }
  friend bool operator<=(const BudgetIterator& a, const BudgetIterator& b) { return a.p_ <= b.p_; }
  friend bool operator>=(const BudgetIterator& a, const BudgetIterator& b) { return a.p_ >= b.p_; }

  const char32_t* Get() const { return p_; }

 private:
  const char32_t* p_ = nullptr;
};

}  // namespace korval::regex
