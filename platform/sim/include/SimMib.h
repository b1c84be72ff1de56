#ifndef OIDSCOPE_SIM_MIB_H
#define OIDSCOPE_SIM_MIB_H

// Control of the simulated kernel: an in-memory MIB, answered through the
// sysctl call as a FreeBSD kernel answers it, that tests and the benchmark
// load, inspect and make fail on demand. The program's own code never
// includes this; it sees only the interface of nmeta.h.
// Like the program's MIB code, it is meant for one thread.

#include "NumberBytes.h"
#include "ctlvocab.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct Object {
    std::vector<int> oid;                  // full identifier
    std::string name;                      // full dotted name
    std::optional<std::string> description;
    std::optional<std::string> label;
    std::optional<std::string> format;     // none is served as an empty format
    std::uint8_t type = 3;                 // CTLTYPE number, 0..15
    std::uint32_t flags = 0;               // the kind word's other bits: CTLFLAG_ and secure level
    std::string value;                     // bytes as sysctl returns them
    // Whether a handler serves it; unset, as its type has: a leaf one, a
    // node none. A leaf without one refuses access (EINVAL); a node with one
    // is never descended.
    std::optional<bool> handler;

    bool hasHandler() const { return handler.value_or(type != 1); }
};

// Kernel calls made for one object (or in all, by totals()), by kind.
struct Counts {
    int next = 0;          // walk steps (next, nextnoskip) that returned it
    int name = 0;          // name queries that named it
    int name2oid = 0;      // name2oid queries for its name
    int oidfmt = 0;        // oidfmt queries, handler probes included
    int handlerProbes = 0; // oidfmt queries with levels past it
    int oiddescr = 0;
    int oidlabel = 0;
    int probes = 0;        // value size probes
    int reads = 0;         // value reads
    int writes = 0;        // value writes

    int total() const
    {
        return next + name + name2oid + oidfmt + oiddescr + oidlabel + probes + reads + writes;
    }
};

// Empties the MIB and resets failures, counts and the hook; the MIB is available.
void clear();

// Appends an object; its parent (the name up to the last '.') must exist
// already unless it has no '.'. Throws std::invalid_argument otherwise, and
// for a duplicate name, a name with an empty component, or an identifier that
// is used already or does not extend the parent's by one level. An empty
// identifier is filled in: the parent's plus the next free level (from 1).
void add(const Object &object);

// Replaces the MIB with the objects of a fixture text (format in
// tests/fixtures/README.md). Throws std::runtime_error naming the line on
// malformed input, leaving the MIB as it was.
void loadFixture(const std::string &text);
void loadFixtureFile(const std::string &path);

struct GeneratorParams {
    std::size_t objects = 2000;  // total objects, nodes included
    int topLevel = 10;           // top-level nodes
    int maxDepth = 6;            // deepest level, top-level counted as 1
    unsigned seed = 1;
    double skipShare = 0.01;     // share of leaves with the SKIP flag
    double largeShare = 0.01;    // share of leaves with a value over 100 bytes
};
// Replaces the MIB with a synthetic one of realistic shape: exactly
// params.objects objects, params.topLevel top-level nodes identified 1, 2, …
// plus the internal subtree "sysctl" (identifier 0, 7 objects), no object
// deeper than maxDepth, identifiers being 1-based positions among siblings.
// Throws std::invalid_argument (MIB unchanged) when objects < topLevel + 7,
// topLevel < 1, maxDepth < 2 or a share lies outside 0..1.
void generate(const GeneratorParams &params);

std::size_t objectCount();
bool exists(const std::string &name);
Object object(const std::string &name);  // throws std::out_of_range
std::vector<std::string> names();        // all objects, each before its children

// Failures, counts and writes are kept by name; loading or generating a MIB
// keeps them, clear() drops them.

// Failure injection (all cleared by clear()): the kernel calls that serve a
// request fail. error is the errno the call fails with from now on; 0 ends
// the failure. Unknown names throw std::out_of_range.
void setMibAvailable(bool available);                 // the walk fails (EPERM) when false
void failHandlerQuery(const std::string &name, int error);  // oidfmt with levels past it
void failOidLookup(const std::string &name, int error);     // name2oid of its name
void failFormat(const std::string &name, int error);        // oidfmt: kind and format unknown
void failProbe(const std::string &name, int error);
void failRead(const std::string &name, int error);
void failWrite(const std::string &name, int error);   // after the kernel's own checks
void remove(const std::string &name);                 // the object and its subtree vanish

// Values, as the kernel holds them (unknown names throw std::out_of_range).
void setValue(const std::string &name, const std::string &bytes);
std::string value(const std::string &name);
std::vector<std::string> writes(const std::string &name);  // bytes of every successful write, in order

Counts counts(const std::string &name);
Counts totals();
void resetCounts();

// Called at every kernel call that concerns an object, before it is served,
// with op the kind of call: "next", "name", "name2oid", "oidfmt", "oiddescr",
// "oidlabel", "probe", "read" or "write".
using Hook = std::function<void(const char *op, const std::string &name)>;
void setHook(Hook hook);

// Called with every meta-MIB reply ({0, query, levels...} and the reply's
// bytes) before it is handed out: a test may rewrite it into something a
// misbehaving kernel would answer.
using ReplyHook = std::function<void(const std::vector<int> &request, std::string &reply)>;
void setReplyHook(ReplyHook hook);

// A C string's value bytes, with its terminating NUL.
inline std::string cstring(const std::string &text) { return text + std::string(1, '\0'); }

}  // namespace sim

#endif
