// The pattern type both libraries compile to: Perl syntax over whole characters (code points), with
// the Unicode classes and case folds of CodePointTraits. The matcher reads the text through
// BudgetIterator, so every match stops within a fixed budget; it keeps its state on the heap, not on
// the stack, so a long text or a deep pattern needs no large stack.
#pragma once

#include <boost/regex.hpp>

#include "regex/capture_restore.h"
#include "regex/code_point_traits.h"
#include "regex/match_budget.h"

namespace korval::regex {

using Traits = CodePointTraits;
using Regex = boost::basic_regex<char32_t, Traits>;
using Match = boost::match_results<BudgetIterator>;

}  // namespace korval::regex
