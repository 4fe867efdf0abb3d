// The error of the list analyses (statistics, regression, list text): the message
// says in Dutch what is wrong with the data.
#pragma once

#include <stdexcept>

namespace expr {

class EAnalysisError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace expr
