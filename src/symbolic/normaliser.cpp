// The normal-form driver, re-association of sums and products, and the pairwise combining of
// a new member with the members of a chain.
#include "normaliser.h"

#include <vector>

#include "matcher.h"
#include "stack_guard.h"
#include "symbolic_error.h"

namespace symbolic {

namespace {

bool IsProductKind(Kind kind) {
    return kind == Kind::Times || kind == Kind::Divide;
}
bool IsSumKind(Kind kind) {
    return kind == Kind::Plus || kind == Kind::Minus;
}
bool SameFamily(Kind a, Kind b) {
    return (IsProductKind(a) && IsProductKind(b)) || (IsSumKind(a) && IsSumKind(b));
}

constexpr const char* kSingularity = "__singularity__";

// Counts the nesting of Normalise for the length of one call.
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : depth_(depth) {
        if (depth_ >= Normaliser::kMaxRewriteDepth) throw ESymbolicError("too many rewrite steps");
        StackGuard::Check();
        ++depth_;
    }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& depth_;
};

bool IsApplicationOf(const Knoten* node, const char* name) {
    return node->kind() == Kind::Function && SameName(node->text(), name);
}

}  // namespace

// Nodes built since the last tick are charged with it.
void Normaliser::Tick() {
    const size_t built = manager_.NodesBuilt();
    budget_.Spend(1 + static_cast<long>(built - nodesBuilt_) * WorkBudget::kNewNodeUnits);
    nodesBuilt_ = built;
}

NodeRef Normaliser::Normalise(const NodeRef& start) {
    if (start->IsLeaf() || start->isNormal) return start;
    if (start->normalForm) return start->normalForm;
    DepthGuard guard(depth_);
    NodeRef current = start;
    while (true) {
        Tick();
        if (current->IsLeaf() || current->isNormal) break;
        if (current->normalForm) {
            current = current->normalForm;
            break;
        }
        if (auto chosen = IfStep(current)) {
            current = *chosen;
            continue;
        }
        NodeRef next = NormaliseChildren(current);
        if (next == current) next = SingularChild(current);
        if (next == current && current->kind() != Kind::Comma) next = RewriteStep(current);
        if (next != current) {
            current = next;
            continue;
        }
        if (IsApplicationOf(current.get(), "APPROX") && current->right() != nullptr &&
            current->right()->kind() != Kind::Comma) {
            const NodeRef& x = current->rightRef();
            NodeRef approximation = builtins_.Approximate(x);
            current = approximation == x ? x : approximation;
            if (approximation != x) continue;
        }
        break;
    }
    current->isNormal = true;
    if (current != start) start->normalForm = current;
    return current;
}

// A singular operand makes the whole expression singular; otherwise a later step could cancel
// it (S/S -> 1) and answer a value where there is none.
NodeRef Normaliser::SingularChild(const NodeRef& node) {
    for (const NodeRef* child : {&node->leftRef(), &node->rightRef()}) {
        if (*child && IsApplicationOf(child->get(), kSingularity)) return *child;
    }
    return node;
}

// IF(c,a,b): a when c comes out 1, b when it comes out 0.
std::optional<NodeRef> Normaliser::IfStep(const NodeRef& node) {
    Knoten *c, *a, *b;
    if (!IsApplicationOf(node.get(), "IF") || !BuiltinSteps::ThreeArguments(node.get(), c, a, b))
        return std::nullopt;
    NodeRef condition = Normalise(NodeRef(c));
    if (condition->IsInteger("1")) return NodeRef(a);
    if (condition->IsInteger("0")) return NodeRef(b);
    if (condition.get() == c) return std::nullopt;
    return manager_.Function(
        node->text(), Make(Kind::Comma, Make(Kind::Comma, condition, NodeRef(a)), NodeRef(b)));
}

NodeRef Normaliser::NormaliseChildren(const NodeRef& node) {
    NodeRef left = node->left() ? Normalise(node->leftRef()) : NodeRef();
    NodeRef right = node->right() ? Normalise(node->rightRef()) : NodeRef();
    if (left == node->leftRef() && right == node->rightRef()) return node;
    return manager_.Make(node->kind(), node->text(), left, right);
}

