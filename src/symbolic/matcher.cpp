// Pattern matching with the condition language of the rule texts.
#include "matcher.h"

#include "stack_guard.h"

namespace symbolic {

namespace {

bool IsConstant(const Knoten* node) {
    StackGuard::Check();
    switch (node->kind()) {
        case Kind::Integer:
        case Kind::Decimal:
        case Kind::Pi:
            return true;
        case Kind::Plus:
        case Kind::Minus:
        case Kind::Times:
        case Kind::Divide:
        case Kind::Power:
            return IsConstant(node->left()) && IsConstant(node->right());
        default:
            return false;
    }
}

}  // namespace

bool Matcher::Occurs(const Knoten* needle, const Knoten* haystack) const {
    budget_.Spend();
    StackGuard::Check();
    if (haystack == nullptr) return false;
    if (haystack == needle) return true;
    if (haystack->depth() <= needle->depth()) return false;
    return Occurs(needle, haystack->left()) || Occurs(needle, haystack->right());
}

bool Matcher::Bind(const Knoten* pattern, Knoten* subject) {
    if (Knoten* bound = ValueOf(pattern)) {
        if (bound != subject) return false;
    } else {
        if (bindings_.size() >= kMaxBindings) return false;
        bindings_.emplace_back(pattern, subject);
    }
    return condition_ == nullptr || Holds(condition_) != Truth::No;
}

bool Matcher::MatchInOrder(const Knoten* p1, Knoten* s1, const Knoten* p2, Knoten* s2) {
    const size_t mark = bindings_.size();
    if (Match(p1, s1) && Match(p2, s2)) return true;
    bindings_.resize(mark);
    return false;
}

bool Matcher::Match(const Knoten* pattern, Knoten* subject) {
    budget_.Spend();
    StackGuard::Check();
    if (pattern == nullptr || subject == nullptr) return pattern == subject;
    switch (pattern->kind()) {
        case Kind::Function:
            if (subject->kind() != Kind::Function) return false;
            if (pattern->text().starts_with("$")) {
                if (!Bind(pattern, subject)) return false;
            } else if (!SameName(pattern->text(), subject->text())) {
                return false;
            }
            return Match(pattern->right(), subject->right());
        case Kind::Variable:
            return subject->kind() != Kind::Comma && Bind(pattern, subject);
        case Kind::Pi:
        case Kind::Integer:
        case Kind::Decimal:
            return pattern == subject;
        case Kind::Times:
        case Kind::Plus:
            if (subject->kind() != pattern->kind()) return false;
            return MatchInOrder(pattern->right(), subject->left(), pattern->left(),
                                subject->right()) ||
                   MatchInOrder(pattern->left(), subject->right(), pattern->right(),
                                subject->left()) ||
                   MatchInOrder(pattern->right(), subject->right(), pattern->left(),
                                subject->left()) ||
                   MatchInOrder(pattern->left(), subject->left(), pattern->right(),
                                subject->right());
        default:
            if (subject->kind() != pattern->kind()) return false;
            return MatchInOrder(pattern->left(), subject->left(), pattern->right(),
                                subject->right()) ||
                   MatchInOrder(pattern->right(), subject->right(), pattern->left(),
                                subject->left());
    }
}

Knoten* Matcher::ValueOf(const Knoten* patternNode) const {
    for (const auto& [pattern, value] : bindings_) {
        if (pattern == patternNode) return value;
    }
    return nullptr;
}

Knoten* Matcher::FunctionBoundTo(const std::string& name) const {
    for (const auto& [pattern, value] : bindings_) {
        if (pattern->kind() == Kind::Function && SameName(pattern->text(), name)) return value;
    }
    return nullptr;
}

bool Matcher::AllValuesDistinct() const {
    for (size_t i = 0; i < bindings_.size(); ++i) {
        for (size_t j = i + 1; j < bindings_.size(); ++j) {
            if (bindings_[i].second == bindings_[j].second) return false;
        }
    }
    return true;
}

// c1+c2: both; c1/c2: either; n...(c): not c; $f([a,b]): the bound name is a or b;
// test(v): by the first letter of the test's name. A test of an unbound variable is open, and
// stays open under "not", so that a negated test does not refuse a binding still to come.
Matcher::Truth Matcher::Holds(const Knoten* condition) const {
    StackGuard::Check();
    switch (condition->kind()) {
        case Kind::Plus: {
            const Truth a = Holds(condition->left());
            const Truth b = Holds(condition->right());
            if (a == Truth::No || b == Truth::No) return Truth::No;
            return a == Truth::Yes && b == Truth::Yes ? Truth::Yes : Truth::Open;
        }
        case Kind::Divide: {
            const Truth a = Holds(condition->left());
            const Truth b = Holds(condition->right());
            if (a == Truth::Yes || b == Truth::Yes) return Truth::Yes;
            return a == Truth::No && b == Truth::No ? Truth::No : Truth::Open;
        }
        case Kind::Function:
            break;
        default:
            return Truth::Yes;
    }
    const std::string& name = condition->text();
    const Knoten* argument = condition->right();
    if (name.empty() || argument == nullptr) return Truth::Yes;
    if (name[0] == 'n' || name[0] == 'N') {
        const Truth inner = Holds(argument);
        if (inner == Truth::Open) return Truth::Open;
        return inner == Truth::Yes ? Truth::No : Truth::Yes;
    }
    if (name[0] == '$') {
        const Knoten* bound = FunctionBoundTo(name);
        if (bound == nullptr) return Truth::Open;
        const Knoten* list = argument->kind() == Kind::List ? argument->right() : argument;
        for (const Knoten* item = list; item != nullptr;) {
            const Knoten* candidate = item->kind() == Kind::Comma ? item->right() : item;
            if (candidate->kind() == Kind::Variable && SameName(candidate->text(), bound->text()))
                return Truth::Yes;
            item = item->kind() == Kind::Comma ? item->left() : nullptr;
        }
        return Truth::No;
    }
    if (argument->kind() != Kind::Variable) return Truth::Yes;
    if (ValueOf(argument) == nullptr) return Truth::Open;
    return Test(name[0], argument) ? Truth::Yes : Truth::No;
}

bool Matcher::Test(char letter, const Knoten* variable) const {
    const Knoten* value = ValueOf(variable);
    if (value == nullptr) return true;
    switch (letter) {
        case 'a':
            return value->kind() == Kind::Variable || value->kind() == Kind::Integer ||
                   value->kind() == Kind::Decimal;
        case 'c':
            return IsConstant(value);
        case 'h': {
            if (IsConstant(value)) return true;
            if (!AllValuesDistinct()) return false;
            if (value->kind() == Kind::Variable) return true;
            for (const auto& [pattern, other] : bindings_) {
                if (other != value && Occurs(other, value)) return false;
            }
            return true;
        }
        case 'k':
            return value->kind() == Kind::Comma;
        case 'p':
            return value->kind() == Kind::Power;
        case 'u':
            return !value->IsInteger("0");
        case 'v':
            return value->kind() == Kind::Variable;
        case 'z':
            return value->kind() == Kind::Integer;
        default:
            return true;
    }
}

NodeRef Matcher::Substitute(const Knoten* replacement) {
    if (replacement == nullptr) return {};
    StackGuard::Check();
    switch (replacement->kind()) {
        case Kind::Variable:
            if (Knoten* value = ValueOf(replacement)) return NodeRef(value);
            [[fallthrough]];
        case Kind::Pi:
        case Kind::Integer:
        case Kind::Decimal:
            return manager_.Leaf(replacement->kind(), replacement->text());
        case Kind::Function: {
            std::string name = replacement->text();
            if (name.starts_with("$")) {
                if (const Knoten* bound = FunctionBoundTo(name)) name = bound->text();
            }
            return manager_.Function(name, Substitute(replacement->right()));
        }
        default:
            return manager_.Make(replacement->kind(), replacement->text(),
                                 Substitute(replacement->left()), Substitute(replacement->right()));
    }
}

}  // namespace symbolic
