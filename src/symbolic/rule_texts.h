// The built-in rule texts, compiled into the library from the files in rules/.
#pragma once

#include <string_view>
#include <vector>

namespace symbolic {

const std::vector<std::string_view>& RuleTexts();

}  // namespace symbolic
