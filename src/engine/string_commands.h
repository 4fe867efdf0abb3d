// String commands ($ variables) and the string predicates.
#pragma once

#include <string>

namespace engine {

class Runner;

// "$gelijk$(a,b)" / "?gelijk$(a,b)": "1" when a and b are equal without regard to case.
std::string EqualTextPredicate(Runner& runner, const std::string& predicate);
// "$equivalent$(a,b,naam,links,rechts)": "1" when the expressions a and b agree
// numerically on [links, rechts] in the variable naam.
std::string EquivalentPredicate(Runner& runner, const std::string& predicate);

}  // namespace engine
