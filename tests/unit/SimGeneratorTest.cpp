// The synthetic MIB: the size and shape asked for, identifiers that the C
// interface agrees on, the same MIB for the same seed, and realistic content.
#include "SimMib.h"
#include "ctlvocab.h"
#include "nmeta.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Walked {
    std::size_t objects = 0;
    std::size_t maxDepth = 0;
    std::size_t widestList = 0;
    std::vector<std::string> badPositions;  // names whose last level is not their position
};

// Walks nmeta_mib's tree, checking each identifier against its place in it.
Walked walkMib()
{
    Walked result;
    MibObjectList *mib = nmeta_mib();
    if (!mib) {
        ADD_FAILURE() << "no MIB";
        return result;
    }
    std::function<void(const MibObjectList *, const MibObject *)> walk = [&](const MibObjectList *list,
                                                                             const MibObject *parent) {
        int position = 0;
        std::size_t length = 0;
        for (const MibObject *o = list->first; o; o = o->next, ++length) {
            ++result.objects;
            result.maxDepth = std::max<std::size_t>(result.maxDepth, o->oidLength);
            const bool internal = o->oidLevels[0] == 0;
            if (!(internal && !parent))
                ++position;
            const bool extendsParent =
                o->oidLength == (parent ? parent->oidLength + 1 : 1) &&
                (!parent || std::equal(parent->oidLevels, parent->oidLevels + parent->oidLength, o->oidLevels));
            if (!extendsParent || (!(internal && !parent) && o->oidLevels[o->oidLength - 1] != position))
                result.badPositions.push_back(o->name);
            if (o->children)
                walk(o->children, o);
        }
        result.widestList = std::max(result.widestList, length);
    };
    walk(mib, nullptr);
    nmeta_freemib(mib);
    return result;
}

class SimGeneratorTest : public ::testing::Test {
protected:
    void SetUp() override { sim::clear(); }
};

TEST_F(SimGeneratorTest, SizeTopLevelAndDepthAreAsRequested)
{
    const sim::GeneratorParams cases[] = {
        {2000, 10, 6, 1, 0.01, 0.01},
        {5000, 14, 4, 2, 0.01, 0.01},
        {300, 3, 3, 3, 0.01, 0.01},
        {60, 20, 2, 4, 0.01, 0.01},
    };
    for (const sim::GeneratorParams &params : cases) {
        SCOPED_TRACE(std::to_string(params.objects) + " objects, depth " + std::to_string(params.maxDepth));
        sim::generate(params);
        EXPECT_EQ(sim::objectCount(), params.objects);
        const Walked walked = walkMib();
        EXPECT_EQ(walked.objects, params.objects);
        EXPECT_LE(walked.maxDepth, static_cast<std::size_t>(params.maxDepth));
        EXPECT_TRUE(walked.badPositions.empty()) << walked.badPositions.front();

        int topLevel = 0;
        for (const std::string &name : sim::names())
            if (name.find('.') == std::string::npos && sim::object(name).oid != std::vector<int>{0})
                ++topLevel;
        EXPECT_EQ(topLevel, params.topLevel);
        EXPECT_EQ(sim::object("sysctl").oid, std::vector<int>{0});
        EXPECT_EQ(sim::object("sysctl.name").oid, (std::vector<int>{0, 1}));
    }
}

TEST_F(SimGeneratorTest, IdentifiersReachTheSameObjectsThroughTheCInterface)
{
    sim::generate({3000, 10, 6, 5, 0.01, 0.01});
    const std::vector<std::string> names = sim::names();
    for (std::size_t i = 0; i < names.size(); i += 37) {
        const sim::Object object = sim::object(names[i]);
        int levels[24];
        size_t count = 24;
        ASSERT_EQ(nmeta_oidbyname(names[i].c_str(), levels, &count), 0) << names[i];
        ASSERT_EQ(std::vector<int>(levels, levels + count), object.oid) << names[i];
        if (object.type == NM_CTLTYPE_NODE)
            continue;  // nodes have no value to read
        std::string value(object.value.size() + 1, '\0');
        size_t size = value.size();
        ASSERT_EQ(sysctl(levels, static_cast<unsigned>(count), value.data(), &size, nullptr, 0), 0);
        EXPECT_EQ(value.substr(0, size), object.value) << names[i];
    }
}

TEST_F(SimGeneratorTest, TheSameSeedGivesTheSameMib)
{
    auto snapshot = [] {
        std::vector<std::string> out;
        for (const std::string &name : sim::names()) {
            const sim::Object o = sim::object(name);
            out.push_back(name + '|' + std::to_string(o.type) + '|' + std::to_string(o.flags) + '|' + o.value);
        }
        return out;
    };
    sim::generate({4000, 10, 6, 42, 0.01, 0.01});
    const std::vector<std::string> first = snapshot();
    sim::generate({4000, 10, 6, 42, 0.01, 0.01});
    EXPECT_EQ(snapshot(), first);
    sim::generate({4000, 10, 6, 43, 0.01, 0.01});
    EXPECT_NE(snapshot(), first);
}

TEST_F(SimGeneratorTest, ContentLooksLikeAKernelMib)
{
    sim::generate({20000, 10, 6, 7, 0.05, 0.02});
    std::size_t leaves = 0, skipped = 0, large = 0, described = 0;
    std::set<int> types;
    std::set<std::string> formats;
    for (const std::string &name : sim::names()) {
        const sim::Object o = sim::object(name);
        if (o.type == 1)
            continue;
        ++leaves;
        skipped += (o.flags & NM_CTLFLAG_SKIP) != 0;
        large += o.value.size() > 100;
        described += o.description.has_value();
        types.insert(o.type);
        if (o.format)
            formats.insert(*o.format);
        EXPECT_FALSE(o.value.empty()) << name;
    }
    EXPECT_GT(leaves, 20000u * 6 / 10);
    EXPECT_EQ(described, leaves);
    EXPECT_NEAR(static_cast<double>(skipped) / leaves, 0.05, 0.015);
    EXPECT_NEAR(static_cast<double>(large) / leaves, 0.02, 0.008);
    EXPECT_GE(types.size(), 12u);
    EXPECT_TRUE(formats.count("IK") && formats.count("S,timeval"));

    const Walked walked = walkMib();
    EXPECT_EQ(walked.maxDepth, 6u);
    EXPECT_GE(walked.widestList, 100u);
}

TEST_F(SimGeneratorTest, ImpossibleParametersAreRefusedAndKeepTheMib)
{
    sim::loadFixture("object 1 kept\n type int\n");
    EXPECT_THROW(sim::generate({10, 10, 6, 1, 0.01, 0.01}), std::invalid_argument);  // no room
    EXPECT_THROW(sim::generate({100, 0, 6, 1, 0.01, 0.01}), std::invalid_argument);
    EXPECT_THROW(sim::generate({100, 5, 1, 1, 0.01, 0.01}), std::invalid_argument);
    EXPECT_THROW(sim::generate({100, 5, 6, 1, 1.5, 0.01}), std::invalid_argument);
    EXPECT_EQ(sim::names(), std::vector<std::string>{"kept"});
}

TEST_F(SimGeneratorTest, BuildsALargeMibInOnePiece)
{
    const auto start = std::chrono::steady_clock::now();
    sim::generate({100000, 12, 7, 9, 0.01, 0.01});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("generate_100000_ms", static_cast<int>(seconds * 1000));
    EXPECT_EQ(sim::objectCount(), 100000u);
    EXPECT_EQ(walkMib().objects, 100000u);
}

}  // namespace
