// realistic.mib is the MIB other tests build on: it must load, and hold the
// types, formats, flags and sizes it promises, with correct struct layouts.
// (That it forms a consistent tree is enforced by loading itself.)
#include "SimMib.h"
#include "support/ValueBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

template <typename T> T at(const std::string &bytes, std::size_t offset)
{
    T value{};
    if (offset + sizeof value <= bytes.size())
        std::memcpy(&value, bytes.data() + offset, sizeof value);
    else
        ADD_FAILURE() << "no " << sizeof value << " bytes at " << offset;
    return value;
}

class SimRealisticFixtureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
        sim::loadFixtureFile(OIDSCOPE_FIXTURES "/realistic.mib");
        for (const std::string &name : sim::names())
            objects.push_back(sim::object(name));
    }

    bool any(const std::function<bool(const sim::Object &)> &test) const
    {
        for (const sim::Object &object : objects)
            if (test(object))
                return true;
        return false;
    }

    std::vector<sim::Object> objects;
};

TEST_F(SimRealisticFixtureTest, HasEveryTypeAndEveryFlag)
{
    EXPECT_GE(objects.size(), 50u);
    EXPECT_LE(objects.size(), 150u);
    std::set<int> types;
    for (const sim::Object &object : objects)
        types.insert(object.type);
    for (int type = 0; type <= 15; ++type)
        EXPECT_TRUE(types.count(type)) << "no object of type " << type;
    EXPECT_LE(*types.rbegin(), 15);  // the kernel's kind word holds no more

    const std::uint32_t flagTable[] = {NM_CTLFLAG_RD, NM_CTLFLAG_WR, NM_CTLFLAG_RW, NM_CTLFLAG_ANYBODY, NM_CTLFLAG_TUN,
                                       NM_CTLFLAG_RDTUN, NM_CTLFLAG_RWTUN, NM_CTLFLAG_STATS, NM_CTLFLAG_NOFETCH, NM_CTLFLAG_CAPRD,
                                       NM_CTLFLAG_CAPWR, NM_CTLFLAG_CAPRW, NM_CTLFLAG_SECURE, NM_CTLFLAG_PRISON, NM_CTLFLAG_VNET,
                                       NM_CTLFLAG_MPSAFE, NM_CTLFLAG_NEEDGIANT, NM_CTLFLAG_DYN, NM_CTLFLAG_DYING, NM_CTLFLAG_DORMANT,
                                       NM_CTLFLAG_SKIP};
    for (std::uint32_t mask : flagTable)
        EXPECT_TRUE(any([&](const sim::Object &o) { return (o.flags & mask) == mask; }))
            << std::hex << "no object with flags 0x" << mask;
}

TEST_F(SimRealisticFixtureTest, OpaqueValuesHaveTheKernelsLayouts)
{
    const std::string clock = sim::value("kern.clockrate");
    EXPECT_EQ(sim::object("kern.clockrate").format, "S,clockinfo");
    ASSERT_EQ(clock.size(), 20u);
    EXPECT_EQ(at<std::int32_t>(clock, 0), 1000);   // hz
    EXPECT_EQ(at<std::int32_t>(clock, 12), 127);   // stathz
    EXPECT_EQ(at<std::int32_t>(clock, 16), 8128);  // profhz

    const std::string id = sim::value("kern.evdev.input.0.id");
    EXPECT_EQ(sim::object("kern.evdev.input.0.id").format, "S,input_id");
    ASSERT_EQ(id.size(), 8u);
    EXPECT_EQ(at<std::uint16_t>(id, 0), 0x11);
    EXPECT_EQ(at<std::uint16_t>(id, 6), 0xab41);

    const std::string load = sim::value("vm.loadavg");
    EXPECT_EQ(sim::object("vm.loadavg").format, "S,loadavg");
    ASSERT_EQ(load.size(), 24u);
    EXPECT_EQ(at<std::uint32_t>(load, 4), 512u);
    EXPECT_EQ(at<std::int64_t>(load, 16), 2048);

    const std::string smap = sim::value("machdep.smap");
    EXPECT_EQ(sim::object("machdep.smap").format, "S,bios_smap_xattr");
    ASSERT_EQ(smap.size() % 24, 0u);
    ASSERT_GE(smap.size(), 48u);
    EXPECT_EQ(at<std::uint64_t>(smap, 24 + 0), 0x9f000u);  // second record's base
    EXPECT_EQ(at<std::uint64_t>(smap, 24 + 8), 0x1000u);   // … length
    EXPECT_EQ(at<std::uint32_t>(smap, 24 + 16), 2u);       // … type
    EXPECT_EQ(at<std::uint32_t>(smap, 24 + 20), 1u);       // … attributes

    const std::string pages = sim::value("hw.pagesizes");
    EXPECT_EQ(sim::object("hw.pagesizes").format, "S,pagesizes");
    ASSERT_EQ(pages.size(), 32u);
    EXPECT_EQ(at<std::uint64_t>(pages, 8), 2097152u);
    EXPECT_EQ(at<std::uint64_t>(pages, 24), 0u);

    const std::string boot = sim::value("kern.boottime");
    EXPECT_EQ(sim::object("kern.boottime").format, "S,timeval");
    ASSERT_EQ(boot.size(), 16u);
    EXPECT_EQ(at<std::int64_t>(boot, 8), 123456);

    EXPECT_EQ(sim::object("vm.vmtotal").type, 5);
    EXPECT_EQ(sim::object("vm.vmtotal").format, "S,vmtotal");
    EXPECT_EQ(sim::value("vm.vmtotal").size(), 88u);
}

