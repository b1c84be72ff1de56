// Following one object's row while the tree changes under it: sorting,
// rebuilding, hiding internal nodes and objects that are gone.
#include "mib/CtlType.h"
#include "mib/SysctlException.h"
#include "model/Model.h"
#include "objectwindow/RowTracker.h"
#include "SimMib.h"
#include "support/SortedRows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint32_t RD = 0x80000000u, WR = 0x40000000u;

void addObject(std::vector<int> oid, const std::string &name, unsigned type,
               const std::string &value = {})
{
    sim::Object o;
    o.oid = std::move(oid);
    o.name = name;
    o.type = static_cast<uint8_t>(type);
    o.flags = RD | WR;
    o.value = value;
    sim::add(o);
}

class RowTrackerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
        addObject({0}, "sysctl", ctlTypeNode);
        addObject({0, 3}, "sysctl.inner", ctlTypeString, sim::cstring("i"));
        addObject({1}, "kern", ctlTypeNode);
        addObject({1, 1}, "kern.a", ctlTypeString, sim::cstring("z"));
        addObject({1, 2}, "kern.b", ctlTypeString, sim::cstring("y"));
        addObject({1, 3}, "kern.sub", ctlTypeNode);
        addObject({1, 3, 1}, "kern.sub.c", ctlTypeString, sim::cstring("x"));
        addObject({2}, "kerns", ctlTypeNode);
        addObject({2, 1}, "kerns.sub", ctlTypeNode);
        addObject({2, 1, 1}, "kerns.sub.c", ctlTypeString, sim::cstring("w"));
        ASSERT_TRUE(model.rebuildTree());
    }

    static std::string nameOf(Model &model, const Gtk::TreeModel::Row &row)
    {
        return Glib::ustring(row[model.fullName]);
    }

    // The refusal's message, or empty when a row was given.
    std::string refusal(RowTracker &tracker)
    {
        try {
            tracker.current();
        } catch (SysctlException *error) {
            const std::string message = error->what();
            delete error;
            return message;
        }
        return {};
    }

    Model model;
};

TEST_F(RowTrackerTest, FollowsItsRowWhenTheViewSortsIt)
{
    RowTracker tracker(sortedRow(model, "kern.sub.c"), &model);
    RowTracker first(sortedRow(model, "kern.a"), &model);
    sim::resetCounts();
    model.sorted->set_sort_column(model.value, Gtk::SORT_ASCENDING);
    EXPECT_EQ(nameOf(model, tracker.current()), "kern.sub.c");
    EXPECT_EQ(nameOf(model, first.current()), "kern.a");
    EXPECT_EQ(sim::totals().describe, 0) << "the tracker reads nothing from the kernel";
}

TEST_F(RowTrackerTest, FindsTheObjectAgainAfterARebuild)
{
    RowTracker tracker(sortedRow(model, "kern.sub.c"), &model);
    RowTracker other(sortedRow(model, "kerns.sub.c"), &model);
    ASSERT_TRUE(model.rebuildTree());
    Gtk::TreeModel::Row row = tracker.current();
    EXPECT_EQ(nameOf(model, row), "kern.sub.c");
    EXPECT_EQ(model.sorted->get_path(row), sortedPath(model, "kern.sub.c"));
    // A name that merely starts like another's leads to its own row.
    EXPECT_EQ(nameOf(model, other.current()), "kerns.sub.c");
    // Found once, it is followed again without searching.
    model.sorted->set_sort_column(model.value, Gtk::SORT_ASCENDING);
    EXPECT_EQ(nameOf(model, tracker.current()), "kern.sub.c");
}

TEST_F(RowTrackerTest, RefusesWhileTheInternalRowIsHiddenAndFindsItOnceShown)
{
    model.toggleInternal();
    RowTracker tracker(sortedRow(model, "sysctl.inner"), &model);
    model.toggleInternal();
    EXPECT_EQ(refusal(tracker),
              "The object is hidden in the tree; show the internal nodes to set its value");
    model.toggleInternal();
    EXPECT_EQ(nameOf(model, tracker.current()), "sysctl.inner");
}

TEST_F(RowTrackerTest, RefusesWhenTheObjectIsGone)
{
    RowTracker tracker(sortedRow(model, "kern.sub.c"), &model);
    EXPECT_EQ(tracker.objectName(), "kern.sub.c");
    sim::remove("kern.sub");
    ASSERT_TRUE(model.rebuildTree());
    EXPECT_EQ(refusal(tracker), "The object is no longer in the tree; open it again from the tree");
    EXPECT_EQ(tracker.objectName(), "kern.sub.c");
}

}  // namespace
