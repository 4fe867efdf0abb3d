// Counts the work of one request, so that no request can run for minutes.
#pragma once

#include "symbolic_error.h"

namespace symbolic {

class WorkBudget {
public:
    // A new node (hashing, the table, allocation and later freeing) takes several steps' time.
    static constexpr long kNewNodeUnits = 8;

    explicit WorkBudget(long limit) : limit_(limit) {}

    // One unit is a rewrite step, a pattern-match call or an order comparison; new nodes and
    // arithmetic on long numbers cost more.
    void Spend(long units = 1) {
        used_ += units;
        if (used_ > limit_) throw ESymbolicError("too many rewrite steps");
    }
    long used() const { return used_; }

private:
    long limit_;
    long used_ = 0;
};

}  // namespace symbolic
