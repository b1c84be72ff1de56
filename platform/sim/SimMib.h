#ifndef OIDSCOPE_SIM_MIB_H
#define OIDSCOPE_SIM_MIB_H

// Control of the simulated MIB backend: an in-memory MIB that tests and the
// benchmark load, inspect and make fail on demand. The program's own code
// never includes this; it sees only the interface of nmeta.h.
// Like the program's MIB code, it is meant for one thread.

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
    std::optional<std::string> format;
    std::uint8_t type = 3;                 // CTLTYPE number (any 0..255 allowed)
    std::uint32_t flags = 0;               // CTLFLAG_ bits
    std::string value;                     // bytes as sysctl returns them
    bool hasHandler = true;
};

// Calls made for one object (or in all, by totals()).
struct Counts {
    int describe = 0;       // nmeta_objectbyname
    int probes = 0;         // sysctl size probes
    int reads = 0;          // sysctl reads
    int writes = 0;         // sysctl writes
    int handlerQueries = 0; // nmeta_hashandlerbyname
    int oidLookups = 0;     // nmeta_oidbyname
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

// Failure injection (all cleared by clear()). error is the errno the call
// fails with from now on; 0 ends the failure. Unknown names throw
// std::out_of_range.
void setMibAvailable(bool available);                 // nmeta_mib gives NULL (ENOENT) when false
void failHandlerQuery(const std::string &name, int error);
void failOidLookup(const std::string &name, int error);
void failProbe(const std::string &name, int error);
void failRead(const std::string &name, int error);
void failWrite(const std::string &name, int error);
void remove(const std::string &name);                 // the object and its subtree vanish

// Values, as the kernel holds them (unknown names throw std::out_of_range).
void setValue(const std::string &name, const std::string &bytes);
std::string value(const std::string &name);
std::vector<std::string> writes(const std::string &name);  // bytes of every successful write, in order

Counts counts(const std::string &name);
Counts totals();
void resetCounts();

// Called at every sysctl call (op is "probe", "read" or "write") and every
// nmeta_objectbyname ("describe"), before it is served.
using Hook = std::function<void(const char *op, const std::string &name)>;
void setHook(Hook hook);

// Builders for value bytes in the machine's byte order.
template <typename T> std::string bytesOf(std::initializer_list<T> values)
{
    std::string out;
    for (T v : values)
        out.append(reinterpret_cast<const char *>(&v), sizeof v);
    return out;
}
inline std::string cstring(const std::string &text) { return text + std::string(1, '\0'); }

}  // namespace sim

#endif
