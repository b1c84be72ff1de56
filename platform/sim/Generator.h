#ifndef OIDSCOPE_SIM_GENERATOR_H
#define OIDSCOPE_SIM_GENERATOR_H

#include "MibStore.h"
#include "SimMib.h"

#include <cstdint>
#include <random>
#include <string>
#include <unordered_set>

namespace sim {

// Builds a synthetic MIB of the requested size and shape: a few large
// top-level trees, wide lists of numbered instances in places (as dev.* has),
// mostly small leaves with descriptions, some SKIP-flagged or large, and the
// kernel's internal sysctl subtree under level 0. The same parameters always
// give the same MIB.
class Generator {
public:
    // Throws std::invalid_argument when the parameters allow no such MIB.
    explicit Generator(const GeneratorParams &params);

    MibStore build();

    // Objects of the internal subtree, added beyond the requested top level.
    static constexpr std::size_t internalObjects = 7;

private:
    using Names = std::unordered_set<std::string>;

    void addInternalSubtree();
    void grow(MibStore::Node &parent, std::size_t budget);
    void growDrivers(MibStore::Node &dev, std::size_t budget);
    void growInstances(MibStore::Node &driver, std::size_t budget);
    MibStore::Node &addNode(MibStore::Node *parent, const std::string &name, int position);
    void addLeaf(MibStore::Node &parent, const std::string &name, int position);
    void fillValue(Object &leaf);
    std::string uniqueName(Names &used, const std::string &base);
    std::string leafBase();
    std::string nodeBase();

    std::size_t below(std::size_t bound) { return bound ? rng_() % bound : 0; }
    double unit() { return rng_() / 4294967296.0; }

    GeneratorParams params_;
    std::mt19937 rng_;
    MibStore store_;
};

}  // namespace sim

#endif
