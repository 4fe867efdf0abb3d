// Plain text with the fewest parentheses the host's parser needs.
#include "plain_printer.h"

#include "stack_guard.h"

namespace symbolic {

namespace {

constexpr Kind kNoParent = Kind(0);

bool IsProduct(Kind kind) {
    return kind == Kind::Times || kind == Kind::Divide;
}
bool IsSum(Kind kind) {
    return kind == Kind::Plus || kind == Kind::Minus;
}

bool NeedsParentheses(const Knoten* node, Kind parent, bool isRight) {
    const Kind kind = node->kind();
    if (kind == Kind::Function || kind == Kind::Variable || kind == Kind::Integer ||
        kind == Kind::Pi)
        return false;
    if (IsProduct(kind)) return parent == Kind::Divide || parent == Kind::Power;
    if (IsSum(kind))
        return IsProduct(parent) || (parent == Kind::Minus && isRight) || parent == Kind::Power;
    return parent == Kind::Power;
}

}  // namespace

const char* PlainPrinter::Symbol(Kind kind) {
    switch (kind) {
        case Kind::Times:
            return "*";
        case Kind::Divide:
            return "/";
        case Kind::Plus:
            return "+";
        case Kind::Minus:
            return "-";
        case Kind::Power:
            return "^";
        case Kind::Comma:
            return ",";
        case Kind::Equal:
            return "=";
        case Kind::Greater:
            return ">";
        case Kind::Less:
            return "<";
        default:
            return "?";
    }
}

std::string PlainPrinter::Print(const Knoten* node) {
    std::string out;
    Print(node, kNoParent, false, out);
    return out;
}

void PlainPrinter::Print(const Knoten* node, Kind parent, bool isRight, std::string& out) {
    StackGuard::Check();
    switch (node->kind()) {
        case Kind::Function:
            out += node->text();
            out += '(';
            if (node->right() != nullptr) Print(node->right(), kNoParent, false, out);
            out += ')';
            return;
        case Kind::Variable:
        case Kind::Pi:
            out += node->text();
            return;
        case Kind::Integer:
            // 0-x is how -x is stored; the zero is not written. It stays when it is the right
            // operand, where leaving it out would change the meaning.
            if (!(node->IsInteger("0") && IsSum(parent) && !isRight)) out += node->text();
            return;
        case Kind::List:
            out += '[';
            if (node->right() != nullptr) Print(node->right(), kNoParent, false, out);
            out += ']';
            return;
        default:
            break;
    }
    const bool parentheses = NeedsParentheses(node, parent, isRight);
    if (parentheses) out += '(';
    if (node->kind() == Kind::Decimal) {
        out += node->text();
    } else {
        Print(node->left(), node->kind(), false, out);
        out += Symbol(node->kind());
        Print(node->right(), node->kind(), true, out);
    }
    if (parentheses) out += ')';
}

}  // namespace symbolic
