#ifndef OIDSCOPE_SIM_MIB_STORE_H
#define OIDSCOPE_SIM_MIB_STORE_H

#include "SimMib.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sim {

// The objects of one MIB as a tree: each object under its parent, siblings
// in the order of their last level, found by name or by identifier without a
// walk (the benchmark reads 100,000 objects one by one).
class MibStore {
public:
    struct Node {
        Object object;
        Node *parent = nullptr;
        std::vector<Node *> children;
    };

    // Checks the object against the tree and appends it under its parent.
    // An empty identifier is assigned: the parent's plus the next free level.
    // Throws std::invalid_argument for a bad or clashing name or identifier.
    Node &add(Object object);
    // The same, for a caller that holds the parent already (nullptr for a
    // top-level object); parent must be the node the name says.
    Node &add(Object object, Node *parent);

    // Removes the object and its subtree; throws std::out_of_range if unknown.
    void remove(const std::string &name);

    Node *find(const std::string &name);
    Node *findByOid(const int *levels, std::size_t count);

    void reserve(std::size_t objects)
    {
        byName_.reserve(objects);
        byOid_.reserve(objects);
    }

    const std::vector<Node *> &topLevel() const { return top_; }
    std::size_t size() const { return byName_.size(); }

    // Every node, each before its children, siblings in order.
    std::vector<const Node *> inOrder() const;

private:
    static std::string_view oidKey(const int *levels, std::size_t count);
    static std::string_view oidKey(const std::vector<int> &oid);
    void check(const Object &object, const Node *parent) const;
    void assignOid(Object &object, const Node *parent) const;

    // Keys are views of the node's own name and identifier, which never
    // change while the node is in the store: no copies, no allocation per
    // lookup.
    std::unordered_map<std::string_view, std::unique_ptr<Node>> byName_;
    std::unordered_map<std::string_view, Node *> byOid_;
    std::vector<Node *> top_;
};

// An identifier as text, levels joined by '.', as fixtures write it.
std::string oidText(const std::vector<int> &oid);

}  // namespace sim

#endif
