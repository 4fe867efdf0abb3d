// Reference counting and the small queries on tree nodes.
#include "knoten.h"

#include <algorithm>

#include "node_manager.h"

namespace symbolic {

NodeRef::NodeRef(Knoten* node) : node_(node) {
    if (node_ != nullptr) ++node_->references_;
}

NodeRef::NodeRef(const NodeRef& other) : node_(other.node_) {
    if (node_ != nullptr) ++node_->references_;
}

NodeRef& NodeRef::operator=(const NodeRef& other) {
    NodeRef copy(other);
    std::swap(node_, copy.node_);
    return *this;
}

NodeRef& NodeRef::operator=(NodeRef&& other) noexcept {
    if (this != &other) {
        NodeRef old(std::move(*this));
        node_ = std::exchange(other.node_, nullptr);
    }
    return *this;
}

NodeRef::~NodeRef() {
    if (node_ != nullptr && --node_->references_ == 0) node_->manager_->Free(node_);
}

Knoten::Knoten(NodeManager* manager, Kind kind, std::string text, NodeRef left, NodeRef right)
    : manager_(manager),
      kind_(kind),
      text_(std::move(text)),
      left_(std::move(left)),
      right_(std::move(right)) {
    depth_ = 1 + std::max(left_ ? left_->depth_ : 0, right_ ? right_->depth_ : 0);
}

bool Knoten::IsLeaf() const {
    return kind_ == Kind::Variable || kind_ == Kind::Pi || kind_ == Kind::Integer ||
           kind_ == Kind::Decimal;
}

bool Knoten::IsOperator() const {
    switch (kind_) {
        case Kind::Times:
        case Kind::Divide:
        case Kind::Plus:
        case Kind::Minus:
        case Kind::Power:
        case Kind::Equal:
        case Kind::Greater:
        case Kind::Less:
        case Kind::Comma:
            return true;
        default:
            return false;
    }
}

int CompareNames(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = static_cast<unsigned char>(FoldCase(a[i]));
        const int cb = static_cast<unsigned char>(FoldCase(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareNames(a, b) == 0;
}

}  // namespace symbolic
