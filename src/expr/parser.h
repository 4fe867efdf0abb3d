// TParser: compiles an infix expression once into a flat list of operations bound
// to variable cells, then evaluates it many times without any text work.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "parser_errors.h"

namespace expr {

using Real = long double;

enum class OperationKind : uint8_t {
    Variable,
    Constant,
    Negate,
    Add,
    Subtract,
    Multiply,
    Divide,
    IntegerRemainder,  // MOD
    IntegerQuotient,   // DIV
    IntegerPower,
    RealPower,
    Square,
    Cube,
    FourthPower,
    Function1,
    Function2,
};

struct ParserOperation;
class CompiledExpression;
// A registered function has exactly the shape of an operation routine: it reads
// op1 (and op2) and writes result.
using OperationRoutine = void (*)(ParserOperation& op);

struct ParserOperation {
    const Real* op1 = nullptr;
    const Real* op2 = nullptr;
    Real* result = nullptr;
    OperationRoutine routine = nullptr;
    OperationKind kind = OperationKind::Constant;
    // What the function was registered with (the lists, the host for messages).
    void* context = nullptr;
};

class TParser {
public:
    TParser();  // registers the built-in functions and the variables A B C D E X Y T
    ~TParser();
    TParser(const TParser&) = delete;
    TParser& operator=(const TParser&) = delete;

    // Compiles; on failure the operation list is empty, ParserError() is true and
    // the EMathParserError is rethrown unless OnParserError is set.
    void SetExpression(const std::string& text);
    const std::string& Expression() const { return expression_; }
    bool ParserError() const { return parserError_; }

    // Evaluates the compiled list; 0 when nothing is compiled. Throws EMathError.
    Real Value();

    // For callers that evaluate the same texts over and over (a program's lines):
    // compiles `text` without making it the Expression (errors as SetExpression,
    // without OnParserError). The result stays valid while Generation() is
    // unchanged; creating a variable or registering a function changes it.
    std::shared_ptr<CompiledExpression> Compile(const std::string& text);
    static Real Evaluate(CompiledExpression& compiled);
    uint64_t Generation() const { return generation_; }

    bool FixedNumberformat = true;
    std::function<void(TParser&, const EMathParserError&)> OnParserError;

    // Names are case-insensitive. The returned cell stays valid until
    // ReleaseVariables() or destruction; writing through it changes the variable.
    Real* AssignVariable(std::string_view name, Real value);
    Real ReadVariable(std::string_view name) const;
    bool HasVariable(std::string_view name) const;
    void ReleaseVariables();

    // `context` reaches the routine as ParserOperation::context.
    void RegisterFunction1(std::string_view name, OperationRoutine routine,
                           void* context = nullptr);
    void RegisterFunction2(std::string_view name, OperationRoutine routine,
                           void* context = nullptr);

    // Built-in variable slots, in the order A, B, C, D, E, X, Y, T.
    Real& X();
    Real& Y();
    Real& T();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string expression_;
    bool parserError_ = false;
    uint64_t generation_ = 0;
};

bool IsValidIdentifier(std::string_view name);

}  // namespace expr
