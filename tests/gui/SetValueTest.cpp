// Setting a value: the refusals in their order, the bytes that reach the
// kernel for each type, parse failures, the row update and the handler query.
#include "mib/CtlType.h"
#include "mib/SysctlException.h"
#include "model/Model.h"
#include "SimMib.h"
#include "support/SimObjectsAndRows.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace {

using namespace flag;

class SetValue : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
        sim::add(simObject({}, "kern", ctlTypeNode, RD | WR));
        sim::add(simObject({}, "kern.tunnode", ctlTypeNode, RD | WR | TUN));
        sim::add(simObject({}, "kern.rwtun", ctlTypeInt, RD | WR | TUN, bytesOf<int32_t>({1})));
        sim::add(simObject({}, "kern.rdtun", ctlTypeInt, RD | TUN, bytesOf<int32_t>({1})));
        sim::Object opaque = simObject({}, "kern.clock", ctlTypeOpaque, RD | WR, std::string(20, '\0'));
        opaque.format = "S,clockinfo";
        sim::add(opaque);
        sim::add(simObject({}, "kern.opaquero", ctlTypeOpaque, RD));
        sim::add(simObject({}, "kern.readonly", ctlTypeInt, RD, bytesOf<int32_t>({4})));
        sim::add(simObject({}, "kern.int", ctlTypeInt, RD | WR, bytesOf<int32_t>({0})));
        // Arrays of as many elements as the lists written to them.
        sim::add(simObject({}, "kern.s8", ctlTypeS8, RD | WR, std::string(3, '\0')));
        sim::add(simObject({}, "kern.s16", ctlTypeS16, RD | WR, bytesOf<int16_t>({0, 0})));
        sim::add(simObject({}, "kern.s32", ctlTypeS32, RD | WR, bytesOf<int32_t>({0, 0, 0})));
        sim::add(simObject({}, "kern.s64", ctlTypeS64, RD | WR, bytesOf<int64_t>({0, 0})));
        sim::add(simObject({}, "kern.long", ctlTypeLong, RD | WR, bytesOf<int64_t>({0})));
        sim::add(simObject({}, "kern.u8", ctlTypeU8, RD | WR, std::string(1, '\0')));
        sim::add(simObject({}, "kern.u16", ctlTypeU16, RD | WR, bytesOf<uint16_t>({0})));
        sim::add(simObject({}, "kern.uint", ctlTypeUint, RD | WR, bytesOf<uint32_t>({0})));
        sim::add(simObject({}, "kern.u32", ctlTypeU32, RD | WR, bytesOf<uint32_t>({0})));
        sim::add(simObject({}, "kern.ulong", ctlTypeUlong, RD | WR, bytesOf<uint64_t>({0})));
        sim::add(simObject({}, "kern.u64", ctlTypeU64, RD | WR, bytesOf<uint64_t>({0})));
        sim::add(simObject({}, "kern.str", ctlTypeString, RD | WR, sim::cstring("old")));
        sim::add(simObject({}, "kern.skipstr", ctlTypeString, RD | WR | SKIP, sim::cstring("old")));
        sim::add(simObject({}, "kern.writeonly", ctlTypeInt, WR));
        sim::add(simObject({}, "kern.action", ctlTypeString, WR));
        sim::add(simObject({}, "kern.zero", 0, RD | WR));
        sim::add(simObject({}, "kern.unknown", 0, RD | WR));  // type 0: no parse rule
        ASSERT_TRUE(model.rebuildTree());
    }

    // The message of the refusal; the exception is the catcher's to delete.
    std::string refusal(const std::string &name, const Glib::ustring &text)
    {
        try {
            model.setValue(sortedRow(model, name), text);
        } catch (SysctlException *error) {
            const std::string message = error->what();
            delete error;
            return message;
        }
        ADD_FAILURE() << name << " accepted \"" << text << "\"";
        return {};
    }

    // The bytes of the one write that setting the text made.
    std::string written(const std::string &name, const Glib::ustring &text)
    {
        sim::resetCounts();
        const auto before = sim::writes(name).size();
        try {
            model.setValue(sortedRow(model, name), text);
        } catch (SysctlException *error) {
            ADD_FAILURE() << name << " refused \"" << text << "\": " << error->what();
            delete error;
            return {};
        }
        const auto all = sim::writes(name);
        EXPECT_EQ(all.size(), before + 1) << name;
        return all.empty() ? std::string() : all.back();
    }

    Glib::ustring rowValue(const std::string &name)
    {
        return sortedRow(model, name)[model.value];
    }

    Model model;
};

