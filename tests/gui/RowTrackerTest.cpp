// Following one object's row while the tree changes under it.
#include "mib/CtlType.h"
#include "model/Model.h"
#include "objectwindow/RowTracker.h"
#include "support/SimObjectsAndRows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void addObject(std::vector<int> oid, const std::string &name, unsigned type,
               const std::string &value = {})
{
    sim::add(simObject(std::move(oid), name, type, flag::RD | flag::WR, value));
}

class RowTrackerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
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

    Model model;
};

// Rebuilds, hidden internal nodes and removed objects are covered through
// the object window's set-value dialog; these are the tracker's own cases.
TEST_F(RowTrackerTest, FollowsItsRowWhenTheViewSortsIt)
{
    RowTracker tracker(sortedRow(model, "kern.sub.c"), &model);
    RowTracker first(sortedRow(model, "kern.a"), &model);
    model.sorted->set_sort_column(model.value, Gtk::SORT_ASCENDING);
    EXPECT_EQ(nameOf(model, tracker.current()), "kern.sub.c");
    EXPECT_EQ(nameOf(model, first.current()), "kern.a");
}

TEST_F(RowTrackerTest, FindsItsOwnObjectAmongLookAlikeNamesAfterARebuild)
{
    RowTracker tracker(sortedRow(model, "kern.sub.c"), &model);
    RowTracker other(sortedRow(model, "kerns.sub.c"), &model);
    ASSERT_TRUE(model.rebuildTree());
    Gtk::TreeModel::Row row = tracker.current();
    EXPECT_EQ(nameOf(model, row), "kern.sub.c");
    EXPECT_EQ(model.sorted->get_path(row), sortedPath(model, "kern.sub.c"));
    EXPECT_EQ(nameOf(model, other.current()), "kerns.sub.c");
    // And again once the view sorts.
    model.sorted->set_sort_column(model.value, Gtk::SORT_ASCENDING);
    EXPECT_EQ(nameOf(model, tracker.current()), "kern.sub.c");
}

}  // namespace
