#include "Generator.h"

#include "CtlNames.h"
#include "NumberBytes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <stdexcept>

namespace sim {
namespace {

struct TopLevel {
    const char *name;
    const char *description;
    unsigned weight;  // share of the objects, as in a FreeBSD MIB
};

const TopLevel topLevels[] = {
    {"kern", "High kernel, proc, limits &c", 16}, {"vm", "Virtual memory", 7},
    {"vfs", "File system", 8},                    {"net", "Network, (see socket.h)", 18},
    {"debug", "Debugging", 6},                    {"hw", "hardware", 9},
    {"machdep", "machine dependent", 3},          {"user", "user-level", 1},
    {"p1003_1b", "p1003_1b, (see p1003_1b.h)", 1}, {"dev", "", 24},
    {"security", "Security", 4},                  {"compat", "Compatibility code", 3},
    {"kstat", "Kernel statistics", 2},            {"regression", "Regression test MIB", 1},
};

const char *const leafWords[] = {
    "max", "min", "count", "enable", "debug", "timeout", "size", "rate", "limit", "drops",
    "errors", "version", "mode", "level", "threshold", "queue", "buffer", "cache", "pages",
    "bytes", "packets", "interval", "delay", "retries", "hits", "misses", "ticks", "load",
    "sockets", "vnodes", "maps", "entries", "segments", "slots", "users", "verbose"};

const char *const nodeWords[] = {
    "stats", "inet", "inet6", "tcp", "udp", "ip", "cc", "acpi", "pci", "usb", "cam", "geom",
    "ipc", "sched", "proc", "random", "zfs", "nfs", "mac", "jail", "pmap", "uma", "link",
    "ether", "route", "smp", "cpu", "timecounter", "eventtimer", "iflib", "thermal", "pf"};

const char *const driverWords[] = {"cpu", "em", "igb", "ix", "pci", "pcib", "acpi", "uart",
                                   "ahci", "ada", "nvme", "xhci", "usbus", "hdac", "vgapci",
                                   "atkbd", "psm", "coretemp", "hwpstate", "vtnet"};

const char *const stringWords[] = {"FreeBSD", "default", "auto", "cubic", "newreno", "none",
                                   "GENERIC", "amd64", "enabled", "acpi0", "pci0", "localhost"};

}  // namespace

Generator::Generator(const GeneratorParams &params) : params_(params), rng_(params.seed)
{
    if (params.topLevel < 1)
        throw std::invalid_argument("a MIB needs at least one top-level node");
    if (params.maxDepth < 2)
        throw std::invalid_argument("the depth must be at least 2 (the internal subtree has 2 levels)");
    if (params.objects < static_cast<std::size_t>(params.topLevel) + internalObjects)
        throw std::invalid_argument(std::to_string(params.objects) + " objects do not hold " +
                                    std::to_string(params.topLevel) + " top-level nodes and " +
                                    std::to_string(internalObjects) + " internal objects");
    if (!(params.skipShare >= 0 && params.skipShare <= 1 && params.largeShare >= 0 &&
          params.largeShare <= 1))
        throw std::invalid_argument("shares must lie between 0 and 1");
}

MibStore Generator::build()
{
    store_.reserve(params_.objects);
    addInternalSubtree();

    const std::size_t topCount = static_cast<std::size_t>(params_.topLevel);
    std::vector<MibStore::Node *> tops;
    unsigned totalWeight = 0;
    for (std::size_t i = 0; i < topCount; ++i) {
        const bool known = i < std::size(topLevels);
        const std::string name = known ? topLevels[i].name : "misc" + std::to_string(i + 1);
        MibStore::Node &top = addNode(nullptr, name, static_cast<int>(i + 1));
        top.object.description = known ? topLevels[i].description : "Miscellaneous";
        tops.push_back(&top);
        totalWeight += known ? topLevels[i].weight : 2;
    }

    // Share the remaining objects out by weight; the rounding remainder goes
    // to the first trees so that the total comes out exact.
    const std::size_t budget = params_.objects - topCount - internalObjects;
    std::vector<std::size_t> shares(topCount);
    std::size_t given = 0;
    for (std::size_t i = 0; i < topCount; ++i) {
        const unsigned weight = i < std::size(topLevels) ? topLevels[i].weight : 2;
        shares[i] = static_cast<std::size_t>(static_cast<double>(budget) * weight / totalWeight);
        given += shares[i];
    }
    for (std::size_t i = 0; given < budget; i = (i + 1) % topCount, ++given)
        ++shares[i];
    for (std::size_t i = 0; i < topCount; ++i) {
        if (tops[i]->object.name == "dev" && params_.maxDepth >= 4)
            growDrivers(*tops[i], shares[i]);
        else
            grow(*tops[i], shares[i]);
    }
    return std::move(store_);
}

void Generator::addInternalSubtree()
{
    Object root;
    root.oid = {0};
    root.name = "sysctl";
    root.type = NM_CTLTYPE_NODE;
    root.flags = NM_CTLFLAG_RD | NM_CTLFLAG_MPSAFE;
    root.description = "Sysctl internal magic";
    root.handler = false;
    store_.add(root);
    const char *const children[] = {"name", "next", "name2oid", "oidfmt", "oiddescr", "oidlabel"};
    for (int i = 0; i < 6; ++i) {
        Object child;
        child.oid = {0, i + 1};
        child.name = std::string("sysctl.") + children[i];
        child.type = NM_CTLTYPE_NODE;
        child.flags = NM_CTLFLAG_RD | NM_CTLFLAG_MPSAFE | NM_CTLFLAG_CAPRD;
        child.handler = true;
        store_.add(child);
    }
}

// Adds exactly budget descendants below parent, within the depth limit. The
// fan-out follows the budget and the depth left, so that the tree fills its
// levels instead of piling thousands of leaves at the bottom.
void Generator::grow(MibStore::Node &parent, std::size_t budget)
{
    const int room = params_.maxDepth - static_cast<int>(parent.object.oid.size());
    Names used;
    int position = 1;
    if (room <= 1 || budget <= 4 + below(12)) {
        for (std::size_t i = 0; i < budget; ++i)
            addLeaf(parent, uniqueName(used, leafBase()), position++);
        return;
    }
    if (room >= 3 && budget >= 40 && below(6) == 0) {
        MibStore::Node &driver = addNode(&parent, uniqueName(used, driverWords[below(std::size(driverWords))]), 1);
        growInstances(driver, budget - 1);
        return;
    }

    const double fan = std::pow(static_cast<double>(budget), 1.0 / room);
    const std::size_t nodes =
        std::clamp<std::size_t>(static_cast<std::size_t>(fan * (0.6 + 0.8 * unit())), 1, 64);
    std::size_t leaves = std::min(budget - nodes, 1 + below(std::max<std::size_t>(3, static_cast<std::size_t>(fan))));
    const std::size_t rest = budget - nodes - leaves;
    // Uneven shares, one subtree larger than the others, as kern.* or
    // net.inet.* are.
    std::vector<std::size_t> weights(nodes);
    std::size_t weightSum = 0;
    for (std::size_t &weight : weights)
        weightSum += weight = 1 + below(100);
    const std::size_t big = below(nodes);
    weightSum += weights[big];
    weights[big] *= 2;
    std::vector<std::size_t> shares(nodes);
    std::size_t given = 0;
    for (std::size_t i = 0; i < nodes; ++i)
        given += shares[i] = rest * weights[i] / weightSum;
    for (std::size_t i = 0; given < rest; i = (i + 1) % nodes, ++given)
        ++shares[i];

    // Leaves and subtrees interleaved, as the kernel's lists are.
    std::size_t nextNode = 0;
    while (leaves || nextNode < nodes) {
        if (leaves && (nextNode == nodes || below(leaves + nodes - nextNode) < leaves)) {
            addLeaf(parent, uniqueName(used, leafBase()), position++);
            --leaves;
        } else {
            MibStore::Node &node = addNode(&parent, uniqueName(used, nodeBase()), position++);
            grow(node, shares[nextNode++]);
        }
    }
}

// dev: one node per driver, each a list of numbered instances.
void Generator::growDrivers(MibStore::Node &dev, std::size_t budget)
{
    const std::size_t drivers = std::clamp<std::size_t>(budget / 500, 1, std::size(driverWords));
    std::size_t left = budget;
    for (std::size_t i = 0; i < drivers && left; ++i) {
        MibStore::Node &driver = addNode(&dev, driverWords[i], static_cast<int>(i + 1));
        driver.object.description = "";
        const std::size_t share = i + 1 == drivers ? left : std::min(left, budget / drivers);
        left -= share;
        growInstances(driver, share - 1);
    }
}

// A list of numbered instances (dev.em.0, dev.em.1, …) below driver, each
// with a few objects of its own: budget objects in all.
void Generator::growInstances(MibStore::Node &driver, std::size_t budget)
{
    if (budget == 0)
        return;
    const std::size_t each = 2 + below(8);  // an instance and its objects
    const std::size_t instances = std::clamp<std::size_t>(budget / each, 1, 1000);
    const std::size_t objects = budget - instances;  // below the instances
    for (std::size_t i = 0; i < instances; ++i) {
        MibStore::Node &unit = addNode(&driver, std::to_string(i), static_cast<int>(i + 1));
        unit.object.description = "";
        unit.object.label = "device_index";
        unit.object.flags |= NM_CTLFLAG_DYN;
        grow(unit, objects / instances + (i < objects % instances ? 1 : 0));
    }
}

MibStore::Node &Generator::addNode(MibStore::Node *parent, const std::string &name, int position)
{
    Object node;
    node.oid = parent ? parent->object.oid : std::vector<int>{};
    node.oid.push_back(position);
    node.name = parent ? parent->object.name + "." + name : name;
    node.type = NM_CTLTYPE_NODE;
    node.flags = NM_CTLFLAG_RD | NM_CTLFLAG_MPSAFE | (below(8) == 0 ? NM_CTLFLAG_WR : 0u);
    if (below(4) != 0)
        node.description = name + " parameters";
    // A node with a handler is never descended by the kernel's walk, so
    // nodes that get children have none; the draw keeps every MIB as before.
    static_cast<void>(below(20));
    node.handler = false;
    return store_.add(std::move(node), parent);
}

void Generator::addLeaf(MibStore::Node &parent, const std::string &name, int position)
{
    Object leaf;
    leaf.oid = parent.object.oid;
    leaf.oid.push_back(position);
    leaf.name = parent.object.name + "." + name;
    leaf.description = "The " + name + " setting of " + parent.object.name;
    leaf.flags = NM_CTLFLAG_RD | NM_CTLFLAG_MPSAFE;
    const std::size_t kind = below(20);
    if (kind < 6)
        leaf.flags |= NM_CTLFLAG_WR;
    else if (kind < 8)
        leaf.flags |= NM_CTLFLAG_RW | NM_CTLFLAG_TUN;
    else if (kind < 9)
        leaf.flags |= NM_CTLFLAG_TUN;
    else if (kind < 11)
        leaf.flags |= NM_CTLFLAG_STATS;
    if (below(10) == 0)
        leaf.flags |= NM_CTLFLAG_CAPRD;
    if (unit() < params_.skipShare)
        leaf.flags |= NM_CTLFLAG_SKIP;
    fillValue(leaf);
    store_.add(std::move(leaf), &parent);
}

void Generator::fillValue(Object &leaf)
{
    const bool large = unit() < params_.largeShare;
    const std::size_t pick = below(100);
    if (pick < 25) {
        leaf.type = NM_CTLTYPE_STRING;
        std::string text = stringWords[below(std::size(stringWords))];
        if (large)
            while (text.size() <= 100 + below(2000))
                text += std::string(" ") + stringWords[below(std::size(stringWords))];
        else if (below(8) == 0)
            text += '\n';
        leaf.value = text + '\0';
        return;
    }
    if (pick < 28 && !large) {
        leaf.type = NM_CTLTYPE_OPAQUE;
        if (below(2)) {
            leaf.format = "S,timeval";
            appendAs<std::int64_t>(leaf.value, 1700000000 + static_cast<std::int64_t>(below(50000000)));
            appendAs<std::int64_t>(leaf.value, static_cast<std::int64_t>(below(1000000)));
        } else {
            leaf.format = "S,vmtotal";  // not shown by the program: never read
            leaf.value.assign(88, '\0');
        }
        return;
    }
    if (pick < 30 && !large) {
        leaf.type = NM_CTLTYPE_INT;
        leaf.format = below(2) ? "IK" : "IK3";
        const std::int32_t kelvin = static_cast<std::int32_t>(2731 + below(900));
        appendAs<std::int32_t>(leaf.value, *leaf.format == "IK" ? kelvin : kelvin * 100);
        return;
    }

    static const std::uint8_t numeric[] = {NM_CTLTYPE_INT,  NM_CTLTYPE_INT,  NM_CTLTYPE_INT,  NM_CTLTYPE_INT,   NM_CTLTYPE_UINT,
                                           NM_CTLTYPE_UINT, NM_CTLTYPE_LONG, NM_CTLTYPE_ULONG, NM_CTLTYPE_U64,  NM_CTLTYPE_S64,
                                           NM_CTLTYPE_U8,   NM_CTLTYPE_U16,  NM_CTLTYPE_S8,   NM_CTLTYPE_S16,   NM_CTLTYPE_S32,
                                           NM_CTLTYPE_U32,  NM_CTLTYPE_INT,  NM_CTLTYPE_ULONG, NM_CTLTYPE_UINT, NM_CTLTYPE_LONG};
    leaf.type = numeric[below(std::size(numeric))];
    std::size_t width = 4;
    switch (leaf.type) {
    case NM_CTLTYPE_LONG: case NM_CTLTYPE_ULONG: case NM_CTLTYPE_U64: case NM_CTLTYPE_S64: width = 8; break;
    case NM_CTLTYPE_U8: case NM_CTLTYPE_S8: width = 1; break;
    case NM_CTLTYPE_U16: case NM_CTLTYPE_S16: width = 2; break;
    default: break;
    }
    const std::size_t elements = large ? 100 / width + 1 + below(64) : (below(10) == 0 ? 2 + below(3) : 1);
    for (std::size_t i = 0; i < elements; ++i) {
        const std::uint64_t number = below(4) == 0 ? below(2) : below(width == 1 ? 128 : 100000);
        switch (width) {
        case 1: appendAs(leaf.value, static_cast<std::uint8_t>(number)); break;
        case 2: appendAs(leaf.value, static_cast<std::uint16_t>(number)); break;
        case 4: appendAs(leaf.value, static_cast<std::uint32_t>(number)); break;
        default: appendAs(leaf.value, number); break;
        }
    }
}

std::string Generator::uniqueName(Names &used, const std::string &base)
{
    std::string name = base;
    for (int n = 2; !used.insert(name).second; ++n)
        name = base + std::to_string(n);
    return name;
}

std::string Generator::leafBase()
{
    const char *first = leafWords[below(std::size(leafWords))];
    if (below(3) == 0)
        return first;
    return std::string(first) + "_" + leafWords[below(std::size(leafWords))];
}

std::string Generator::nodeBase() { return nodeWords[below(std::size(nodeWords))]; }

}  // namespace sim
