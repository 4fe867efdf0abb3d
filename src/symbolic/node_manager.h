// Hands out the one shared node for each distinct (kind, text, children).
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "knoten.h"

namespace symbolic {

// Deeper trees are refused, so that no recursion over a tree can exhaust the stack.
constexpr int kMaxTreeDepth = 1000;

class NodeManager {
public:
    NodeManager() = default;
    NodeManager(const NodeManager&) = delete;
    NodeManager& operator=(const NodeManager&) = delete;
    ~NodeManager();

    // The unique node; function names, variables and pi match without regard to case and keep
    // the letters they were first written with.
    NodeRef Make(Kind kind, const std::string& text, const NodeRef& left, const NodeRef& right);
    NodeRef Leaf(Kind kind, const std::string& text) { return Make(kind, text, {}, {}); }
    NodeRef Number(const std::string& digits) { return Leaf(Kind::Integer, digits); }
    NodeRef Binary(Kind kind, const NodeRef& left, const NodeRef& right) {
        return Make(kind, {}, left, right);
    }
    NodeRef Function(const std::string& name, const NodeRef& argument) {
        return Make(Kind::Function, name, {}, argument);
    }

    size_t NodeCount() const { return nodes_.size(); }
    // Nodes created so far, for charging them to a work budget.
    size_t NodesBuilt() const { return nodesBuilt_; }
    // Drops every cached normal form, so that a rule added at run time applies everywhere.
    void ForgetNormalForms();

private:
    friend class NodeRef;
    struct Key {
        Kind kind;
        std::string folded;  // lower-case text
        const Knoten* left;
        const Knoten* right;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };
    static Key KeyOf(Kind kind, const std::string& text, const Knoten* left, const Knoten* right);
    void Free(Knoten* node);

    std::unordered_map<Key, Knoten*, KeyHash> nodes_;
    // Nodes whose last reference went while another node was being freed.
    std::vector<Knoten*> unreferenced_;
    bool freeing_ = false;
    size_t nodesBuilt_ = 0;
};

}  // namespace symbolic
