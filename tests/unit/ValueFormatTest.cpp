// Value text: the reading rules of formatValue against the simulated kernel,
// and the layout of every type and opaque format.
#include "mib/CtlType.h"
#include "mib/NumberText.h"
#include "mib/ValidUtf8.h"
#include "mib/ObjectValue.h"
#include "mib/ValueFormat.h"
#include "model/Model.h"
#include "nmeta.h"
#include "SimMib.h"
#include "support/SimObjectsAndRows.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <limits>
#include <string>
#include <memory>

namespace {

using namespace flag;

struct FreeObject {
    void operator()(MibObject *o) const { nmeta_freeobject(o); }
};
using ObjectPtr = std::unique_ptr<MibObject, FreeObject>;

ObjectPtr describe(const std::string &name)
{
    ObjectPtr o(nmeta_objectbyname(name.c_str()));
    EXPECT_NE(o, nullptr) << name;
    return o;
}

Glib::ustring bytesAs(unsigned type, const char *format, const std::string &bytes)
{
    return formatBytes(type, format, reinterpret_cast<const unsigned char *>(bytes.data()),
                       bytes.size());
}

class ValueFormat : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
        sim::add(simObject({1}, "kern", ctlTypeNode, RD));
    }

    // Adds kern.<leaf> with the given type, flags, format and bytes.
    std::string leaf(const std::string &leafName, unsigned type, uint32_t flags,
                     const std::string &bytes, std::optional<std::string> format = {})
    {
        static int next = 1;
        sim::Object o = simObject({1, next++}, "kern." + leafName, type, flags, bytes);
        o.format = std::move(format);
        sim::add(o);
        return o.name;
    }

    Glib::ustring read(const std::string &name, bool force = false, int limit = 100,
                       const Glib::ustring &placeholder = "[CLICK TO SHOW]")
    {
        auto o = describe(name);
        return formatValue(o.get(), force, limit, placeholder);
    }
};

TEST_F(ValueFormat, NodesAndUnreadableObjectsGiveEmptyTextWithoutReading)
{
    const auto node = leaf("node", ctlTypeNode, RD | WR, bytesOf<int32_t>({7}));
    const auto writeOnly = leaf("wo", ctlTypeInt, WR, bytesOf<int32_t>({7}));
    for (bool force : {false, true}) {
        EXPECT_EQ(read(node, force), "");
        EXPECT_EQ(read(writeOnly, force), "");
    }
    EXPECT_EQ(sim::counts(node).probes + sim::counts(node).reads, 0);
    EXPECT_EQ(sim::counts(writeOnly).probes + sim::counts(writeOnly).reads, 0);
}

TEST_F(ValueFormat, SkipGivesPlaceholderUnlessForced)
{
    const auto name = leaf("skipped", ctlTypeInt, RD | SKIP, bytesOf<int32_t>({42}));
    EXPECT_EQ(read(name, false), "[CLICK TO SHOW]");
    EXPECT_EQ(sim::counts(name).probes, 0);
    EXPECT_EQ(read(name, true, -1, "ERROR"), "42");
}

TEST_F(ValueFormat, UnlistedOpaqueFormatIsNeverRead)
{
    const auto name = leaf("vmtotal", ctlTypeOpaque, RD, std::string(48, '\1'), "S,vmtotal");
    const auto noFormat = leaf("blob", ctlTypeOpaque, RD, std::string(8, '\1'));
    EXPECT_EQ(read(name, true, -1), "");
    EXPECT_EQ(read(noFormat, true, -1), "");
    EXPECT_EQ(sim::totals().probes + sim::totals().reads, 0);
}

TEST_F(ValueFormat, SizeLimitReadsAtTheLimitAndNotAbove)
{
    const auto at = leaf("at", ctlTypeString, RD, std::string(99, 'a') + '\0');
    const auto above = leaf("above", ctlTypeString, RD, std::string(100, 'b') + '\0');
    EXPECT_EQ(read(at), std::string(99, 'a'));
    EXPECT_EQ(read(above), "[CLICK TO SHOW]");
    EXPECT_EQ(sim::counts(above).probes, 1);
    EXPECT_EQ(sim::counts(above).reads, 0);
    // No limit (-1) and a zero limit both read everything.
    EXPECT_EQ(read(above, false, -1), std::string(100, 'b'));
    EXPECT_EQ(read(above, false, 0), std::string(100, 'b'));
}

