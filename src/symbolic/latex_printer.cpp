// LaTeX output: products as juxtaposed groups, quotients as \frac, \left( \right) brackets.
#include "latex_printer.h"

#include "plain_printer.h"
#include "stack_guard.h"

namespace symbolic {

namespace {

bool IsSum(const Knoten* node) {
    return node->kind() == Kind::Plus || node->kind() == Kind::Minus;
}

bool IsComparison(Kind kind) {
    return kind == Kind::Equal || kind == Kind::Greater || kind == Kind::Less;
}

bool IsArithmetic(const Knoten* node) {
    switch (node->kind()) {
        case Kind::Times:
        case Kind::Divide:
        case Kind::Plus:
        case Kind::Minus:
        case Kind::Power:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string LatexPrinter::Print(const Knoten* node) {
    std::string out;
    Print(node, false, out);
    return out;
}

void LatexPrinter::Print(const Knoten* node, bool parentheses, std::string& out) {
    StackGuard::Check();
    if (parentheses) out += "\\left({";
    switch (node->kind()) {
        case Kind::Function:
            out += node->text();
            if (node->right() != nullptr) Print(node->right(), true, out);
            break;
        case Kind::Variable:
        case Kind::Pi:
        case Kind::Integer:
        case Kind::Decimal:
            out += node->text();
            break;
        case Kind::List:
            out += "\\left[";
            if (node->right() != nullptr) Print(node->right(), false, out);
            out += "\\right]";
            break;
        case Kind::Times:
            out += '{';
            Print(node->left(), IsSum(node->left()), out);
            out += "}{";
            Print(node->right(), IsSum(node->right()), out);
            out += '}';
            break;
        case Kind::Divide:
            out += "\\frac{";
            Print(node->left(), false, out);
            out += "}{";
            Print(node->right(), false, out);
            out += '}';
            break;
        case Kind::Minus:
            if (!node->left()->IsInteger("0")) Print(node->left(), false, out);
            out += '-';
            Print(node->right(), IsSum(node->right()), out);
            break;
        default: {
            bool leftParentheses = false;
            bool rightParentheses = false;
            if (node->kind() == Kind::Power) {
                leftParentheses = IsArithmetic(node->left());
                rightParentheses = node->right()->kind() == Kind::Power;
            } else if (IsComparison(node->kind())) {
                leftParentheses = node->left()->IsOperator();
                rightParentheses = node->right()->IsOperator();
            }
            out += '{';
            Print(node->left(), leftParentheses, out);
            out += '}';
            out += PlainPrinter::Symbol(node->kind());
            out += '{';
            Print(node->right(), rightParentheses, out);
            out += '}';
            break;
        }
    }
    if (parentheses) out += "}\\right)";
}

}  // namespace symbolic