TEST_F(SimRealisticFixtureTest, HasTheValuesThatNeedCare)
{
    EXPECT_BYTES_EQ(sim::value("kern.ostype"), sim::cstring("FreeBSD"));
    for (const char *name : {"hw.acpi.thermal.tz0.temperature", "dev.pchtherm.0.temperature"}) {
        const sim::Object sensor = sim::object(name);
        EXPECT_EQ(sensor.type, 2) << name;
        EXPECT_EQ(sensor.value.size(), 4u) << name;
    }
    EXPECT_EQ(sim::object("hw.acpi.thermal.tz0.temperature").format, "IK");
    EXPECT_EQ(sim::object("dev.pchtherm.0.temperature").format, "IK3");

    auto endsWith = [](const std::string &value, const std::string &tail) {
        return value.size() >= tail.size() && value.compare(value.size() - tail.size(), tail.size(), tail) == 0;
    };
    EXPECT_TRUE(endsWith(sim::value("kern.version"), std::string("\n\0", 2)));
    EXPECT_FALSE(endsWith(sim::value("kern.version"), std::string("\n\n\0", 3)));
    EXPECT_TRUE(endsWith(sim::value("kern.geom.conftxt"), std::string("\n\n\0", 3)));
    EXPECT_EQ(sim::value("kern.module_path").size(), 100u);
    EXPECT_EQ(sim::value("security.mac.portacl.rules").size(), 101u);
    EXPECT_GT(sim::value("kern.msgbuf").size(), 1000u);
    EXPECT_EQ(sim::value("vm.pmap.pv_entry_counts").size(), 12u);  // an int array

    const std::uint32_t rd = NM_CTLFLAG_RD, wr = NM_CTLFLAG_WR;
    EXPECT_TRUE(any([&](const sim::Object &o) { return (o.flags & wr) && !(o.flags & rd) && o.type != 1; }));
    EXPECT_TRUE(any([&](const sim::Object &o) { return (o.flags & rd) && !(o.flags & wr) && o.type != 1; }));
    EXPECT_TRUE(any([&](const sim::Object &o) { return (o.flags & wr) && o.type == 1; }));
    EXPECT_TRUE(any([&](const sim::Object &o) { return o.type != 1 && !o.hasHandler(); }));
    EXPECT_TRUE(any([&](const sim::Object &o) { return o.label && !o.label->empty(); }));
    EXPECT_TRUE(any([&](const sim::Object &o) { return o.label && o.label->empty(); }));
    EXPECT_TRUE(any([&](const sim::Object &o) { return o.description && o.description->empty(); }));
    EXPECT_TRUE(any([&](const sim::Object &o) { return !o.description; }));
    EXPECT_EQ(objects.front().oid, std::vector<int>{0});  // the internal subtree comes first
    EXPECT_TRUE(any([&](const sim::Object &o) { return o.oid.size() > 1 && o.oid[0] == 0; }));
}

}  // namespace
