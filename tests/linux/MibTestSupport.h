// Helpers for the Linux tests through the interface: short forms of its
// calls over a temporary tree.
#ifndef OIDSCOPE_TESTS_MIB_TEST_SUPPORT_H
#define OIDSCOPE_TESTS_MIB_TEST_SUPPORT_H

#include "KernelCalls.h"  // writeOid
#include "TempTree.h"
#include "ctlvocab.h"
#include "nmeta.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/stat.h>

// One object of nmeta_mib's tree, flattened in listing order.
struct Listed {
    std::string name;
    std::vector<int> oid;
    int type;
    uint32_t flags;
    std::optional<std::string> description = std::nullopt;  // not compared
    bool operator==(const Listed &o) const
    {
        return name == o.name && oid == o.oid && type == o.type && flags == o.flags;
    }
    friend void PrintTo(const Listed &o, std::ostream *out)
    {
        *out << o.name << ::testing::PrintToString(o.oid) << " type " << o.type << " flags " << o.flags;
    }
};

inline Listed listed(const MibObject *o)
{
    return {o->name, std::vector<int>(o->oidLevels, o->oidLevels + o->oidLength), o->type, o->flags,
            o->description ? std::optional<std::string>(o->description) : std::nullopt};
}

inline void flatten(const MibObjectList *list, std::vector<Listed> &out)
{
    for (const MibObject *o = list ? list->first : nullptr; o; o = o->next) {
        out.push_back(listed(o));
        // Linux files carry no labels; the format follows the type.
        EXPECT_EQ(o->label, nullptr) << o->name;
        const char *format = o->type == NM_CTLTYPE_NODE  ? "N"
                             : o->type == NM_CTLTYPE_S64 ? "Q"
                             : o->type == NM_CTLTYPE_U64 ? "QU"
                                                         : "A";
        EXPECT_STREQ(o->format, format) << o->name;
        flatten(o->children, out);
    }
}

inline std::vector<Listed> listAll()
{
    std::vector<Listed> out;
    MibObjectList *list = nmeta_mib();
    EXPECT_NE(list, nullptr) << std::strerror(errno);
    flatten(list, out);
    nmeta_freemib(list);
    return out;
}

inline std::vector<int> oidOf(const std::string &name)
{
    int levels[24];
    size_t count = 24;
    return nmeta_oidbyname(name.c_str(), levels, &count) ? std::vector<int>{}
                                                         : std::vector<int>(levels, levels + count);
}

// Probe, then read into a buffer of that size, as the program does.
struct ReadResult {
    int error;
    std::string bytes;
};

inline ReadResult readValue(const std::vector<int> &oid)
{
    size_t size = 0;
    if (sysctl(oid.data(), oid.size(), nullptr, &size, nullptr, 0) != 0)
        return {errno, {}};
    std::string bytes(size, '\0');
    if (sysctl(oid.data(), oid.size(), bytes.data(), &size, nullptr, 0) != 0)
        return {errno, {}};
    return {0, bytes.substr(0, size)};
}

#endif
