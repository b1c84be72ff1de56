// The fixture text format: what each construct produces, and that every kind
// of mistake is reported with its line while the loaded MIB stays intact.
#include "SimMib.h"
#include "support/ValueBytes.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

class SimFixtureTest : public ::testing::Test {
protected:
    void SetUp() override { sim::clear(); }
};

TEST_F(SimFixtureTest, AttributesAndTypeNamesAreRead)
{
    sim::loadFixture(R"(# a comment line
object 3 top
    type NODE
object 3.7 top.a   # trailing comment
    type unsigned integer
    flags RD|WR|0x100|ctlflag_skip
    format "IU"
    description "say \"hi\"\t"
    label ""
object 3.8 top.b
    type CTLTYPE_U8
    handler no
object 3.9 top.c
    type 15
    flags 0
    handler yes
object 3.9.0 top.c.d
    type node
)");
    ASSERT_EQ(sim::objectCount(), 5u);
    EXPECT_FALSE(sim::object("top").hasHandler());  // a node has none by default
    const sim::Object a = sim::object("top.a");
    EXPECT_EQ(a.oid, (std::vector<int>{3, 7}));
    EXPECT_EQ(a.type, 6);
    EXPECT_EQ(a.flags, 0xC0000000u | 0x100u | 0x01000000u);
    EXPECT_EQ(a.format, "IU");
    EXPECT_EQ(a.description, "say \"hi\"\t");
    EXPECT_EQ(a.label, "");
    EXPECT_TRUE(a.hasHandler());  // a leaf has one by default
    EXPECT_EQ(a.value, "");
    const sim::Object b = sim::object("top.b");
    EXPECT_EQ(b.type, 10);
    EXPECT_FALSE(b.label.has_value());
    EXPECT_FALSE(b.description.has_value());
    EXPECT_FALSE(b.format.has_value());
    EXPECT_FALSE(b.hasHandler());
    EXPECT_EQ(sim::object("top.c").type, 15);
    EXPECT_EQ(sim::object("top.c.d").oid, (std::vector<int>{3, 9, 0}));
}

TEST_F(SimFixtureTest, ValueItemsBuildBytesInOrder)
{
    sim::loadFixture(R"(
object 1 v
    type opaque
    value i8 -1 u8 255 i16 -2 u16 0xffff i32 -3 u32 4000000000 i64 -5 u64 18446744073709551615
    value i32 0x80000000 "A\x42\103\n\0" hex 00ff 7f
    value repeat 3 ( u16 1 "z" ) u8 9
    value repeat 2 ( repeat 2 ( "ab" ) "-" )
)");
    std::string expected;
    expected += bytesOf<std::int8_t>({-1});
    expected += bytesOf<std::uint8_t>({255});
    expected += bytesOf<std::int16_t>({-2});
    expected += bytesOf<std::uint16_t>({0xffff});
    expected += bytesOf<std::int32_t>({-3});
    expected += bytesOf<std::uint32_t>({4000000000u});
    expected += bytesOf<std::int64_t>({-5});
    expected += bytesOf<std::uint64_t>({~0ull});
    expected += bytesOf<std::int32_t>({INT32_MIN});
    expected += std::string("ABC\n\0", 5) + std::string("\x00\xff\x7f", 3);
    for (int i = 0; i < 3; ++i)
        expected += bytesOf<std::uint16_t>({1}) + "z";
    expected += bytesOf<std::uint8_t>({9});  // the width from inside the group ended with it
    expected += "abab-abab-";
    EXPECT_BYTES_EQ(sim::value("v"), expected);
}

struct Malformed {
    const char *what;
    const char *text;  // appended to a valid first object on lines 1-2
    int line;
    const char *message;
};

class SimFixtureErrorTest : public ::testing::TestWithParam<Malformed> {
protected:
    void SetUp() override
    {
        sim::clear();
        sim::loadFixture("object 9 kept\n type int\n value i32 5\n");
    }
};

TEST_P(SimFixtureErrorTest, NamesTheLineAndKeepsTheMib)
{
    const Malformed &bad = GetParam();
    const std::string text = std::string("object 1 top\n  type node\n") + bad.text;
    try {
        sim::loadFixture(text);
        FAIL() << "accepted: " << bad.what;
    } catch (const std::runtime_error &error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("line " + std::to_string(bad.line) + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(bad.message), std::string::npos) << message;
    }
    EXPECT_EQ(sim::objectCount(), 1u);
    EXPECT_BYTES_EQ(sim::value("kept"), bytesOf<std::int32_t>({5}));
}

