// The rewrite steps built into the engine: exact integer arithmetic, comparisons, SQRT of
// perfect squares, SUBST and APPROX.
#pragma once

#include "knoten.h"
#include "node_manager.h"
#include "work_budget.h"

namespace symbolic {

class BuiltinSteps {
public:
    // diff(u,x,n) takes n steps, each with arithmetic on n; larger orders are refused.
    static constexpr int kMaxDerivativeOrder = 10000;

    // Big-number arithmetic is charged to the budget by the digits it works on.
    BuiltinSteps(NodeManager& manager, WorkBudget& budget) : manager_(manager), budget_(budget) {}

    // The node after one built-in step, or the node itself when none applies.
    NodeRef Apply(const NodeRef& node);
    // e with every occurrence of a replaced by b; applications the substitution may not enter
    // become subst(e,a,b) for the rules.
    NodeRef Substitute(const NodeRef& e, const Knoten* a, const NodeRef& b);
    // The value of x as a number node, or x with its evaluable parts replaced by numbers.
    NodeRef Approximate(const NodeRef& x);

    // The three arguments of f(a,b,c), or false.
    static bool ThreeArguments(const Knoten* node, Knoten*& a, Knoten*& b, Knoten*& c);

private:
    NodeRef Arithmetic(const NodeRef& node);
    NodeRef Compare(const NodeRef& node);
    NodeRef NumberNode(double value);
    void ChargeLinear(const std::string& a, const std::string& b);
    void ChargeQuadratic(const std::string& a, const std::string& b);

    NodeManager& manager_;
    WorkBudget& budget_;
};

}  // namespace symbolic
