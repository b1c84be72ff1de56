// The object window: opened from rows of both trees, its widget tree and
// every field, the flags legend, the handler answer, read-only controls, and
// the window's memory once it is closed.
#include "mib/CtlType.h"
#include "model/Model.h"
#include "model/Trees.h"
#include "objectwindow/ObjectWindow.h"
#include "SimMib.h"
#include "support/DialogWatcher.h"
#include "support/ObjectWindowParts.h"
#include "support/ShownTrees.h"
#include "support/SimObjectsAndRows.h"

#include <gtest/gtest.h>
#include <gtkmm/entry.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

using namespace flag;

class ObjectWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
        sim::add(simObject({1}, "kern", ctlTypeNode, RD));
        sim::Object ostype = simObject({1, 1}, "kern.ostype", ctlTypeString, RD | WR | MPSAFE,
                                  sim::cstring("FreeBSD\n"));
        ostype.description = "Operating system type";
        ostype.label = "ostype label";
        ostype.format = "A";
        sim::add(ostype);
        sim::add(simObject({1, 2}, "kern.readonly", ctlTypeInt, RD | TUN, bytesOf<int32_t>({3})));
        sim::add(simObject({1, 3}, "kern.skipped", ctlTypeInt, RD | SKIP, bytesOf<int32_t>({42})));
        sim::add(simObject({1, 4}, "kern.long", ctlTypeString, RD, sim::cstring(std::string(150, 'q'))));
        sim::add(simObject({1, 5}, "kern.noflags", ctlTypeInt, 0, bytesOf<int32_t>({1})));
        sim::add(simObject({1, 6}, "kern.bare", ctlTypeNode, RD));  // a node without handler
        sim::add(simObject({2}, "vm", ctlTypeNode, RD | WR));
        ASSERT_TRUE(model.rebuildTree());
        baseline = objectWindowCount();
    }

    void TearDown() override
    {
        for (ObjectWindow *window : openObjectWindows())
            delete window;
        EXPECT_EQ(objectWindowCount(), baseline);
    }

    ObjectWindow *open(const std::string &fullName)
    {
        return new ObjectWindow(sortedRow(model, fullName), &model);
    }

    Model model;
    int baseline = 0;
};

TEST_F(ObjectWindowTest, OpensFromRowsOfBothTreesOncePerActivation)
{
    ShownTrees views(model);
    views.show();
    Trees &trees = views.trees;

    // Sorted, so that the views' paths differ from the store's.
    model.sorted->set_sort_column(model.name, Gtk::SORT_DESCENDING);
    const Gtk::TreePath path = sortedPath(model, "kern.ostype");
    ASSERT_NE(path, model.store->get_path(*model.store->children().begin()->children().begin()));
    trees.mainTree.row_activated(path, *trees.mainTree.get_column(0));
    trees.flagsTree.row_activated(path, *trees.flagsTree.get_column(1));
    trees.mainTree.row_activated(path, *trees.mainTree.get_column(0));

    const std::vector<ObjectWindow *> opened = openObjectWindows();
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(objectWindowCount(), baseline + 3);
    for (ObjectWindow *window : opened) {
        EXPECT_TRUE(window->get_visible());
        EXPECT_EQ(window->get_title(), "ostype");
        EXPECT_EQ(fieldText(*window, 1), "kern.ostype");
        EXPECT_EQ(fieldText(*window, 8), "FreeBSD");
    }
}

TEST_F(ObjectWindowTest, EveryFieldOfAWritableObject)
{
    ObjectWindow *window = open("kern.ostype");
    EXPECT_TRUE(window->get_visible());
    EXPECT_EQ(window->get_title(), "ostype");
    EXPECT_EQ(fieldText(*window, 0), "1. 1");
    EXPECT_EQ(fieldText(*window, 1), "kern.ostype");
    EXPECT_EQ(fieldText(*window, 2), "Operating system type");
    EXPECT_EQ(fieldText(*window, 3), "ostype label");
    EXPECT_EQ(fieldText(*window, 4),
              "RD,  Can read the value\n"
              "WR,  Can write the value\n"
              "RW,  RD and WR\n"
              "MPSAFE,  Multiprocessor safe");
    EXPECT_EQ(fieldText(*window, 5), "Defined");
    EXPECT_EQ(fieldText(*window, 6), "string");
    EXPECT_EQ(fieldText(*window, 7), "A");
    EXPECT_EQ(fieldText(*window, 8), "FreeBSD");
    EXPECT_EQ(window->valueBuffer, fieldView(*window, 8)->get_buffer());

    Gtk::Button *button = setButtonOf(*window);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->get_label(), "Set Value");
    EXPECT_FALSE(button->get_use_underline());
    EXPECT_TRUE(button->get_sensitive());
    EXPECT_EQ(gridOf(*window)->get_child_at(1, 9), window->newValueEntry);
    EXPECT_TRUE(window->newValueEntry->get_sensitive());
    EXPECT_EQ(window->newValueEntry->get_text(), "");
    EXPECT_TRUE(window->newValueEntry->get_hexpand());
}

