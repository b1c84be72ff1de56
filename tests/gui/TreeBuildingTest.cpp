// Filling the model from the MIB: rows, columns, order, placeholders, the
// progress window and the failure when the MIB cannot be listed.
#include "mib/CtlType.h"
#include "model/Model.h"
#include "model/ProgressBarWindow.h"
#include "SimMib.h"
#include "support/SimObjectsAndRows.h"
#include "support/WindowRecorder.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using namespace flag;

// A small MIB: two top-level nodes, the internal subtree, a top-level leaf.
void loadSmallMib()
{
    sim::clear();
    sim::add(simObject({1}, "kern", ctlTypeNode, RD | WR));
    sim::Object ostype = simObject({1, 1}, "kern.ostype", ctlTypeString, RD | MPSAFE, sim::cstring("FreeBSD\n"));
    ostype.description = "Operating system type";
    ostype.label = "ostype";
    ostype.format = "A";
    sim::add(ostype);
    sim::add(simObject({1, 12}, "kern.maxfiles", ctlTypeInt, RD | WR | TUN, bytesOf<int32_t>({-5})));
    sim::add(simObject({1, 13}, "kern.skipped", ctlTypeInt, RD | SKIP, bytesOf<int32_t>({7})));
    sim::add(simObject({1, 14}, "kern.at100", ctlTypeString, RD, std::string(99, 'x') + '\0'));
    sim::add(simObject({1, 15}, "kern.at101", ctlTypeString, RD, std::string(100, 'y') + '\0'));
    sim::add(simObject({1, 16}, "kern.sub", ctlTypeNode, RD));
    sim::add(simObject({1, 16, 3}, "kern.sub.deep", ctlTypeU8, RD, std::string(1, '\xff')));
    sim::add(simObject({0}, "sysctl", ctlTypeNode, RD));
    sim::add(simObject({0, 102}, "sysctl.next", ctlTypeInt, RD, bytesOf<int32_t>({3})));
    sim::add(simObject({2}, "vm", ctlTypeNode, RD));
    sim::add(simObject({2, 1}, "vm.flags", ctlTypeU32, NM_CTLFLAG_RD, bytesOf<uint32_t>({4})));
    sim::add(simObject({7}, "single", 0, 0, {}));
}

std::vector<std::string> storeNames(Model &model)
{
    std::vector<std::string> names;
    model.store->foreach_iter([&](const Gtk::TreeModel::iterator &it) {
        names.push_back(Glib::ustring((*it)[model.fullName]));
        return false;
    });
    return names;
}

class TreeBuilding : public ::testing::Test {
protected:
    void SetUp() override { loadSmallMib(); }
    Model model;
};

TEST_F(TreeBuilding, RowsFollowTheMibDepthFirstAndNested)
{
    ASSERT_TRUE(model.rebuildTree());
    EXPECT_EQ(storeNames(model),
              (std::vector<std::string>{"sysctl", "sysctl.next", "kern", "kern.ostype", "kern.maxfiles",
                                        "kern.skipped", "kern.at100", "kern.at101", "kern.sub",
                                        "kern.sub.deep", "vm", "vm.flags", "single"}));
    EXPECT_EQ(model.store->children().size(), 4u);
    auto deep = storeRow(model, "kern.sub.deep");
    EXPECT_EQ(Glib::ustring(deep.parent()->get_value(model.fullName)), "kern.sub");
    EXPECT_EQ(Glib::ustring(deep[model.name]), "deep");
    EXPECT_EQ(Glib::ustring(deep[model.oid]), "1. 16. 3");
}

TEST_F(TreeBuilding, EveryColumnOfOneRow)
{
    ASSERT_TRUE(model.rebuildTree());
    auto row = storeRow(model, "kern.ostype");
    EXPECT_FALSE(row[model.internal]);
    EXPECT_EQ(Glib::ustring(row[model.name]), "ostype");
    EXPECT_EQ(Glib::ustring(row[model.oid]), "1. 1");
    EXPECT_EQ(Glib::ustring(row[model.label]), "ostype");
    EXPECT_EQ(Glib::ustring(row[model.description]), "Operating system type");
    EXPECT_EQ(Glib::ustring(row[model.flags]), "0x80040000");
    EXPECT_EQ(Glib::ustring(row[model.type]), "string");
    EXPECT_EQ(Glib::ustring(row[model.format]), "A");
    EXPECT_EQ(Glib::ustring(row[model.value]), "FreeBSD");
    EXPECT_EQ(Glib::ustring(row[model.fullName]), "kern.ostype");
    EXPECT_EQ(guint32(row[model.flagBits]), 0x80040000u);
    EXPECT_EQ(guint32(row[model.typeCode]), 3u);
    for (const FlagEntry &entry : model.flagTable) {
        const bool expected = std::string(entry.name) == "RD" || std::string(entry.name) == "MPSAFE";
        EXPECT_EQ(bool(row[entry.column]), expected) << entry.name;
    }
}

TEST_F(TreeBuilding, FlagColumnsNeedEveryBitOfTheirMask)
{
    ASSERT_TRUE(model.rebuildTree());
    auto tun = storeRow(model, "kern.maxfiles");  // 0xc0080000
    std::map<std::string, bool> set;
    for (const FlagEntry &entry : model.flagTable)
        set[entry.name] = tun[entry.column];
    for (const char *on : {"RD", "WR", "RW", "TUN", "RDTUN", "RWTUN"})
        EXPECT_TRUE(set[on]) << on;
    int count = 0;
    for (auto &[flagName, isSet] : set)
        count += isSet;
    EXPECT_EQ(count, 6);

    auto readOnly = storeRow(model, "vm.flags");  // 0x80000000
    EXPECT_TRUE(readOnly[model.RD]);
    EXPECT_FALSE(readOnly[model.WR]);
    EXPECT_FALSE(readOnly[model.RW]);
    EXPECT_EQ(Glib::ustring(readOnly[model.flags]), "0x80000000");
}

