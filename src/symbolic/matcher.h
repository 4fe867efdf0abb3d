// Matches one rule pattern against a subject and puts the bindings into the replacement.
#pragma once

#include <utility>
#include <vector>

#include "knoten.h"
#include "node_manager.h"
#include "work_budget.h"

namespace symbolic {

class Matcher {
public:
    // A pattern needs at most this many pattern variables and function-name variables.
    static constexpr size_t kMaxBindings = 40;

    Matcher(NodeManager& manager, const Knoten* condition, WorkBudget& budget)
        : manager_(manager), condition_(condition), budget_(budget) {}

    // Every variable of the pattern is a pattern variable; "+" and "*" match either way round.
    bool Match(const Knoten* pattern, Knoten* subject);
    // The replacement with every bound pattern variable replaced by its value.
    NodeRef Substitute(const Knoten* replacement);

private:
    bool Bind(const Knoten* pattern, Knoten* subject);
    bool MatchInOrder(const Knoten* p1, Knoten* s1, const Knoten* p2, Knoten* s2);
    Knoten* ValueOf(const Knoten* patternNode) const;
    Knoten* FunctionBoundTo(const std::string& name) const;
    enum class Truth { No, Yes, Open };
    Truth Holds(const Knoten* condition) const;
    bool Test(char letter, const Knoten* variable) const;
    bool AllValuesDistinct() const;
    bool Occurs(const Knoten* needle, const Knoten* haystack) const;

    NodeManager& manager_;
    const Knoten* condition_;
    WorkBudget& budget_;
    std::vector<std::pair<const Knoten*, Knoten*>> bindings_;
};

}  // namespace symbolic