const Malformed malformed[] = {
    {"keyword", "  colour red\n", 3, "unknown keyword 'colour'"},
    {"duplicate", "  type node\n", 3, "second 'type'"},
    {"no type", "object 1.1 top.x\n  flags RD\n", 3, "has no 'type'"},
    {"oid text", "object 1..1 top.x\n type int\n", 3, "bad identifier '1..1'"},
    {"oid range", "object 1.99999999999 top.x\n type int\n", 3, "bad identifier"},
    {"object words", "object 1.1\n", 3, "missing a name"},
    {"object extra", "object 1.1 top.x y\n", 3, "unexpected 'y'"},
    {"type name", "object 1.1 top.x\n type float\n", 4, "unknown type 'float'"},
    {"type number", "object 1.1 top.x\n type 16\n", 4, "beyond 15"},
    {"flag name", "  flags RD|RX\n", 3, "unknown flag 'RX'"},
    {"flag empty", "  flags RD||WR\n", 3, "empty flag"},
    {"flag size", "  flags 0x100000000\n", 3, "32 bits"},
    {"format quotes", "  format IK\n", 3, "must be a quoted string"},
    {"unterminated", "  description \"open\n", 3, "unterminated string"},
    {"escape", "  label \"a\\qb\"\n", 3, "unknown escape '\\q'"},
    {"after string", "  format \"IK\" x\n", 3, "unexpected 'x'"},
    {"handler", "  handler maybe\n", 3, "yes or no"},
    {"no width", "  value 5\n", 3, "needs a width"},
    {"u8 range", "  value u8 256\n", 3, "'256' is out of range for u8"},
    {"i8 range", "  value i8 -129\n", 3, "out of range for i8"},
    {"unsigned sign", "  value u32 -1\n", 3, "out of range for u32"},
    {"not a number", "  value i32 12ab\n", 3, "'12ab' is not a number"},
    {"hex odd", "  value hex abc\n", 3, "odd number"},
    {"hex digits", "  value hex zz\n", 3, "not a run of hex bytes"},
    {"repeat paren", "  value repeat 2 \"a\"\n", 3, "expected '('"},
    {"repeat close", "  value repeat 2 ( \"a\"\n", 3, "missing ')'"},
    {"stray paren", "  value \"a\" )\n", 3, "without a repeat group"},
    {"repeat count", "  value repeat x ( \"a\" )\n", 3, "not a number"},
    {"too long", "  value repeat 100000000 ( \"ab\" )\n", 3, "longer than"},
    {"orphan", "object 2.1 vm.x\n type int\n", 3, "parent 'vm'"},
    {"twin", "object 1.1 top.x\n type int\nobject 1.2 top.x\n type int\n", 5, "duplicate name"},
    {"oid parent", "object 2.1 top.x\n type int\n", 3, "does not extend"},
    {"oid twice", "object 1.1 top.x\n type int\nobject 1.1 top.y\n type int\n", 5, "already used"},
};

INSTANTIATE_TEST_SUITE_P(Lines, SimFixtureErrorTest, ::testing::ValuesIn(malformed),
                         [](const ::testing::TestParamInfo<Malformed> &info) {
                             std::string name = info.param.what;
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name + "_" + std::to_string(info.index);
                         });

TEST_F(SimFixtureTest, AttributeBeforeAnyObjectAndUnreadableFilesAreErrors)
{
    EXPECT_THROW(
        {
            try {
                sim::loadFixture("# header\n  type int\n");
            } catch (const std::runtime_error &error) {
                EXPECT_STREQ(error.what(), "line 2: 'type' before the first 'object' line");
                throw;
            }
        },
        std::runtime_error);

    const std::string path = ::testing::TempDir() + "oidscope_missing.mib";
    std::remove(path.c_str());
    try {
        sim::loadFixtureFile(path);
        FAIL() << "loaded a missing file";
    } catch (const std::runtime_error &error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }

    sim::loadFixture("object 1 kept\n type int\n");
    EXPECT_THROW(sim::loadFixtureFile(::testing::TempDir()), std::runtime_error);  // a directory
    EXPECT_EQ(sim::objectCount(), 1u);

    const std::string broken = ::testing::TempDir() + "oidscope_broken.mib";
    std::FILE *file = std::fopen(broken.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("object 1 a\n type int\n value i8 300\n", file);
    std::fclose(file);
    try {
        sim::loadFixtureFile(broken);
        FAIL() << "loaded a broken file";
    } catch (const std::runtime_error &error) {
        EXPECT_EQ(std::string(error.what()), broken + ": line 3: '300' is out of range for i8");
    }
    std::remove(broken.c_str());
}

}  // namespace