TEST_F(SetValue, RefusalsComeInTheirOrder)
{
    struct Case {
        const char *name;
        const char *text;
        const char *message;
    };
    const Case cases[] = {
        // A node is refused before its TUN flag is looked at.
        {"kern.tunnode", "1", "A node object is not writable"},
        {"kern", "1", "A node object is not writable"},
        // TUN before writability: both the RWTUN and the read-only TUN object.
        {"kern.rwtun", "1", "TUN flag: the value should be set in /boot/loader.conf"},
        {"kern.rdtun", "1", "TUN flag: the value should be set in /boot/loader.conf"},
        // Opaque before writability.
        {"kern.clock", "1", "oidscope can not set an OPAQUE value"},
        {"kern.opaquero", "1", "oidscope can not set an OPAQUE value"},
        // Writability before the empty text.
        {"kern.readonly", "", "The value is not writable (the object has not the WR flag)"},
        {"kern.int", "", "Empty numeric new value"},
        {"kern.u64", "", "Empty numeric new value"},
        // The empty check comes before the type's parse rule.
        {"kern.zero", "", "Empty numeric new value"},
    };
    for (const Case &c : cases) {
        const std::string before = sim::value(c.name);
        const Glib::ustring rowBefore = rowValue(c.name);
        EXPECT_EQ(refusal(c.name, c.text), c.message) << c.name;
        EXPECT_TRUE(sim::writes(c.name).empty()) << c.name;
        EXPECT_BYTES_EQ(sim::value(c.name), before) << c.name;
        EXPECT_EQ(rowValue(c.name), rowBefore) << c.name;
    }
    EXPECT_EQ(sim::totals().name2oid, 0);
    EXPECT_EQ(sim::totals().writes, 0);
}

TEST_F(SetValue, NumbersAreParsedInBaseZeroAndStoredInTheElementWidth)
{
    EXPECT_BYTES_EQ(written("kern.s32", "1,2,3"), bytesOf<int32_t>({1, 2, 3}));
    EXPECT_BYTES_EQ(written("kern.int", "0x10"), bytesOf<int32_t>({16}));
    EXPECT_BYTES_EQ(written("kern.int", "0X1f"), bytesOf<int32_t>({31}));
    EXPECT_BYTES_EQ(written("kern.int", "010"), bytesOf<int32_t>({8}));
    EXPECT_BYTES_EQ(written("kern.int", " 5"), bytesOf<int32_t>({5}));
    EXPECT_BYTES_EQ(written("kern.int", "5x"), bytesOf<int32_t>({5}));
    EXPECT_BYTES_EQ(written("kern.s32", "+7, -8"), bytesOf<int32_t>({7, -8}));
    // Low bytes kept: no range check against the narrower type.
    EXPECT_BYTES_EQ(written("kern.u32", "-1"), bytesOf<uint32_t>({0xffffffffu}));
    EXPECT_BYTES_EQ(written("kern.u8", "300"), std::string(1, '\x2c'));
    EXPECT_BYTES_EQ(written("kern.s32", "0xffffffff"), bytesOf<int32_t>({-1}));
    EXPECT_BYTES_EQ(written("kern.s8", "-1,127,128"), std::string("\xff\x7f\x80", 3));
    EXPECT_BYTES_EQ(written("kern.s16", "-2,65537"), bytesOf<int16_t>({-2, 1}));
    EXPECT_BYTES_EQ(written("kern.u16", "0xabcd"), bytesOf<uint16_t>({0xabcd}));
    EXPECT_BYTES_EQ(written("kern.uint", "4294967296"), bytesOf<uint32_t>({0}));
    EXPECT_BYTES_EQ(written("kern.long", "-9223372036854775808"),
                    bytesOf<int64_t>({std::numeric_limits<int64_t>::min()}));
    EXPECT_BYTES_EQ(written("kern.s64", "9223372036854775807,-1"),
                    bytesOf<int64_t>({std::numeric_limits<int64_t>::max(), -1}));
    EXPECT_BYTES_EQ(written("kern.u64", "18446744073709551615"),
                    bytesOf<uint64_t>({std::numeric_limits<uint64_t>::max()}));
    EXPECT_BYTES_EQ(written("kern.ulong", "-2"), bytesOf<uint64_t>({0xfffffffffffffffeull}));
}

