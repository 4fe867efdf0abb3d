// A node of the shared expression tree and the intrusive reference that keeps it alive.
#pragma once

#include <string>
#include <utility>

namespace symbolic {

// The node kind doubles as the parser's token code.
enum class Kind : int {
    Comma = 2,
    Equal = 20,
    Greater = 21,
    Less = 22,
    Function = 23,
    Variable = 24,
    Pi = 25,
    Integer = 26,
    Decimal = 27,
    List = 28,
    Times = 31,
    Divide = 32,
    Plus = 33,
    Minus = 34,
    Power = 37,
};

class Knoten;
class NodeManager;

// Counted reference to a Knoten; releasing the last one frees the node and its children.
class NodeRef {
public:
    NodeRef() = default;
    explicit NodeRef(Knoten* node);
    NodeRef(const NodeRef& other);
    NodeRef(NodeRef&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}
    NodeRef& operator=(const NodeRef& other);
    NodeRef& operator=(NodeRef&& other) noexcept;
    ~NodeRef();

    Knoten* get() const { return node_; }
    Knoten* operator->() const { return node_; }
    Knoten& operator*() const { return *node_; }
    explicit operator bool() const { return node_ != nullptr; }
    bool operator==(const NodeRef& other) const { return node_ == other.node_; }

private:
    Knoten* node_ = nullptr;
};

// Nodes are unique: the manager hands out one node per (kind, text, children), so equal
// sub-expressions are the same object and compare by address.
class Knoten {
public:
    Kind kind() const { return kind_; }
    const std::string& text() const { return text_; }
    Knoten* left() const { return left_.get(); }
    Knoten* right() const { return right_.get(); }
    const NodeRef& leftRef() const { return left_; }
    const NodeRef& rightRef() const { return right_; }
    int depth() const { return depth_; }
    NodeManager* manager() const { return manager_; }

    bool IsLeaf() const;
    bool IsInteger(const char* digits) const { return kind_ == Kind::Integer && text_ == digits; }
    bool IsOperator() const;

    // Rewriting keeps the normal form on the node it started from.
    bool isNormal = false;
    NodeRef normalForm;

private:
    friend class NodeManager;
    friend class NodeRef;
    Knoten(NodeManager* manager, Kind kind, std::string text, NodeRef left, NodeRef right);

    int references_ = 0;
    NodeManager* manager_;
    Kind kind_;
    std::string text_;
    NodeRef left_;
    NodeRef right_;
    int depth_;
};

// Lower case for ASCII letters only: names are ASCII, and the C locale must not matter. Also
// faster than std::tolower, which node building calls for every character.
inline char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case-insensitive comparison of names, as everywhere in the library.
int CompareNames(const std::string& a, const std::string& b);
bool SameName(const std::string& a, const std::string& b);

}  // namespace symbolic
