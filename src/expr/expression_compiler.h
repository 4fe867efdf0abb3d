// Turns expression text into a CompiledExpression: the checks on the whole text,
// the term tree with its nesting and size limits, constant folding, and the
// operation list.
#pragma once

#include <string>
#include <string_view>

#include "compiled_expression.h"
#include "expression_classifier.h"

namespace expr {

// Everything the compiler needs to know about names; all names upper-case.
class SymbolTable : public NameScope {
public:
    virtual Real* VariableCell(std::string_view name) const = 0;
    virtual OperationRoutine Function1(std::string_view name) const = 0;
    virtual OperationRoutine Function2(std::string_view name) const = 0;
    // The context a function was registered with.
    virtual void* FunctionContext(std::string_view name, bool twoArguments) const = 0;
    // A pure routine with constant arguments may be computed at compile time.
    virtual bool IsPure(OperationRoutine routine) const = 0;

protected:
    ~SymbolTable() = default;
};

// The term tree may reach this many levels below the whole expression.
inline constexpr int kMaxNesting = 20;
// At most this many operator or function terms on one level of the tree.
inline constexpr int kMaxOperationsPerLevel = 50;

// Throws the EMathParserError descendants with their exact messages.
CompiledExpression CompileExpression(const std::string& text, const SymbolTable& symbols);

}  // namespace expr
