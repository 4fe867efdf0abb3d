// Recursive-descent parser for requests (expression mode) and rule texts (rule mode).
#pragma once

#include <string_view>
#include <vector>

#include "knoten.h"
#include "node_manager.h"
#include "scanner.h"

namespace symbolic {

class Parsertyp {
public:
    // Rule mode also accepts "$" names and lists in square brackets.
    Parsertyp(NodeManager& manager, bool ruleMode) : manager_(manager), ruleMode_(ruleMode) {}

    // The tree of the whole text; throws ESymbolicError with the parser's message.
    NodeRef Parse(std::string_view text);

    // Expressions that "#n" refers to; requests parse with an empty table.
    std::vector<NodeRef> references;

private:
    NodeRef Expression();
    NodeRef ExpressionList();
    NodeRef Additive();
    NodeRef Multiplicative();
    NodeRef Unary();
    NodeRef Power();
    NodeRef Factor();
    NodeRef Primary();
    NodeRef Number();
    NodeRef Reference();
    NodeRef Named(const std::string& name);
    bool SignRunIsMinus();

    NodeManager& manager_;
    bool ruleMode_;
    Scanner* scanner_ = nullptr;
    int nesting_ = 0;
};

}  // namespace symbolic
