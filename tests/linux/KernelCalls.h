// The kernel side's sysctl() called directly, with the meta-MIB queries the
// client makes: short forms for tests of what the kernel answers.
#ifndef OIDSCOPE_TESTS_KERNEL_CALLS_H
#define OIDSCOPE_TESTS_KERNEL_CALLS_H

#include "ctlvocab.h"
#include "nmeta.h"
#include "support/ValueBytes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

using Oid = std::vector<int>;

// One call; error 0 or its errno, reply the bytes it handed back.
struct Answer {
    int error;
    std::string reply;
};

inline Answer call(const Oid &name, const std::string *newBytes = nullptr, size_t room = 4096)
{
    std::string buffer(room, '\0');
    size_t size = room;
    const int rc = sysctl(name.data(), static_cast<unsigned>(name.size()), buffer.data(), &size,
                          newBytes ? newBytes->data() : nullptr, newBytes ? newBytes->size() : 0);
    return {rc == 0 ? 0 : errno, rc == 0 ? buffer.substr(0, size) : std::string()};
}

inline Oid meta(int query, const Oid &levels)
{
    Oid name = {NM_CTL_SYSCTL, query};
    name.insert(name.end(), levels.begin(), levels.end());
    return name;
}

inline Oid asOid(const std::string &reply)
{
    Oid oid(reply.size() / sizeof(int));
    std::memcpy(oid.data(), reply.data(), oid.size() * sizeof(int));
    return oid;
}

// The next object after levels (nextnoskip when nodesToo); empty at the end.
inline Oid nextOf(const Oid &levels, bool nodesToo, int *error = nullptr)
{
    const Answer a = call(meta(nodesToo ? NM_CTL_SYSCTL_NEXTNOSKIP : NM_CTL_SYSCTL_NEXT, levels));
    if (error)
        *error = a.error;
    return a.error ? Oid{} : asOid(a.reply);
}

// A whole walk from the beginning; fails the test if an identifier comes
// twice (which would also be an endless walk).
inline std::vector<Oid> walk(bool nodesToo)
{
    std::vector<Oid> all;
    std::set<Oid> seen;
    int error = 0;
    for (Oid at = nextOf({}, nodesToo, &error); !at.empty(); at = nextOf(at, nodesToo, &error)) {
        if (!seen.insert(at).second) {
            ADD_FAILURE() << "walked twice: " << ::testing::PrintToString(at);
            break;
        }
        all.push_back(at);
    }
    EXPECT_TRUE(error == 0 || error == ENOENT) << std::strerror(error);
    return all;
}

inline std::string nameOf(const Oid &oid)
{
    const Answer a = call(meta(NM_CTL_SYSCTL_NAME, oid));
    return a.error ? "(" + std::string(std::strerror(a.error)) + ")" : a.reply.substr(0, a.reply.size() - 1);
}

inline Oid oidOfName(const std::string &name, int *error = nullptr)
{
    const Answer a = call(meta(NM_CTL_SYSCTL_NAME2OID, {}), &name);
    if (error)
        *error = a.error;
    return a.error ? Oid{} : asOid(a.reply);
}

struct Format {
    int error;
    uint32_t kind;
    std::string format;
};

inline Format formatOf(const Oid &oid)
{
    const Answer a = call(meta(NM_CTL_SYSCTL_OIDFMT, oid));
    if (a.error || a.reply.size() < 5)
        return {a.error, 0, ""};
    uint32_t kind;
    std::memcpy(&kind, a.reply.data(), 4);
    return {0, kind, a.reply.substr(4, a.reply.size() - 5)};
}

// Value access by identifier: the value's bytes, or the errno.
inline Answer readOid(const Oid &oid)
{
    return call(oid);
}

inline int writeOid(const Oid &oid, const std::string &bytes)
{
    return sysctl(oid.data(), static_cast<unsigned>(oid.size()), nullptr, nullptr, bytes.data(),
                  bytes.size()) == 0
               ? 0
               : errno;
}

#endif
