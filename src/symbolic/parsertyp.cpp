// The grammar of the symbolic language, loosest binding first.
#include "parsertyp.h"

#include "decimal_arithmetic.h"
#include "stack_guard.h"
#include "symbolic_error.h"

namespace symbolic {

namespace {

// Counts the active recursion of the parser; a deep text is refused before the stack runs out.
// Every cycle of the grammar passes through factor or through the exponent of power, so those
// two count.
class NestingGuard {
public:
    explicit NestingGuard(int& nesting) : nesting_(nesting) {
        if (++nesting_ > kMaxTreeDepth) throw ESymbolicError("expression nested too deeply");
        StackGuard::Check();
    }
    ~NestingGuard() { --nesting_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    int& nesting_;
};

std::string WithoutLeadingZeros(const std::string& digits) {
    const size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

}  // namespace

NodeRef Parsertyp::Parse(std::string_view text) {
    Scanner scanner(text);
    scanner_ = &scanner;
    nesting_ = 0;
    NodeRef root = Expression();
    if (scanner.token() != Token::End)
        throw ESymbolicError("end of expr. expected, but found more");
    scanner_ = nullptr;
    return root;
}

/// expression: additive (('=' | '>' | '<') additive)?
NodeRef Parsertyp::Expression() {
    NodeRef left = Additive();
    const Token t = scanner_->token();
    if (t == Token::Equal || t == Token::Greater || t == Token::Less) {
        scanner_->Next();
        NodeRef right = Additive();
        return manager_.Binary(static_cast<Kind>(t), left, right);
    }
    return left;
}

/// expression-list: expression (',' expression)*, nested to the left
NodeRef Parsertyp::ExpressionList() {
    NodeRef list = Expression();
    while (scanner_->token() == Token::Comma) {
        scanner_->Next();
        NodeRef next = Expression();
        list = manager_.Binary(Kind::Comma, list, next);
    }
    return list;
}

// A run of '+' and '-' tokens; every '-' flips the sign.
bool Parsertyp::SignRunIsMinus() {
    bool minus = false;
    while (scanner_->token() == Token::Plus || scanner_->token() == Token::Minus) {
        if (scanner_->token() == Token::Minus) minus = !minus;
        scanner_->Next();
    }
    return minus;
}

/// additive: multiplicative (sign-run multiplicative)*
NodeRef Parsertyp::Additive() {
    NodeRef sum = Multiplicative();
    while (scanner_->token() == Token::Plus || scanner_->token() == Token::Minus) {
        const Kind kind = SignRunIsMinus() ? Kind::Minus : Kind::Plus;
        NodeRef term = Multiplicative();
        sum = manager_.Binary(kind, sum, term);
    }
    return sum;
}

/// multiplicative: unary (('*' | '/') unary)*
NodeRef Parsertyp::Multiplicative() {
    NodeRef product = Unary();
    while (scanner_->token() == Token::Times || scanner_->token() == Token::Divide) {
        const Kind kind = static_cast<Kind>(scanner_->token());
        scanner_->Next();
        NodeRef factor = Unary();
        product = manager_.Binary(kind, product, factor);
    }
    return product;
}

/// unary: sign-run? power; a negative sign gives 0 - power
NodeRef Parsertyp::Unary() {
    const bool minus = SignRunIsMinus();
    NodeRef power = Power();
    if (!minus) return power;
    return manager_.Binary(Kind::Minus, manager_.Number("0"), power);
}

/// power: factor ('^' unary)?
NodeRef Parsertyp::Power() {
    NodeRef base = Factor();
    if (scanner_->token() != Token::Power) return base;
    scanner_->Next();
    NestingGuard guard(nesting_);
    NodeRef exponent = Unary();
    return manager_.Binary(Kind::Power, base, exponent);
}

/// factor: '(' additive ')' | '[' expression-list ']' (rule mode) | primary
NodeRef Parsertyp::Factor() {
    NestingGuard guard(nesting_);
    if (scanner_->token() == Token::Open) {
        scanner_->Next();
        NodeRef inner = Additive();
        if (scanner_->token() != Token::Close) throw ESymbolicError(") expected");
        scanner_->Next();
        return inner;
    }
    if (ruleMode_ && scanner_->token() == Token::OpenList) {
        scanner_->Next();
        NodeRef elements = ExpressionList();
        if (scanner_->token() != Token::CloseList) throw ESymbolicError("expect ]");
        scanner_->Next();
        return manager_.Make(Kind::List, {}, {}, elements);
    }
    return Primary();
}

/// primary: number | '$' identifier | identifier ('(' expression-list ')')? | '#' integer
NodeRef Parsertyp::Primary() {
    switch (scanner_->token()) {
        case Token::Integer:
            return Number();
        case Token::Hash:
            return Reference();
        case Token::Dollar: {
            if (!ruleMode_) break;
            scanner_->Next();
            if (scanner_->token() != Token::Identifier) throw ESymbolicError("need ident");
            const std::string name = "$" + scanner_->text();
            scanner_->Next();
            return Named(name);
        }
        case Token::Identifier: {
            const std::string name = scanner_->text();
            scanner_->Next();
            return Named(name);
        }
        default:
            break;
    }
    throw ESymbolicError("need identifier or number");
}

// An identifier already read: a function application, pi or a variable.
NodeRef Parsertyp::Named(const std::string& name) {
    if (scanner_->token() == Token::Open) {
        scanner_->Next();
        NodeRef arguments = ExpressionList();
        if (scanner_->token() != Token::Close) throw ESymbolicError(") expected");
        scanner_->Next();
        return manager_.Function(name, arguments);
    }
    if (SameName(name, "pi")) return manager_.Leaf(Kind::Pi, name);
    return manager_.Leaf(Kind::Variable, name);
}

// Digits, an optional fraction (2.25 is 225/100) and an implicit product (2x, 3(x+1)).
NodeRef Parsertyp::Number() {
    std::string digits = scanner_->text();
    scanner_->Next();
    NodeRef number;
    if (scanner_->token() == Token::Dot) {
        scanner_->Next();
        if (scanner_->token() != Token::Integer) throw ESymbolicError("number expected");
        const std::string fraction = scanner_->text();
        scanner_->Next();
        const std::string numerator = WithoutLeadingZeros(digits + fraction);
        const std::string denominator = "1" + std::string(fraction.size(), '0');
        if (numerator.size() > kMaxDigits || denominator.size() > kMaxDigits)
            throw ESymbolicError("number too large");
        number =
            manager_.Binary(Kind::Divide, manager_.Number(numerator), manager_.Number(denominator));
    } else {
        digits = WithoutLeadingZeros(digits);
        if (digits.size() > kMaxDigits) throw ESymbolicError("number too large");
        number = manager_.Number(digits);
    }
    if (scanner_->token() == Token::Identifier || scanner_->token() == Token::Open) {
        NodeRef factor = Power();
        return manager_.Binary(Kind::Times, number, factor);
    }
    return number;
}

// "#n": the n-th expression of the reference table.
NodeRef Parsertyp::Reference() {
    scanner_->Next();
    if (scanner_->token() != Token::Integer) throw ESymbolicError("need number after #");
    const std::string digits = WithoutLeadingZeros(scanner_->text());
    scanner_->Next();
    const size_t count = references.size();
    if (digits.size() > 9 || std::stoul(digits) > count)
        throw ESymbolicError("cannot refer to expression");
    const size_t n = std::stoul(digits);
    if (n == 0) throw ESymbolicError("cannot access 0th expression");
    return references[n - 1];
}

}  // namespace symbolic
