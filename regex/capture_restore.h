// Two corrections of the matcher for our character type. Perl gives back what a capture held when
// the match backtracks over a look-around or an atomic group that set it (and never keeps a capture
// of a negative look-ahead); the matcher forgets those values once the inner match is done, so
// "(?>(a))b|(a)c" on "ac" would keep $1. Before such an inner match starts, every capture's value is
// saved on the matcher's backtracking stack, from where a later backtrack over it restores it.
#pragma once

#include <memory>

#include <boost/regex.hpp>

#include "regex/code_point_traits.h"
#include "regex/match_budget.h"

namespace boost {
namespace BOOST_REGEX_DETAIL_NS {

// A look-ahead or look-behind: the captures first, then the assertion itself (as the matcher does).
template <>
inline void perl_matcher<korval::regex::BudgetIterator, std::allocator<sub_match<korval::regex::BudgetIterator>>,
                         korval::regex::CodePointTraits>::push_assertion(const re_syntax_base* ps, bool positive) {
  for (size_t i = 1; i < m_presult->size(); ++i) push_matched_paren(static_cast<int>(i), (*m_presult)[i]);
  auto* pmp = static_cast<saved_assertion<korval::regex::BudgetIterator>*>(m_backup_state);
  --pmp;
  if (pmp < m_stack_base) {
    extend_stack();
    pmp = static_cast<saved_assertion<korval::regex::BudgetIterator>*>(m_backup_state);
    --pmp;
  }
  (void)new (pmp) saved_assertion<korval::regex::BudgetIterator>(positive, ps, position);
  m_backup_state = pmp;
}

// An inner match (an atomic group, a possessive repeat, a condition's look-around): the captures
// first, below the stopper that ends its unwinding. The outermost match has nothing to give back.
template <>
inline void perl_matcher<korval::regex::BudgetIterator, std::allocator<sub_match<korval::regex::BudgetIterator>>,
                         korval::regex::CodePointTraits>::push_recursion_stopper() {
  if (m_recursions > 1) {
    for (size_t i = 1; i < m_presult->size(); ++i) push_matched_paren(static_cast<int>(i), (*m_presult)[i]);
  }
  saved_state* pmp = m_backup_state;
  --pmp;
  if (pmp < m_stack_base) {
    extend_stack();
    pmp = m_backup_state;
    --pmp;
  }
  (void)new (pmp) saved_state(saved_type_recurse);
  m_backup_state = pmp;
}

// (*THEN) met while a look-around or an atomic group that succeeded is unwound (a match was found):
// nothing to skip, the state is only dropped. The matcher treated it as a failure behind the verb and
// so failed the look-around that held it: "(?=a(*THEN)b)..x" found nothing in "abxy".
template <>
inline bool perl_matcher<korval::regex::BudgetIterator, std::allocator<sub_match<korval::regex::BudgetIterator>>,
                         korval::regex::CodePointTraits>::unwind_then(bool matched) {
  boost::BOOST_REGEX_DETAIL_NS::inplace_destroy(m_backup_state++);
  if (matched) return true;
  // Backtracked into: every state back to the alternative, and that alternative too, fail.
  bool more = unwind(false);
  while (more && !m_unwound_alt) more = unwind(false);
  if (more && m_unwound_alt) unwind(false);
  return false;
}

}  // namespace BOOST_REGEX_DETAIL_NS
}  // namespace boost
