// The budget's slow path: a slice used up.
#include "regex/match_budget.h"

namespace korval::regex {

void MatchBudget::Refill() {
  reads_ += kSlice;
  left_ = kSlice;
  if (reads_ >= maxReads_) throw MatchBudgetSpent{};
  const auto now = std::chrono::steady_clock::now();
  if (!clockStarted_) {
    StartClock(now);
  } else if (now >= deadline_) {
    throw MatchBudgetSpent{};
  }
}

}  // namespace korval::regex
