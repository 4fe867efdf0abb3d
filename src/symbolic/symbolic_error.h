// The failure of a symbolic request: carries the text the caller receives as its answer.
#pragma once

#include <stdexcept>
#include <string>

namespace symbolic {

class ESymbolicError : public std::runtime_error {
public:
    explicit ESymbolicError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace symbolic
