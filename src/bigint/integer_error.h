// EIntegerError: the faults of big-integer arithmetic, with the fixed texts the
// user sees. The runner shows them in a message box; bigint/ itself shows nothing.
#pragma once

#include <stdexcept>

namespace bigint {

enum class IntegerFault { Subtract, Difference, Division };

// The one table of texts for IntegerFault.
inline const char* IntegerFaultText(IntegerFault fault) {
    switch (fault) {
        case IntegerFault::Subtract:
            return "Subtract error";
        case IntegerFault::Difference:
            return "Difference Overflow";
        case IntegerFault::Division:
            return "Division Overflow";
    }
    return "";
}

class EIntegerError : public std::runtime_error {
public:
    explicit EIntegerError(IntegerFault fault)
        : std::runtime_error(IntegerFaultText(fault)), fault_(fault) {}
    IntegerFault Fault() const { return fault_; }

private:
    IntegerFault fault_;
};

}  // namespace bigint