TEST_F(ValueFormat, FailedProbeOrReadGivesEmptyText)
{
    const auto probe = leaf("probe", ctlTypeInt, RD, bytesOf<int32_t>({1}));
    const auto rd = leaf("rd", ctlTypeInt, RD, bytesOf<int32_t>({1}));
    sim::failProbe(probe, EIO);
    sim::failRead(rd, EPERM);
    EXPECT_EQ(read(probe), "");
    EXPECT_EQ(read(rd), "");
}

TEST_F(ValueFormat, ValueReadWithTwiceTheProbedCapacity)
{
    const auto name = leaf("grows", ctlTypeInt, RD, bytesOf<int32_t>({1, 2}));
    sim::setHook([&](const char *op, const std::string &n) {
        if (n == name && std::string(op) == "probe")  // the value grows after the probe
            sim::setValue(name, bytesOf<int32_t>({1, 2, 3}));
    });
    EXPECT_EQ(read(name), "1 2 3");
}

TEST_F(ValueFormat, NumbersByWidthAndSignedness)
{
    const std::string ff(1, '\xff');
    EXPECT_EQ(bytesAs(ctlTypeS8, nullptr, ff), "-1");
    EXPECT_EQ(bytesAs(ctlTypeU8, nullptr, ff), "255");
    EXPECT_EQ(bytesAs(ctlTypeS16, nullptr, bytesOf<int16_t>({-2, 300})), "-2 300");
    EXPECT_EQ(bytesAs(ctlTypeU16, nullptr, bytesOf<int16_t>({-1})), "65535");
    EXPECT_EQ(bytesAs(ctlTypeInt, nullptr, bytesOf<int32_t>({1, -2, 3})), "1 -2 3");
    EXPECT_EQ(bytesAs(ctlTypeS32, "I", bytesOf<int32_t>({-5})), "-5");
    EXPECT_EQ(bytesAs(ctlTypeUint, nullptr, bytesOf<int32_t>({-1})), "4294967295");
    EXPECT_EQ(bytesAs(ctlTypeU32, nullptr, bytesOf<int32_t>({-1})), "4294967295");
    EXPECT_EQ(bytesAs(ctlTypeS64, nullptr, bytesOf<int64_t>({INT64_MIN})),
              "-9223372036854775808");
    EXPECT_EQ(bytesAs(ctlTypeLong, nullptr, bytesOf<int64_t>({-7, 8})), "-7 8");
    EXPECT_EQ(bytesAs(ctlTypeUlong, nullptr, bytesOf<int64_t>({-1})),
              "18446744073709551615");
    EXPECT_EQ(bytesAs(ctlTypeU64, nullptr, bytesOf<uint64_t>({UINT64_MAX, 0})),
              "18446744073709551615 0");
}

TEST_F(ValueFormat, OnlyWholeElementsCount)
{
    EXPECT_EQ(bytesAs(ctlTypeInt, nullptr, std::string("\1\0\0", 3)), "");
    EXPECT_EQ(bytesAs(ctlTypeInt, nullptr, bytesOf<int32_t>({9}) + "\1\2"), "9");
    EXPECT_EQ(bytesAs(ctlTypeU64, nullptr, std::string(15, '\0')), "0");
    EXPECT_EQ(bytesAs(ctlTypeU16, nullptr, ""), "");
}

TEST_F(ValueFormat, TemperaturesUseTheSinglePrecisionQuotient)
{
    EXPECT_EQ(bytesAs(ctlTypeInt, "IK", bytesOf<int32_t>({3032})), "30.05 C");
    EXPECT_EQ(bytesAs(ctlTypeInt, "IK", bytesOf<int32_t>({2741})), "0.950006 C");
    EXPECT_EQ(bytesAs(ctlTypeInt, "IK", bytesOf<int32_t>({2731})), "-0.0499939 C");
    EXPECT_EQ(bytesAs(ctlTypeInt, "IK3", bytesOf<int32_t>({303150})), "30 C");
    EXPECT_EQ(bytesAs(ctlTypeInt, "IK0", bytesOf<int32_t>({300})), "26.85 C");
    // Only the first element, and only integers of type 2.
    EXPECT_EQ(bytesAs(ctlTypeInt, "IK", bytesOf<int32_t>({3032, 1})), "30.05 C");
    EXPECT_EQ(bytesAs(ctlTypeS32, "IK", bytesOf<int32_t>({3032})), "3032");
    // Too short for one element: nothing is read past the data.
    EXPECT_EQ(bytesAs(ctlTypeInt, "IK", std::string("\1\2", 2)), "");
}