TEST_F(ObjectWindowTest, WidgetTreeAndLayout)
{
    ObjectWindow *window = open("kern.ostype");
    ASSERT_NE(viewportOf(*window), nullptr);  // window, scrolled window, viewport
    Gtk::Grid *grid = gridOf(*window);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->get_children().size(), 20u);

    const char *titles[] = {"OID", "Name", "Description", "Label", "Flags",
                            "Handler", "Type", "Format", "Value"};
    for (int r = 0; r < 9; ++r) {
        auto *label = dynamic_cast<Gtk::Label *>(grid->get_child_at(0, r));
        ASSERT_NE(label, nullptr) << r;
        EXPECT_EQ(label->get_text(), titles[r]);
        EXPECT_EQ(label->get_xalign(), 1.0f) << titles[r];
        EXPECT_EQ(label->get_yalign(), 0.0f) << titles[r];

        // Read-only wrapping text, monospace for the value alone.
        Gtk::TextView *view = fieldView(*window, r);
        ASSERT_NE(view, nullptr) << r;
        EXPECT_FALSE(view->get_editable()) << r;
        EXPECT_EQ(view->get_wrap_mode(), Gtk::WRAP_WORD_CHAR) << r;
        EXPECT_EQ(view->get_monospace(), r == 8) << r;
        EXPECT_TRUE(view->get_visible()) << r;
    }
}

TEST_F(ObjectWindowTest, ValueIsReadInFullEvenWhereTheTreeShowsThePlaceholder)
{
    EXPECT_EQ(Glib::ustring(sortedRow(model, "kern.skipped")[model.value]), "[CLICK TO SHOW]");
    EXPECT_EQ(Glib::ustring(sortedRow(model, "kern.long")[model.value]), "[CLICK TO SHOW]");
    EXPECT_EQ(fieldText(*open("kern.skipped"), 8), "42");
    EXPECT_EQ(fieldText(*open("kern.long"), 8), std::string(150, 'q'));

    // Read now from the kernel, not taken from the tree.
    sim::setValue("kern.ostype", sim::cstring("Changed"));
    EXPECT_EQ(fieldText(*open("kern.ostype"), 8), "Changed");
}

TEST_F(ObjectWindowTest, NodeShowsNoValueAndItsButtonFollowsWR)
{
    ObjectWindow *writableNode = open("vm");
    EXPECT_EQ(fieldText(*writableNode, 8), "");
    EXPECT_TRUE(setButtonOf(*writableNode)->get_sensitive());
    ObjectWindow *readOnlyNode = open("kern");
    EXPECT_EQ(fieldText(*readOnlyNode, 8), "");
    EXPECT_FALSE(setButtonOf(*readOnlyNode)->get_sensitive());
}

TEST_F(ObjectWindowTest, ReadOnlyObjectHasInsensitiveControls)
{
    ObjectWindow *window = open("kern.readonly");
    EXPECT_FALSE(setButtonOf(*window)->get_sensitive());
    EXPECT_FALSE(window->newValueEntry->get_sensitive());
    EXPECT_EQ(window->newValueEntry->get_text(), "Not Writable");
    EXPECT_EQ(fieldText(*window, 4),
              "RD,  Can read the value\n"
              "TUN,  Default value is loaded from getenv()\n"
              "RDTUN,  RD and TUN");
    EXPECT_EQ(fieldText(*window, 8), "3");
}

TEST_F(ObjectWindowTest, EmptyLegendAndEmptyTextsForAnObjectWithoutThem)
{
    ObjectWindow *window = open("kern.noflags");
    EXPECT_EQ(fieldText(*window, 4), "");
    EXPECT_EQ(fieldText(*window, 2), "");
    EXPECT_EQ(fieldText(*window, 3), "");
    EXPECT_EQ(fieldText(*window, 7), "");
    EXPECT_EQ(fieldText(*window, 8), "");  // no RD
}

TEST_F(ObjectWindowTest, HandlerAnswerForEachOutcome)
{
    EXPECT_EQ(fieldText(*open("kern.bare"), 5), "Undefined");
    sim::failHandlerQuery("kern.ostype", EIO);
    ObjectWindow *window = open("kern.ostype");
    EXPECT_EQ(fieldText(*window, 5), std::string("ERROR: ") + std::strerror(EIO));
    // The rest of the window is built as usual.
    EXPECT_EQ(fieldText(*window, 8), "FreeBSD");
    EXPECT_TRUE(setButtonOf(*window)->get_sensitive());
}

TEST_F(ObjectWindowTest, ClosedWindowIsDeleted)
{
    ObjectWindow *first = open("kern.ostype");
    ObjectWindow *second = open("kern.ostype");
    runMainLoopFor(50);
    ASSERT_EQ(objectWindowCount(), baseline + 2);
    closeAsUser(*first);
    runMainLoopFor(50);
    EXPECT_EQ(objectWindowCount(), baseline + 1);
    EXPECT_EQ(openObjectWindows(), std::vector<ObjectWindow *>{second});
    second->hide();
    EXPECT_EQ(objectWindowCount(), baseline);
}

}  // namespace
