// The budget's slow path: a slice used up.
#include "regex/match_budget.h"

namespace korval::regex {

void MatchBudget::Refill() {
  reads_ += kSlice;
  left_ = kSlice;
  if (reads_ >= maxReads_ || std::chrono::steady_clock::now() >= deadline_) throw MatchBudgetSpent{};
}

}  // namespace korval::regex
