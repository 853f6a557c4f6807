// The matcher looks behind by a fixed length only. A look-behind whose body has alternatives,
// optional parts or counted repeats of different lengths is spelled out as its fixed-length forms.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korval::regex {

// The fixed-length forms of a look-behind's body, longest first (Perl tries the longest first), each
// holding the body's capturing groups in their order; empty when the body repeats without bound or
// would have too many forms.
std::vector<std::u32string> FixedLengthForms(std::u32string_view body);

}  // namespace korval::regex
