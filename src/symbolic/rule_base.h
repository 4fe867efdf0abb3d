// The rewrite rules, in 128 buckets chosen by the kind or first letter of the pattern.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "knoten.h"
#include "node_manager.h"

namespace symbolic {

struct Rule {
    NodeRef pattern;
    NodeRef replacement;
    NodeRef condition;  // empty: no condition
    bool addedAtRunTime = false;
};

class RuleBase {
public:
    static constexpr int kBuckets = 128;

    // "+" 0, "-" 1, "*" 2, "/" 3, "^" 4, "," 5, names and numbers by their first character as
    // written, everything else 6.
    static int BucketOf(const Knoten* node);

    // Rule texts, one rule a line: "pattern -> replacement" or "... if condition"; blank lines
    // and lines starting with "//" are skipped. Rules are tried in the order written.
    void Load(NodeManager& manager, std::string_view texts);

    // Appends a rule at the end of its bucket; refused when the bucket already holds a rule for
    // a function of the same name.
    bool AddMacro(const NodeRef& pattern, const NodeRef& replacement);

    const std::vector<Rule>& Bucket(int index) const {
        return buckets_[static_cast<size_t>(index)];
    }
    size_t RuleCount() const;

private:
    std::array<std::vector<Rule>, kBuckets> buckets_;
};

}  // namespace symbolic
