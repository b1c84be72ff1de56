#ifndef OIDSCOPE_FREEBSD_META_QUERY_H
#define OIDSCOPE_FREEBSD_META_QUERY_H

#include <cstdint>
#include <string>
#include <vector>

namespace freebsd {

// An identifier as the kernel gives it: at most NM_CTL_MAXNAME levels.
using Oid = std::vector<int>;

// The kernel's meta-MIB under level 0, one query per call. Each returns 0 or
// the errno of the failure. Replies that do not fit grow their buffer and
// are asked again, so names and descriptions may be of any length.
class MetaQuery {
public:
    // The object after `from` in the walk: nextnoskip (every object) or
    // next (leaves and nodes with a handler). ENOENT after the last.
    static int next(const Oid &from, bool noSkip, Oid &out);

    // The dotted name.
    static int name(const Oid &oid, std::string &out);

    // The identifier of a dotted name.
    static int nameToOid(const std::string &name, Oid &out);

    // The kind word and format. `extraLevel`, when given, is appended to the
    // levels (the handler probe).
    static int format(const Oid &oid, std::uint32_t &kind, std::string &out,
                      const int *extraLevel = nullptr);

    static int description(const Oid &oid, std::string &out);
    static int label(const Oid &oid, std::string &out);

    // The deepest object a query {0, op, levels...} can name.
    static constexpr std::size_t maxQueryLevels = 22;
};

}  // namespace freebsd

#endif