TEST_F(SetValue, StringsGoWithOneNulAndCommasAreNotSpecial)
{
    EXPECT_BYTES_EQ(written("kern.str", ""), std::string(1, '\0'));
    EXPECT_EQ(rowValue("kern.str"), "");
    EXPECT_BYTES_EQ(written("kern.str", "a, b,,"), std::string("a, b,,\0", 7));
    EXPECT_EQ(rowValue("kern.str"), "a, b,,");
    EXPECT_BYTES_EQ(written("kern.str", "h\xc3\xa9"), std::string("h\xc3\xa9\0", 4));
}

TEST_F(SetValue, NothingIsWrittenThatTheObjectCannotTakeWhole)
{
    // An empty text would run a write-only object's action with no value.
    EXPECT_EQ(refusal("kern.action", ""), std::strerror(EINVAL));
    // A list longer than the value held now.
    EXPECT_EQ(refusal("kern.int", "1,2"), "The new value has more numbers than the object holds");
    EXPECT_EQ(refusal("kern.s32", "1,2,3,4"), "The new value has more numbers than the object holds");
    EXPECT_EQ(sim::totals().writes, 0);
    EXPECT_EQ(rowValue("kern.int"), "0");
    // What does fit is written: a shorter list, a write-only object's list
    // (nothing to compare with) and a readable string's empty text.
    EXPECT_BYTES_EQ(written("kern.s32", "4,5"), bytesOf<int32_t>({4, 5}));
    EXPECT_BYTES_EQ(written("kern.writeonly", "1,2"), bytesOf<int32_t>({1, 2}));
    EXPECT_BYTES_EQ(written("kern.action", "run"), sim::cstring("run"));
}

TEST_F(SetValue, PiecesWithoutANumberOrOutOfRangeAreNotNumbers)
{
    for (const char *text : {"abc", "1,,2", ",", "1,", " ", "-", "x1", "1,abc",
                             "18446744073709551616", "-18446744073709551616",
                             "99999999999999999999999"})
        EXPECT_EQ(refusal("kern.u64", text), "The new value is not a number") << text;
    // Each signed parse has its own range.
    EXPECT_EQ(refusal("kern.s64", "9223372036854775808"), "The new value is not a number");
    EXPECT_EQ(refusal("kern.int", "-9223372036854775809"), "The new value is not a number");
    EXPECT_EQ(refusal("kern.u8", "abc"), "The new value is not a number");
    EXPECT_TRUE(sim::writes("kern.u64").empty());
    EXPECT_EQ(sim::totals().writes, 0);
    EXPECT_EQ(rowValue("kern.u64"), "0");
}

TEST_F(SetValue, TypesWithoutAParseRuleAreUnknown)
{
    EXPECT_EQ(refusal("kern.zero", "1"), "Unknown Object type");
    EXPECT_EQ(refusal("kern.unknown", "abc"), "Unknown Object type");
    EXPECT_EQ(sim::totals().writes, 0);
}

TEST_F(SetValue, RefusedWriteGivesTheSystemTextAndChangesNothing)
{
    sim::failWrite("kern.int", EPERM);
    sim::resetCounts();
    EXPECT_EQ(refusal("kern.int", "9"), std::strerror(EPERM));
    EXPECT_EQ(sim::counts("kern.int").writes, 1);
    EXPECT_BYTES_EQ(sim::value("kern.int"), bytesOf<int32_t>({0}));
    EXPECT_EQ(rowValue("kern.int"), "0");

    sim::failWrite("kern.int", EBUSY);
    EXPECT_EQ(refusal("kern.int", "9"), std::strerror(EBUSY));
}

