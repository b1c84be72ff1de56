#include "MetaQuery.h"

#include "ctlvocab.h"
#include "nmeta.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace freebsd {

namespace {

// Replies larger than this are taken as a misbehaving kernel, not grown for.
constexpr std::size_t maxReply = std::size_t{64} << 20;

// Room for a query: {0, op} and the object's levels, plus one extra level.
struct Request {
    int levels[NM_CTL_MAXNAME + 1];
    unsigned count = 0;

    Request(int op, const Oid &oid, const int *extraLevel = nullptr)
    {
        levels[count++] = NM_CTL_SYSCTL;
        levels[count++] = op;
        for (int level : oid)
            if (count < NM_CTL_MAXNAME + 1)
                levels[count++] = level;
        if (extraLevel && count < NM_CTL_MAXNAME + 1)
            levels[count++] = *extraLevel;
    }
    // The kernel refuses more than its limit; say so before asking.
    bool fits(const Oid &oid, const int *extraLevel) const
    {
        return 2 + oid.size() + (extraLevel ? 1 : 0) <= NM_CTL_MAXNAME;
    }
};

// Runs the query into out, growing on ENOMEM: a size probe says how much
// the kernel has now; it may have grown by the next call, so retry a few
// times, then double.
int ask(const Request &request, std::string &out, const void *newp = nullptr,
        std::size_t newlen = 0)
{
    // One buffer for every query: a build asks tens of thousands of them.
    static std::string buffer;
    // A huge reply once must not keep its memory for the rest of the run.
    if (buffer.size() < 1024 || buffer.size() > (std::size_t{1} << 20))
        std::string(1024, '\0').swap(buffer);
    std::size_t capacity = buffer.size();
    for (int attempt = 0;; ++attempt) {
        buffer.resize(capacity);
        std::size_t length = capacity;
        errno = 0;
        if (sysctl(request.levels, request.count, buffer.data(), &length, newp, newlen) == 0) {
            out.assign(buffer.data(), std::min(length, capacity));
            return 0;
        }
        const int error = errno ? errno : EIO;
        if (error != ENOMEM || capacity >= maxReply || attempt >= 8) {
            out.clear();
            return error;
        }
        std::size_t needed = 0;
        errno = 0;
        if (attempt < 4 &&
            sysctl(request.levels, request.count, nullptr, &needed, newp, newlen) == 0 &&
            needed > capacity)
            capacity = needed;
        else
            capacity *= 2;
        capacity = std::min(capacity, maxReply);
    }
}

// A reply's text up to its NUL; a kernel that leaves the NUL out still
// gives a terminated text.
void trimText(std::string &text)
{
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
}

// An identifier reply. With `keepTruncated`, a reply longer than any real
// identifier keeps its first levels, so that a walk can step past it.
int askOid(const Request &request, Oid &out, const void *newp = nullptr, std::size_t newlen = 0,
           bool keepTruncated = false)
{
    out.clear();
    int levels[NM_CTL_MAXNAME];
    std::size_t length = sizeof levels;
    errno = 0;
    if (sysctl(request.levels, request.count, levels, &length, newp, newlen) != 0) {
        const int error = errno ? errno : EIO;
        if (!(keepTruncated && error == ENOMEM && length >= sizeof(int)))
            return error;
    }
    // Whole levels only, and at least one.
    const std::size_t count = std::min<std::size_t>(length / sizeof(int), NM_CTL_MAXNAME);
    if (count == 0)
        return ENOENT;
    out.assign(levels, levels + count);
    return 0;
}

int askText(int op, const Oid &oid, std::string &out)
{
    const Request request(op, oid);
    if (!request.fits(oid, nullptr)) {
        out.clear();
        return EINVAL;
    }
    const int error = ask(request, out);
    if (error == 0)
        trimText(out);
    return error;
}

}  // namespace

int MetaQuery::next(const Oid &from, bool noSkip, Oid &out)
{
    const Request request(noSkip ? NM_CTL_SYSCTL_NEXTNOSKIP : NM_CTL_SYSCTL_NEXT, from);
    if (!request.fits(from, nullptr)) {
        out.clear();
        return EINVAL;
    }
    return askOid(request, out, nullptr, 0, true);
}

int MetaQuery::name(const Oid &oid, std::string &out)
{
    return askText(NM_CTL_SYSCTL_NAME, oid, out);
}

int MetaQuery::nameToOid(const std::string &name, Oid &out)
{
    if (name.empty() || name.find('\0') != std::string::npos) {
        out.clear();
        return ENOENT;
    }
    return askOid(Request(NM_CTL_SYSCTL_NAME2OID, {}), out, name.data(), name.size());
}

int MetaQuery::format(const Oid &oid, std::uint32_t &kind, std::string &out,
                      const int *extraLevel)
{
    kind = 0;
    const Request request(NM_CTL_SYSCTL_OIDFMT, oid, extraLevel);
    if (!request.fits(oid, extraLevel)) {
        out.clear();
        return EINVAL;
    }
    std::string reply;
    if (int error = ask(request, reply)) {
        out.clear();
        return error;
    }
    // The kind word comes first; a shorter reply says nothing.
    if (reply.size() < sizeof kind) {
        out.clear();
        return EPROTO;
    }
    std::memcpy(&kind, reply.data(), sizeof kind);
    out.assign(reply, sizeof kind, std::string::npos);
    trimText(out);
    return 0;
}

int MetaQuery::description(const Oid &oid, std::string &out)
{
    return askText(NM_CTL_SYSCTL_OIDDESCR, oid, out);
}

int MetaQuery::label(const Oid &oid, std::string &out)
{
    return askText(NM_CTL_SYSCTL_OIDLABEL, oid, out);
}

}  // namespace freebsd
