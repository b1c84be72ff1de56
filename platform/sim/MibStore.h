#ifndef OIDSCOPE_SIM_MIB_STORE_H
#define OIDSCOPE_SIM_MIB_STORE_H

#include "SimMib.h"

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace sim {

// The objects of one MIB as a tree: each object under its parent, siblings
// in the order they were added, found by name or by identifier without a
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

    // Removes the object and its subtree; throws std::out_of_range if unknown.
    void remove(const std::string &name);

    Node *find(const std::string &name);
    Node *findByOid(const int *levels, std::size_t count);

    const std::vector<Node *> &topLevel() const { return top_; }
    std::size_t size() const { return byName_.size(); }

    // Every node, each before its children, siblings in order.
    std::vector<const Node *> inOrder() const;

private:
    static std::string oidKey(const int *levels, std::size_t count);
    static std::string oidKey(const std::vector<int> &oid);
    void check(const Object &object, const Node *parent) const;
    void assignOid(Object &object, const Node *parent) const;

    std::unordered_map<std::string, std::unique_ptr<Node>> byName_;
    std::unordered_map<std::string, Node *> byOid_;
    std::vector<Node *> top_;
};

// An identifier as text, levels joined by '.', as fixtures write it.
std::string oidText(const std::vector<int> &oid);

}  // namespace sim

#endif