TEST_F(SetValue, FailedOidLookupIsReportedAndNothingIsWritten)
{
    sim::failOidLookup("kern.int", ENOENT);
    EXPECT_EQ(refusal("kern.int", "9"), "nodemeta2 cannot get the OID of the object");
    EXPECT_EQ(sim::totals().writes, 0);
    EXPECT_EQ(rowValue("kern.int"), "0");
}

TEST_F(SetValue, ReadBackGoesToTheRowAndIsReturnedInFull)
{
    const std::string at100(100, 'a');
    EXPECT_EQ(model.setValue(sortedRow(model, "kern.str"), at100), at100);
    EXPECT_EQ(rowValue("kern.str"), at100);

    const std::string at101(101, 'b');
    EXPECT_EQ(model.setValue(sortedRow(model, "kern.str"), at101), at101);
    EXPECT_EQ(rowValue("kern.str"), "[CLICK TO SHOW]");

    // The kernel's own text, not the typed one: 300 reads back as 44.
    EXPECT_EQ(model.setValue(sortedRow(model, "kern.u8"), "300"), "44");
    EXPECT_EQ(rowValue("kern.u8"), "44");

    // Read back in full even when listings skip the value.
    EXPECT_EQ(model.setValue(sortedRow(model, "kern.skipstr"), "new"), "new");
    EXPECT_EQ(rowValue("kern.skipstr"), "new");
}

TEST_F(SetValue, WriteOnlyObjectIsWrittenAndReadsBackEmpty)
{
    Gtk::TreeModel::Row row = sortedRow(model, "kern.writeonly");
    row[model.value] = "stale";
    EXPECT_EQ(model.setValue(row, "7"), "");
    EXPECT_BYTES_EQ(sim::writes("kern.writeonly"), (std::vector<std::string>{bytesOf<int32_t>({7})}));
    EXPECT_EQ(rowValue("kern.writeonly"), "");
}

TEST_F(SetValue, RowOfASortedModelIsWrittenThroughToTheStore)
{
    // Sorted by value, descending: the sort model's order differs from the store's.
    model.sorted->set_sort_column(model.value, Gtk::SORT_DESCENDING);
    model.setValue(sortedRow(model, "kern.s16"), "-3");
    EXPECT_EQ(rowValue("kern.s16"), "-3");
    bool seen = false;
    model.store->foreach_iter([&](const Gtk::TreeModel::iterator &it) {
        if (Glib::ustring((*it)[model.fullName]) == "kern.s16") {
            EXPECT_EQ(Glib::ustring((*it)[model.value]), "-3");
            seen = true;
        }
        // No other row changed.
        if (Glib::ustring((*it)[model.fullName]) == "kern.s8") {
            EXPECT_EQ(Glib::ustring((*it)[model.value]), "0 0 0");
        }
        return false;
    });
    EXPECT_TRUE(seen);
}

TEST_F(SetValue, HandlerQueryAnswersOrThrowsTheSystemText)
{
    sim::add(simObject({}, "kern.bare", ctlTypeNode, RD));  // a node without handler
    EXPECT_TRUE(model.hasHandler("kern.int"));
    EXPECT_FALSE(model.hasHandler("kern.bare"));

    sim::failHandlerQuery("kern.int", EACCES);
    std::string message;
    try {
        model.hasHandler("kern.int");
    } catch (SysctlException *error) {
        message = error->what();
        delete error;
    }
    EXPECT_EQ(message, std::strerror(EACCES));
}

TEST(SysctlExceptionTest, KeepsFixedTextOrTheSystemText)
{
    static const char fixed[] = "fixed text";
    SysctlException fromText(fixed);
    EXPECT_EQ(fromText.message, fixed);  // the pointer itself
    const std::exception &base = fromText;
    EXPECT_STREQ(base.what(), "fixed text");

    SysctlException fromErrno(ENOENT);
    EXPECT_STREQ(fromErrno.what(), std::strerror(ENOENT));
}

}  // namespace