TEST_F(ValueFormat, StringsStopAtNulAndLoseOneFinalLineFeed)
{
    EXPECT_EQ(bytesAs(ctlTypeString, nullptr, sim::cstring("FreeBSD\n")), "FreeBSD");
    EXPECT_EQ(bytesAs(ctlTypeString, nullptr, sim::cstring("two\n\n")), "two\n");
    EXPECT_EQ(bytesAs(ctlTypeString, nullptr, std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(bytesAs(ctlTypeString, nullptr, "no nul"), "no nul");
    EXPECT_EQ(bytesAs(ctlTypeString, nullptr, sim::cstring("")), "");
    EXPECT_EQ(bytesAs(ctlTypeString, nullptr, sim::cstring("\xc3\xa9t\xc3\xa9")), "\xc3\xa9t\xc3\xa9");
}

TEST_F(ValueFormat, InvalidUtf8StringIsMadeValid)
{
    const Glib::ustring shown = bytesAs(ctlTypeString, nullptr, sim::cstring("ab\xff" "cd"));
    EXPECT_TRUE(shown.validate());
    EXPECT_EQ(shown, "ab\xef\xbf\xbd" "cd");  // U+FFFD in place of the bad byte
}

TEST_F(ValueFormat, Clockinfo)
{
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,clockinfo", bytesOf<int32_t>({1000, 999, 0, 128, 127})),
              "{ hz = 1000, tick = 999, profhz = 127, stathz = 128 }");
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,clockinfo", bytesOf<int32_t>({1000, 999, 0, 128})), "");
}

TEST_F(ValueFormat, InputIdIsLowerCaseHex)
{
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,input_id", bytesOf<uint16_t>({0x11, 0xABCD, 0, 0x100})),
              "{ bustype = 0x11, vendor = 0xabcd, product = 0x0, version = 0x100 }");
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,input_id", bytesOf<uint16_t>({1, 2, 3})), "");
}

TEST_F(ValueFormat, Loadavg)
{
    const std::string data = bytesOf<uint32_t>({1024, 512, 0, 0}) + bytesOf<int64_t>({2048});
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,loadavg", data), "{ 0.5 0.25 0 }");
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,loadavg", data.substr(0, 23)), "");
}

TEST_F(ValueFormat, SmapRecordsOnePerLine)
{
    const std::string rec1 = bytesOf<uint64_t>({0x1000, 0x9f000}) + bytesOf<uint32_t>({1, 0});
    const std::string rec2 = bytesOf<uint64_t>({0x100000, 0xABC00000}) + bytesOf<uint32_t>({2, 0x1F});
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,bios_smap_xattr", rec1 + rec2 + "partial"),
              "\nSMAP type=1, xattr=0, base=1000, len=9f000"
              "\nSMAP type=2, xattr=1f, base=100000, len=abc00000");
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,bios_smap_xattr", ""), "");
}

TEST_F(ValueFormat, PagesizesStopAtFirstZero)
{
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,pagesizes", bytesOf<uint64_t>({4096, 2097152, 0, 0})),
              "{ 4096, 2097152 }");
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,pagesizes", bytesOf<uint64_t>({4096, 0, 8192})), "{ 4096 }");
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,pagesizes", bytesOf<uint64_t>({0, 4096})), "{  }");
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,pagesizes", ""), "{  }");
}

TEST_F(ValueFormat, TimevalAppendsLocalDate)
{
    const int64_t sec = 1700000000;
    time_t t = sec;
    char date[64];
    ASSERT_NE(ctime_r(&t, date), nullptr);
    std::string expected = "{ sec = 1700000000, usec = 25 }  " + std::string(date);
    expected.pop_back();  // ctime's line feed
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,timeval", bytesOf<int64_t>({sec, 25})), expected);
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,timeval", bytesOf<int64_t>({sec})), "");
}