NodeRef Normaliser::RewriteStep(const NodeRef& node) {
    const Kind kind = node->kind();
    if (!IsProductKind(kind) && !IsSumKind(kind)) return SingleStep(node);
    // x-0 -> x
    if (kind == Kind::Minus && node->right()->IsInteger("0")) return node->leftRef();
    NodeRef reassociated = Reassociate(node);
    if (reassociated != node) return reassociated;
    if (auto combined = Combine(node)) return *combined;
    return SingleStep(node);
}

// a*((r0 op1 r1) op2 r2) -> ((a op2 r2) op1 r1)*r0, a/(b/c) -> (a*c)/b, and the same for sums;
// a product of two plain factors is put in order.
NodeRef Normaliser::Reassociate(const NodeRef& node) {
    const Kind kind = node->kind();
    const NodeRef& a = node->leftRef();
    const NodeRef& r = node->rightRef();
    if ((kind == Kind::Times && IsProductKind(r->kind())) ||
        (kind == Kind::Plus && IsSumKind(r->kind()))) {
        std::vector<std::pair<Kind, NodeRef>> members;
        NodeRef chain = r;
        while (SameFamily(chain->kind(), kind)) {
            members.emplace_back(chain->kind(), chain->rightRef());
            chain = chain->leftRef();
        }
        NodeRef result = a;
        for (const auto& [op, member] : members) {
            result = op == Kind::Times ? Insert(result, member) : Make(op, result, member);
        }
        return kind == Kind::Times ? Insert(result, chain) : Make(Kind::Plus, result, chain);
    }
    if (kind == Kind::Divide && r->kind() == Kind::Divide)
        return Make(Kind::Divide, Insert(a, r->rightRef()), r->leftRef());
    if (kind == Kind::Times) return Insert(a, r);
    return node;
}

// Ordered insertion of a factor: integers first, then variables alphabetically, then the rest.
NodeRef Normaliser::Insert(const NodeRef& product, const NodeRef& factor) {
    StackGuard::Check();
    if (product->kind() == Kind::Divide)
        return Make(Kind::Divide, Insert(product->leftRef(), factor), product->rightRef());
    if (product->kind() == Kind::Times) {
        if (Precedes(factor.get(), product->right()))
            return Make(Kind::Times, Insert(product->leftRef(), factor), product->rightRef());
        return Make(Kind::Times, product, factor);
    }
    if (Precedes(factor.get(), product.get())) return Make(Kind::Times, factor, product);
    return Make(Kind::Times, product, factor);
}

// A power of a variable sorts like the variable, so that x^2*exp(x) and exp(x)*x^2 become one
// product and like terms meet.
static const Knoten* SortKey(const Knoten* node) {
    if (node->kind() == Kind::Power && node->left()->kind() == Kind::Variable) return node->left();
    return node;
}

bool Normaliser::Precedes(const Knoten* y, const Knoten* x) {
    Tick();
    StackGuard::Check();
    if (y->kind() == Kind::Integer) return x->kind() != Kind::Integer;
    y = SortKey(y);
    x = SortKey(x);
    if (y->kind() == Kind::Function && x->kind() == Kind::Function) {
        const int order = CompareNames(x->text(), y->text());
        if (order != 0) return order > 0;
        if (x->right() == nullptr || y->right() == nullptr) return false;
        return Precedes(y->right(), x->right());
    }
    if (y->kind() == Kind::Variable && x->kind() == Kind::Variable)
        return CompareNames(x->text(), y->text()) > 0;
    if (y->kind() == Kind::Variable)
        return x->kind() != Kind::Integer && x->kind() != Kind::Decimal;
    return false;
}

// The new member y of a chain is combined with one of the chain's members when a single step
// simplifies the pair.
std::optional<NodeRef> Normaliser::Combine(const NodeRef& node) {
    const Kind kind = node->kind();
    const NodeRef& x = node->leftRef();
    const NodeRef& y = node->rightRef();
    if (SameFamily(x->kind(), kind)) {
        if (auto combined = TableCombine(x, kind, y)) return combined;
    }
    // a/(b*c): a/b = d gives d/c, a/c = d gives d/b
    if (kind == Kind::Divide && y->kind() == Kind::Times) {
        if (auto d = TryCombine(x, Kind::Divide, y->leftRef()))
            return Make(Kind::Divide, *d, y->rightRef());
        if (auto d = TryCombine(x, Kind::Divide, y->rightRef()))
            return Make(Kind::Divide, *d, y->leftRef());
    }
    // a-(b+c): a-b = d gives d-c, a-c = d gives d-b
    if (kind == Kind::Minus && y->kind() == Kind::Plus) {
        if (auto d = TryCombine(x, Kind::Minus, y->leftRef()))
            return Make(Kind::Minus, *d, y->rightRef());
        if (auto d = TryCombine(x, Kind::Minus, y->rightRef()))
            return Make(Kind::Minus, *d, y->leftRef());
    }
    return std::nullopt;
}