TEST_F(TreeBuilding, ValuesAndPlaceholders)
{
    ASSERT_TRUE(model.rebuildTree());
    EXPECT_EQ(Glib::ustring(storeRow(model, "kern.maxfiles")[model.value]), "-5");
    EXPECT_EQ(Glib::ustring(storeRow(model, "kern.skipped")[model.value]), "[CLICK TO SHOW]");
    EXPECT_EQ(Glib::ustring(storeRow(model, "kern.at100")[model.value]), std::string(99, 'x'));
    EXPECT_EQ(Glib::ustring(storeRow(model, "kern.at101")[model.value]), "[CLICK TO SHOW]");
    EXPECT_EQ(sim::counts("kern.skipped").probes, 0);
    EXPECT_EQ(sim::counts("kern.at101").reads, 0);
    EXPECT_EQ(Glib::ustring(storeRow(model, "kern.sub.deep")[model.value]), "255");
    EXPECT_EQ(Glib::ustring(storeRow(model, "kern")[model.value]), "");
}

TEST_F(TreeBuilding, MissingTextsStayEmptyAndOddTypesAreNamed)
{
    ASSERT_TRUE(model.rebuildTree());
    auto single = storeRow(model, "single");
    EXPECT_EQ(Glib::ustring(single[model.name]), "single");
    EXPECT_EQ(Glib::ustring(single[model.label]), "");
    EXPECT_EQ(Glib::ustring(single[model.description]), "");
    EXPECT_EQ(Glib::ustring(single[model.format]), "");
    EXPECT_EQ(Glib::ustring(single[model.flags]), "0x0");
    EXPECT_EQ(Glib::ustring(single[model.type]), "ZEROUNUSED");
    EXPECT_EQ(guint32(single[model.typeCode]), 0u);
}

TEST_F(TreeBuilding, InternalSubtreeIsMarkedAndFiltered)
{
    ASSERT_TRUE(model.rebuildTree());
    EXPECT_TRUE(storeRow(model, "sysctl")[model.internal]);
    EXPECT_TRUE(storeRow(model, "sysctl.next")[model.internal]);
    EXPECT_EQ(model.sorted->children().size(), 3u);  // kern, vm, single
    model.toggleInternal();
    EXPECT_EQ(model.sorted->children().size(), 4u);
}

TEST_F(TreeBuilding, BuildingTwiceGivesEachRowOnce)
{
    ASSERT_TRUE(model.rebuildTree());
    const auto first = storeNames(model);
    ASSERT_TRUE(model.rebuildTree());
    EXPECT_EQ(storeNames(model), first);
}

TEST_F(TreeBuilding, UnavailableMibGivesFalseEmptyStoreAndNoProgressWindow)
{
    ASSERT_TRUE(model.rebuildTree());
    sim::setMibAvailable(false);
    WindowRecorder windows;
    EXPECT_FALSE(model.rebuildTree());
    EXPECT_EQ(model.store->children().size(), 0u);
    EXPECT_EQ(model.sorted->children().size(), 0u);
    EXPECT_TRUE(windows.shown.empty());
}

TEST_F(TreeBuilding, ProgressWindowNamesEachTopLevelSubtreeInOrder)
{
    // At every value probe, note what the progress bar says.
    std::vector<std::string> texts;
    sim::setHook([&](const char *op, const std::string &) {
        if (std::string(op) != "probe")
            return;
        for (Gtk::Window *window : Gtk::Window::list_toplevels())
            if (auto *progress = dynamic_cast<ProgressBarWindow *>(window)) {
                const std::string text = progress->bar.get_text();
                if (texts.empty() || texts.back() != text)
                    texts.push_back(text);
            }
    });
    sim::add(simObject({9}, "toplevel", ctlTypeNode, RD));
    sim::add(simObject({9, 1}, "toplevel.leaf", ctlTypeInt, RD, bytesOf<int32_t>({1})));
    WindowRecorder windows;
    ASSERT_TRUE(model.rebuildTree());
    EXPECT_EQ(texts, (std::vector<std::string>{"'sysctl' subtree", "'kern' subtree", "'vm' subtree",
                                               "'toplevel' subtree"}));
    EXPECT_EQ(windows.shown, (std::vector<std::string>{"Building Tree"}));
    for (Gtk::Window *window : Gtk::Window::list_toplevels())
        EXPECT_EQ(dynamic_cast<ProgressBarWindow *>(window), nullptr) << "progress window left behind";
}

TEST_F(TreeBuilding, ObjectGoneBetweenListingAndReadGivesEmptyValue)
{
    sim::setHook([](const char *op, const std::string &name) {
        if (std::string(op) == "probe" && name == "kern.ostype")
            sim::remove("kern.ostype");
    });
    ASSERT_TRUE(model.rebuildTree());
    EXPECT_EQ(Glib::ustring(storeRow(model, "kern.ostype")[model.value]), "");
    EXPECT_EQ(Glib::ustring(storeRow(model, "kern.maxfiles")[model.value]), "-5");
}

}  // namespace
