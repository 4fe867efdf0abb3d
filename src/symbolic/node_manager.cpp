// The unique-node table. A hash table rather than a sorted list: a list walk per new node
// makes long requests quadratic.
#include "node_manager.h"

#include <functional>
#include <vector>

#include "symbolic_error.h"

namespace symbolic {

NodeManager::~NodeManager() {
    // Nodes still referenced at unload belong to static objects being torn down; leave them.
    nodes_.clear();
}

size_t NodeManager::KeyHash::operator()(const Key& key) const {
    size_t h = std::hash<std::string>()(key.folded);
    h ^= std::hash<const void*>()(key.left) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    h ^= std::hash<const void*>()(key.right) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    h ^= static_cast<size_t>(key.kind) * 0x100000001b3ULL;
    return h;
}

NodeManager::Key NodeManager::KeyOf(Kind kind, const std::string& text, const Knoten* left,
                                    const Knoten* right) {
    Key key{kind, text, left, right};
    for (char& c : key.folded) c = FoldCase(c);
    return key;
}

NodeRef NodeManager::Make(Kind kind, const std::string& text, const NodeRef& left,
                          const NodeRef& right) {
    Key key = KeyOf(kind, text, left.get(), right.get());
    if (auto found = nodes_.find(key); found != nodes_.end()) return NodeRef(found->second);
    const int depth = 1 + std::max(left ? left->depth() : 0, right ? right->depth() : 0);
    if (depth > kMaxTreeDepth) throw ESymbolicError("expression nested too deeply");
    auto* node = new Knoten(this, kind, text, left, right);
    ++nodesBuilt_;
    nodes_.emplace(std::move(key), node);
    return NodeRef(node);
}

void NodeManager::ForgetNormalForms() {
    // Dropping a cached form may free nodes, so the references leave the table first.
    std::vector<NodeRef> dropped;
    for (auto& [key, node] : nodes_) {
        node->isNormal = false;
        if (node->normalForm) dropped.push_back(std::move(node->normalForm));
    }
    for (auto& [key, node] : nodes_) node->normalForm = NodeRef();
    dropped.clear();
}

// A chain of nodes held only by each other (children, cached normal forms) can be far deeper
// than any tree, so deleting one must not recurse into the next: those wait in a list.
void NodeManager::Free(Knoten* node) {
    unreferenced_.push_back(node);
    if (freeing_) return;
    freeing_ = true;
    while (!unreferenced_.empty()) {
        Knoten* next = unreferenced_.back();
        unreferenced_.pop_back();
        nodes_.erase(KeyOf(next->kind(), next->text(), next->left(), next->right()));
        delete next;
    }
    freeing_ = false;
}

}  // namespace symbolic
