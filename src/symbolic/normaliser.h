// The rewrite engine: brings a tree to its normal form with the built-in steps and the rules.
#pragma once

#include <optional>

#include "builtin_steps.h"
#include "knoten.h"
#include "node_manager.h"
#include "rule_base.h"
#include "work_budget.h"

namespace symbolic {

class Normaliser {
public:
    // A request may do this much work (steps, match calls, comparisons, nodes built, digits of
    // arithmetic); a rule set that rewrites in a cycle, or a monstrous expression, ends with an
    // error instead of hanging.
    static constexpr long kWorkBudget = 30'000'000;
    // Rewriting a result's parts nests; a rule that grows its own redex (h(x) -> h(x)+1) or a
    // long recursion such as int(x^20000*cos(x),x) would otherwise exhaust the stack.
    static constexpr int kMaxRewriteDepth = 2000;

    Normaliser(NodeManager& manager, const RuleBase& rules)
        : manager_(manager),
          rules_(rules),
          budget_(kWorkBudget),
          builtins_(manager, budget_),
          nodesBuilt_(manager.NodesBuilt()) {}

    NodeRef Normalise(const NodeRef& node);

private:
    void Tick();
    std::optional<NodeRef> IfStep(const NodeRef& node);
    NodeRef NormaliseChildren(const NodeRef& node);
    NodeRef SingularChild(const NodeRef& node);
    NodeRef RewriteStep(const NodeRef& node);
    NodeRef SingleStep(const NodeRef& node);
    NodeRef ApplyRules(const NodeRef& node);
    NodeRef Reassociate(const NodeRef& node);
    NodeRef Insert(const NodeRef& product, const NodeRef& factor);
    bool Precedes(const Knoten* y, const Knoten* x);
    std::optional<NodeRef> Combine(const NodeRef& node);
    std::optional<NodeRef> TryCombine(const NodeRef& x, Kind op, const NodeRef& y);
    std::optional<NodeRef> TableCombine(const NodeRef& x, Kind op, const NodeRef& y);
    NodeRef Make(Kind kind, const NodeRef& left, const NodeRef& right) {
        return manager_.Binary(kind, left, right);
    }

    NodeManager& manager_;
    const RuleBase& rules_;
    WorkBudget budget_;  // before builtins_, which charges it
    BuiltinSteps builtins_;
    int depth_ = 0;
    size_t nodesBuilt_;  // the manager's count at the last tick
};

}  // namespace symbolic
