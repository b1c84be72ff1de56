#include "MibStore.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace sim {

std::string oidText(const std::vector<int> &oid)
{
    std::string out;
    for (std::size_t i = 0; i < oid.size(); ++i) {
        if (i)
            out += '.';
        out += std::to_string(oid[i]);
    }
    return out;
}

std::string_view MibStore::oidKey(const int *levels, std::size_t count)
{
    return std::string_view(reinterpret_cast<const char *>(levels), count * sizeof(int));
}

std::string_view MibStore::oidKey(const std::vector<int> &oid)
{
    return oidKey(oid.data(), oid.size());
}

namespace {

void checkText(const std::optional<std::string> &text, const char *what, const std::string &name)
{
    // The C interface hands texts out NUL-terminated; an inner NUL would cut them.
    if (text && text->find('\0') != std::string::npos)
        throw std::invalid_argument(std::string(what) + " of '" + name + "' contains a NUL byte");
}

}  // namespace

void MibStore::check(const Object &object, const Node *parent) const
{
    const std::string &name = object.name;
    if (name.empty() || name.front() == '.' || name.back() == '.' ||
        name.find("..") != std::string::npos || name.find('\0') != std::string::npos)
        throw std::invalid_argument("invalid name '" + name + "'");
    if (byName_.count(name))
        throw std::invalid_argument("duplicate name '" + name + "'");
    // The kind word holds the type in four bits.
    if (object.type > 15)
        throw std::invalid_argument("type " + std::to_string(object.type) + " of '" + name +
                                    "' is beyond 15");
    checkText(object.description, "description", name);
    checkText(object.label, "label", name);
    checkText(object.format, "format", name);

    const std::vector<int> &oid = object.oid;
    const std::size_t depth = parent ? parent->object.oid.size() + 1 : 1;
    if (oid.size() != depth ||
        (parent && !std::equal(parent->object.oid.begin(), parent->object.oid.end(), oid.begin())))
        throw std::invalid_argument("identifier " + oidText(oid) + " of '" + name +
                                    "' does not extend its parent's " +
                                    (parent ? oidText(parent->object.oid) : std::string("(none)")) +
                                    " by one level");
    const auto clash = byOid_.find(oidKey(oid));
    if (clash != byOid_.end())
        throw std::invalid_argument("identifier " + oidText(oid) + " of '" + name +
                                    "' is already used by '" + clash->second->object.name + "'");
}

void MibStore::assignOid(Object &object, const Node *parent) const
{
    const std::vector<Node *> &siblings = parent ? parent->children : top_;
    int next = 1;
    for (const Node *sibling : siblings)
        next = std::max(next, sibling->object.oid.back() + 1);
    object.oid = parent ? parent->object.oid : std::vector<int>{};
    object.oid.push_back(next);
}

MibStore::Node &MibStore::add(Object object)
{
    Node *parent = nullptr;
    const std::size_t dot = object.name.rfind('.');
    if (dot != std::string::npos && dot != 0 && dot + 1 != object.name.size()) {
        const std::string parentName = object.name.substr(0, dot);
        parent = find(parentName);
        if (!parent)
            throw std::invalid_argument("parent '" + parentName + "' of '" + object.name +
                                        "' does not exist");
    }
    return add(std::move(object), parent);
}

MibStore::Node &MibStore::add(Object object, Node *parent)
{
    const std::size_t dot = object.name.rfind('.');
    const std::string_view parentName =
        dot == std::string::npos ? std::string_view() : std::string_view(object.name).substr(0, dot);
    if (parent ? parentName != parent->object.name : !parentName.empty())
        throw std::invalid_argument("'" + object.name + "' is not a child of '" +
                                    (parent ? parent->object.name : std::string()) + "'");
    if (object.oid.empty())
        assignOid(object, parent);
    check(object, parent);

    auto node = std::make_unique<Node>();
    node->object = std::move(object);
    node->parent = parent;
    Node *raw = node.get();
    // Siblings in the order of their numbers, as the kernel keeps them.
    std::vector<Node *> &siblings = parent ? parent->children : top_;
    const int number = raw->object.oid.back();
    siblings.insert(std::upper_bound(siblings.begin(), siblings.end(), number,
                                     [](int n, const Node *sibling) { return n < sibling->object.oid.back(); }),
                    raw);
    byOid_.emplace(oidKey(raw->object.oid), raw);
    byName_.emplace(raw->object.name, std::move(node));
    return *raw;
}

void MibStore::remove(const std::string &name)
{
    Node *node = find(name);
    if (!node)
        throw std::out_of_range("no object named '" + name + "'");
    std::vector<Node *> &siblings = node->parent ? node->parent->children : top_;
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));

    std::vector<Node *> doomed{node};
    while (!doomed.empty()) {
        Node *victim = doomed.back();
        doomed.pop_back();
        doomed.insert(doomed.end(), victim->children.begin(), victim->children.end());
        byOid_.erase(oidKey(victim->object.oid));
        // By position: a key would view the name of the node being freed.
        byName_.erase(byName_.find(victim->object.name));
    }
}

MibStore::Node *MibStore::find(const std::string &name)
{
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second.get();
}

MibStore::Node *MibStore::findByOid(const int *levels, std::size_t count)
{
    const auto it = byOid_.find(oidKey(levels, count));
    return it == byOid_.end() ? nullptr : it->second;
}

std::vector<const MibStore::Node *> MibStore::inOrder() const
{
    std::vector<const Node *> out;
    out.reserve(size());
    std::vector<const Node *> pending(top_.rbegin(), top_.rend());
    while (!pending.empty()) {
        const Node *node = pending.back();
        pending.pop_back();
        out.push_back(node);
        pending.insert(pending.end(), node->children.rbegin(), node->children.rend());
    }
    return out;
}

}  // namespace sim