std::optional<NodeRef> Normaliser::TryCombine(const NodeRef& x, Kind op, const NodeRef& y) {
    StackGuard::Check();
    if (SameFamily(x->kind(), op)) {
        if (auto combined = TableCombine(x, op, y)) return combined;
    }
    NodeRef pair = Make(op, x, y);
    NodeRef stepped = SingleStep(pair);
    if (stepped != pair) return stepped;
    return std::nullopt;
}

// x = u xop v is a chain of the same family as op; y is the new member.
std::optional<NodeRef> Normaliser::TableCombine(const NodeRef& x, Kind op, const NodeRef& y) {
    const NodeRef& u = x->leftRef();
    const NodeRef& v = x->rightRef();
    const Kind xop = x->kind();
    using K = Kind;
    if (xop == K::Times && op == K::Times) {  // (u*v)*y
        if (auto d = TryCombine(u, K::Times, y)) return Make(K::Times, *d, v);
        if (auto d = TryCombine(v, K::Times, y)) return Make(K::Times, u, *d);
    } else if (xop == K::Divide && op == K::Times) {  // (u/v)*y
        if (auto d = TryCombine(u, K::Times, y)) return Make(K::Divide, *d, v);
        if (auto d = TryCombine(y, K::Divide, v)) return Make(K::Times, u, *d);
    } else if (xop == K::Times && op == K::Divide) {  // (u*v)/y
        if (auto d = TryCombine(u, K::Divide, y)) return Make(K::Times, *d, v);
        if (auto d = TryCombine(v, K::Divide, y)) return Make(K::Times, *d, u);
    } else if (xop == K::Divide && op == K::Divide) {  // (u/v)/y
        if (auto d = TryCombine(u, K::Divide, y)) return Make(K::Divide, *d, v);
        if (auto d = TryCombine(v, K::Times, y)) return Make(K::Divide, u, *d);
    } else if (xop == K::Plus && op == K::Plus) {  // (u+v)+y
        if (auto d = TryCombine(u, K::Plus, y)) return Make(K::Plus, *d, v);
        if (auto d = TryCombine(v, K::Plus, y)) return Make(K::Plus, u, *d);
    } else if (xop == K::Minus && op == K::Plus) {  // (u-v)+y
        if (auto d = TryCombine(u, K::Plus, y)) return Make(K::Minus, *d, v);
        if (auto d = TryCombine(y, K::Minus, v)) return Make(K::Plus, u, *d);
    } else if (xop == K::Plus && op == K::Minus) {  // (u+v)-y
        if (auto d = TryCombine(u, K::Minus, y)) return Make(K::Plus, *d, v);
        if (auto d = TryCombine(v, K::Minus, y)) return Make(K::Plus, u, *d);
    } else if (xop == K::Minus && op == K::Minus) {  // (u-v)-y
        if (auto d = TryCombine(u, K::Minus, y)) return Make(K::Minus, *d, v);
        if (auto d = TryCombine(v, K::Plus, y)) return Make(K::Minus, u, *d);
    }
    return std::nullopt;
}

NodeRef Normaliser::SingleStep(const NodeRef& node) {
    Tick();
    NodeRef stepped = builtins_.Apply(node);
    if (stepped != node) return stepped;
    return ApplyRules(node);
}

NodeRef Normaliser::ApplyRules(const NodeRef& node) {
    for (const Rule& rule : rules_.Bucket(RuleBase::BucketOf(node.get()))) {
        Matcher matcher(manager_, rule.condition.get(), budget_);
        if (!matcher.Match(rule.pattern.get(), node.get())) continue;
        NodeRef result = matcher.Substitute(rule.replacement.get());
        if (result != node) return result;
    }
    return node;
}

}  // namespace symbolic
