// Built-in steps on integers, comparisons, substitution and approximation.
#include "builtin_steps.h"

#include <cmath>

#include "decimal_arithmetic.h"
#include "numeric_evaluator.h"
#include "stack_guard.h"
#include "symbolic_error.h"

namespace symbolic {

namespace {

using Arith = DecimalArithmetic;

// Functions that substitution passes through; the others are left to the rules.
constexpr const char* kTransparentFunctions[] = {
    "SIN",  "COS",  "TAN",  "COT",    "ASIN",   "ACOS",   "ATAN",   "ACOT", "SINH",
    "COSH", "TANH", "COTH", "ARSINH", "ARCOSH", "ARTANH", "ARCOTH", "LN",   "EXP",
    "INT",  "ABS",  "SIGN", "SQRT",   "CEIL",   "FLOOR",  "APPROX",
};

bool IsTransparent(const std::string& name) {
    for (const char* candidate : kTransparentFunctions) {
        if (SameName(name, candidate)) return true;
    }
    return false;
}

bool IsInteger(const Knoten* node) {
    return node != nullptr && node->kind() == Kind::Integer;
}

// One budget unit is about the time of one rewrite step; these rates keep arithmetic on long
// numbers within that.
constexpr long kDigitsPerUnit = 8;          // additions, subtractions, comparisons
constexpr long kDigitPairsPerUnit = 500;    // products, quotients, powers, roots
constexpr long kGcdDigitPairsPerUnit = 16;  // Euclid divides once per few digits

long Length(const std::string& digits) {
    return static_cast<long>(digits.size());
}

}  // namespace

bool BuiltinSteps::ThreeArguments(const Knoten* node, Knoten*& a, Knoten*& b, Knoten*& c) {
    const Knoten* arguments = node->right();
    if (arguments == nullptr || arguments->kind() != Kind::Comma) return false;
    const Knoten* first = arguments->left();
    if (first->kind() != Kind::Comma || first->left()->kind() == Kind::Comma) return false;
    a = first->left();
    b = first->right();
    c = arguments->right();
    return true;
}

void BuiltinSteps::ChargeLinear(const std::string& a, const std::string& b) {
    budget_.Spend(1 + (Length(a) + Length(b)) / kDigitsPerUnit);
}

void BuiltinSteps::ChargeQuadratic(const std::string& a, const std::string& b) {
    budget_.Spend(1 + Length(a) * Length(b) / kDigitPairsPerUnit);
}

NodeRef BuiltinSteps::Apply(const NodeRef& node) {
    switch (node->kind()) {
        case Kind::Equal:
        case Kind::Greater:
        case Kind::Less:
            return Compare(node);
        case Kind::Plus:
        case Kind::Minus:
        case Kind::Times:
        case Kind::Divide:
        case Kind::Power:
            if (IsInteger(node->left()) && IsInteger(node->right())) return Arithmetic(node);
            return node;
        case Kind::Function: {
            if (SameName(node->text(), "SQRT") && IsInteger(node->right())) {
                const std::string& n = node->right()->text();
                ChargeQuadratic(n, n);
                if (auto root = Arith::SquareRoot(n)) return manager_.Number(*root);
                return node;
            }
            Knoten *e, *a, *b;
            if (SameName(node->text(), "SUBST") && ThreeArguments(node.get(), e, a, b))
                return Substitute(NodeRef(e), a, NodeRef(b));
            // An order of 1000 digits would otherwise count down one derivative at a time.
            if (SameName(node->text(), "DIFF") && ThreeArguments(node.get(), e, a, b) &&
                IsInteger(b) && Arith::Compare(b->text(), std::to_string(kMaxDerivativeOrder)) > 0)
                throw ESymbolicError("order of derivative too large");
            return node;
        }
        default:
            return node;
    }
}

NodeRef BuiltinSteps::Arithmetic(const NodeRef& node) {
    const std::string& a = node->left()->text();
    const std::string& b = node->right()->text();
    switch (node->kind()) {
        case Kind::Plus:
            ChargeLinear(a, b);
            return manager_.Number(Arith::Add(a, b));
        case Kind::Times:
            ChargeQuadratic(a, b);
            return manager_.Number(Arith::Multiply(a, b));
        case Kind::Power: {
            const std::string power = Arith::Power(a, b);
            ChargeQuadratic(power, power);
            return manager_.Number(power);
        }
        case Kind::Minus:
            ChargeLinear(a, b);
            if (a == "0") return node;  // the way -b is written
            if (b == "0") return node->leftRef();
            if (Arith::Compare(a, b) >= 0) return manager_.Number(Arith::Subtract(a, b));
            return manager_.Binary(Kind::Minus, manager_.Number("0"),
                                   manager_.Number(Arith::Subtract(b, a)));
        case Kind::Divide: {
            if (b == "0") return node;  // the rules decide about a division by zero
            if (a == "0") return node->leftRef();
            budget_.Spend(1 + Length(a) * Length(b) / kGcdDigitPairsPerUnit);
            const std::string divisor = Arith::Gcd(a, b);
            if (divisor == "1") return node;
            ChargeQuadratic(a, divisor);
            ChargeQuadratic(b, divisor);
            return manager_.Binary(Kind::Divide, manager_.Number(Arith::Divide(a, divisor).first),
                                   manager_.Number(Arith::Divide(b, divisor).first));
        }
        default:
            return node;
    }
}

NodeRef BuiltinSteps::Compare(const NodeRef& node) {
    int order = 0;
    if (IsInteger(node->left()) && IsInteger(node->right())) {
        ChargeLinear(node->left()->text(), node->right()->text());
        order = Arith::Compare(node->left()->text(), node->right()->text());
    } else {
        const auto a = NumericEvaluator::Evaluate(node->left());
        const auto b = NumericEvaluator::Evaluate(node->right());
        if (!a || !b) return node;
        order = *a < *b ? -1 : (*a > *b ? 1 : 0);
    }
    bool truth = false;
    switch (node->kind()) {
        case Kind::Equal:
            truth = order == 0;
            break;
        case Kind::Greater:
            truth = order > 0;
            break;
        default:
            truth = order < 0;
            break;
    }
    return manager_.Number(truth ? "1" : "0");
}

NodeRef BuiltinSteps::Substitute(const NodeRef& e, const Knoten* a, const NodeRef& b) {
    if (e.get() == a) return b;
    StackGuard::Check();
    if (e->IsLeaf()) return e;
    if (e->kind() == Kind::Function) {
        if (e->right() == nullptr || e->right()->kind() == Kind::Comma ||
            !IsTransparent(e->text())) {
            NodeRef arguments = manager_.Binary(
                Kind::Comma, manager_.Binary(Kind::Comma, e, NodeRef(const_cast<Knoten*>(a))), b);
            return manager_.Function("subst", arguments);
        }
        NodeRef argument = Substitute(e->rightRef(), a, b);
        if (argument == e->rightRef()) return e;
        return manager_.Function(e->text(), argument);
    }
    NodeRef left = e->left() ? Substitute(e->leftRef(), a, b) : NodeRef();
    NodeRef right = e->right() ? Substitute(e->rightRef(), a, b) : NodeRef();
    if (left == e->leftRef() && right == e->rightRef()) return e;
    return manager_.Make(e->kind(), e->text(), left, right);
}

NodeRef BuiltinSteps::NumberNode(double value) {
    if (value == 0) return manager_.Number("0");  // also -0
    // A negative value is written 0-|value|, as the parser would store it.
    if (value < 0) {
        return manager_.Binary(Kind::Minus, manager_.Number("0"), NumberNode(-value));
    }
    const std::string text = NumericEvaluator::Format(value);
    const bool digitsOnly = text.find_first_not_of("0123456789") == std::string::npos;
    return manager_.Leaf(digitsOnly ? Kind::Integer : Kind::Decimal, text);
}

NodeRef BuiltinSteps::Approximate(const NodeRef& x) {
    StackGuard::Check();
    if (const auto value = NumericEvaluator::Evaluate(x.get())) return NumberNode(*value);
    if (x->IsLeaf()) return x;
    NodeRef left = x->left() ? Approximate(x->leftRef()) : NodeRef();
    NodeRef right = x->right() ? Approximate(x->rightRef()) : NodeRef();
    if (left == x->leftRef() && right == x->rightRef()) return x;
    return manager_.Make(x->kind(), x->text(), left, right);
}

}  // namespace symbolic