TEST_F(ValueFormat, TimevalBeyondCtimeShowsBracesOnly)
{
    EXPECT_EQ(bytesAs(ctlTypeOpaque, "S,timeval", bytesOf<int64_t>({INT64_MAX, 1})),
              "{ sec = 9223372036854775807, usec = 1 } ");
}

TEST_F(ValueFormat, OtherTypesAreReadButShowNothing)
{
    const auto zero = leaf("zero", 0, RD, bytesOf<int32_t>({1}));
    const auto big = leaf("big", 0, RD, bytesOf<int32_t>({1}));
    EXPECT_EQ(read(zero), "");
    EXPECT_EQ(read(big), "");
    EXPECT_EQ(sim::counts(zero).reads, 1);
    EXPECT_EQ(sim::counts(big).reads, 1);
}

TEST(ReadValue, ByNameAndUnknownName)
{
    sim::clear();
    sim::add(simObject({1}, "kern", ctlTypeNode, RD));
    sim::add(simObject({1, 1}, "kern.ostype", ctlTypeString, RD, sim::cstring("FreeBSD")));
    Model model;
    EXPECT_EQ(model.readValue("kern.ostype", false, 100, "[CLICK TO SHOW]"), "FreeBSD");
    EXPECT_EQ(model.readValue("kern.nothere", true, -1, "ERROR"), "");
}

}  // namespace

namespace {

// Number text must stay what glibmm's composition writes for the same number.
TEST(NumberText, SameAsCompose)
{
    for (int64_t n : {INT64_MIN, int64_t(-1000000), int64_t(-1), int64_t(0), int64_t(7), int64_t(1023),
                      int64_t(1024), int64_t(65535), int64_t(1234567), INT64_MAX})
        EXPECT_EQ(numberText(n), Glib::ustring::compose("%1", n)) << n;
    for (uint64_t n : {uint64_t(0), uint64_t(4096), UINT64_MAX})
        EXPECT_EQ(numberText(n), Glib::ustring::compose("%1", n)) << n;
    EXPECT_EQ(numberText(int8_t(-128)), Glib::ustring::compose("%1", int(-128)));
    EXPECT_EQ(numberText(uint16_t(65535)), Glib::ustring::compose("%1", 65535u));
    EXPECT_EQ(numberText(int32_t(INT32_MIN)), Glib::ustring::compose("%1", INT32_MIN));
}

TEST(NumberText, FloatingAndHexSameAsTheStream)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double n : {0.0, -0.0, 1.0, -273.15, 26.850006103515625, 0.5, 1.0 / 3, 123456.0, 1234567.0,
                     1e-5, 0.0001, 1e16, -1.5e-300, std::numeric_limits<double>::max(),
                     std::numeric_limits<double>::denorm_min(), inf, -inf, nan, -nan})
        EXPECT_EQ(numberText(n), Glib::ustring::compose("%1", n)) << n;
    for (uint64_t n : {uint64_t(0), uint64_t(0xabcdef), uint64_t(0xffffffffffffffff)})
        EXPECT_EQ(hexText(n), Glib::ustring::format(std::hex, n)) << n;
    EXPECT_EQ(hexText(uint16_t(0xbeef)), Glib::ustring::format(std::hex, uint16_t(0xbeef)));
    EXPECT_EQ(hexText(uint32_t(0)), Glib::ustring::format(std::hex, uint32_t(0)));
}

// The fast check must agree with GLib's on every kind of text, wherever in
// the eight-byte words the odd byte falls.
TEST(ValidUtf8, AgreesWithGlib)
{
    const std::string samples[] = {
        "",       "kern.ostype",  "caf\xc3\xa9",   "\xc3",          "\xc3\x28",      "\xe2\x82\xac",
        "\xe2\x82", "\xf0\x9f\x98\x80", "\xf4\x90\x80\x80", "\xc0\xaf", "\xed\xa0\x80", "\xff",
        std::string("a\0b", 3),
    };
    for (const std::string &sample : samples)
        for (std::size_t pad = 0; pad < 17; ++pad) {
            const std::string text = std::string(pad, 'x') + sample + std::string(17 - pad, 'y');
            const bool expected = g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
            EXPECT_EQ(isValidUtf8(text.data(), text.size()), expected) << pad << ": " << text;
        }
}

}  // namespace
