// The process-wide interpreter: the node store, the rule base and the steps of one request.
#pragma once

#include <string>

#include "node_manager.h"
#include "rule_base.h"

namespace symbolic {

// Calls must come from one thread at a time.
class s_interpreter {
public:
    struct Answer {
        std::string text;
        bool success = false;
    };

    s_interpreter();
    // Parse, rewrite to normal form and print; failures come back as error texts.
    Answer Calculate(const std::string& request);

    const RuleBase& rules() const { return rules_; }
    NodeManager& manager() { return manager_; }

private:
    Answer AddMacro(const std::string& request);

    // Declared first, destroyed last: the rules' trees live in it.
    NodeManager manager_;
    RuleBase rules_;
};

}  // namespace symbolic
