// Copying rows of both trees: Ctrl+C on the selected row, and the menu on a
// row with its three items; values the tree leaves unread are read in full.
#include "mib/CtlType.h"
#include "model/Model.h"
#include "model/Trees.h"
#include "SimMib.h"
#include "support/DialogWatcher.h"
#include "support/ShownTrees.h"
#include "support/SimObjectsAndRows.h"

#include <gtest/gtest.h>
#include <gtkmm/clipboard.h>

#include <string>

namespace {

using namespace flag;

const std::string longText(150, 'q');

class RowCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
        sim::add(simObject({1}, "kern", ctlTypeNode, RD));
        sim::add(simObject({1, 1}, "kern.ostype", ctlTypeString, RD | WR, sim::cstring("Linux")));
        sim::add(simObject({1, 2}, "kern.long", ctlTypeString, RD, sim::cstring(longText)));
        sim::add(simObject({1, 3}, "kern.skipped", ctlTypeInt, RD | SKIP, bytesOf<int32_t>({42})));
        ASSERT_TRUE(model.rebuildTree());
        views.show();
        runMainLoopFor(50);
        Gtk::Clipboard::get()->set_text("before");
    }

    void TearDown() override { trees.copier.menu.popdown(); }

    // Sends the event to the toplevel window as the display would.
    void dispatch(GdkEvent *event, const Glib::RefPtr<Gdk::Window> &window)
    {
        event->any.window = GDK_WINDOW(g_object_ref(window->gobj()));
        event->any.send_event = TRUE;
        gtk_main_do_event(event);
        gdk_event_free(event);
    }

    void pressKey(Gtk::TreeView &view, guint keyval, guint state)
    {
        view.grab_focus();
        GdkEvent *event = gdk_event_new(GDK_KEY_PRESS);
        event->key.keyval = keyval;
        event->key.state = state;
        event->key.time = GDK_CURRENT_TIME;
        GdkKeymapKey *keys = nullptr;
        gint count = 0;
        if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(host.get_display()->gobj()),
                                              keyval, &keys, &count) && count > 0)
            event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
        g_free(keys);
        gdk_event_set_device(event, seat()->get_keyboard()->gobj());
        dispatch(event, host.get_window());
    }

    void pressCtrlC(Gtk::TreeView &view) { pressKey(view, GDK_KEY_c, GDK_CONTROL_MASK); }

    void rightClick(Gtk::TreeView &view, const std::string &fullName)
    {
        Gdk::Rectangle cell;
        view.get_cell_area(sortedPath(model, fullName), *view.get_column(0), cell);
        GdkEvent *event = gdk_event_new(GDK_BUTTON_PRESS);
        event->button.button = GDK_BUTTON_SECONDARY;
        event->button.x = cell.get_x() + 5;
        event->button.y = cell.get_y() + cell.get_height() / 2;
        event->button.time = GDK_CURRENT_TIME;
        gdk_event_set_device(event, seat()->get_pointer()->gobj());
        dispatch(event, view.get_bin_window());
    }

    Glib::RefPtr<Gdk::Seat> seat() { return host.get_display()->get_default_seat(); }

    Gtk::MenuItem *item(const std::string &label)
    {
        for (Gtk::Widget *child : trees.copier.menu.get_children())
            if (auto *menuItem = dynamic_cast<Gtk::MenuItem *>(child))
                if (menuItem->get_label() == label)
                    return menuItem;
        ADD_FAILURE() << "no menu item " << label;
        return nullptr;
    }

    static std::string clipboard() { return Gtk::Clipboard::get()->wait_for_text(); }

    Model model;
    ShownTrees views{model};
    Trees &trees = views.trees;
    Gtk::Window &host = views.host;
};

TEST_F(RowCopy, CtrlCCopiesNameEqualsValueOfTheSelectedRowInEitherTree)
{
    struct Case {
        std::string fullName;
        std::string line;
    } cases[] = {
        {"kern.ostype", "kern.ostype = Linux"},
        {"kern.long", "kern.long = " + longText},    // the tree shows [CLICK TO SHOW]
        {"kern.skipped", "kern.skipped = 42"},       // likewise
    };
    for (Gtk::TreeView *view : {&trees.mainTree, &trees.flagsTree})
        for (const Case &c : cases) {
            view->get_selection()->select(sortedPath(model, c.fullName));
            const int reads = sim::counts(c.fullName).reads;
            pressCtrlC(*view);
            EXPECT_EQ(clipboard(), c.line);
            // Read afresh only where the row does not hold the value.
            EXPECT_EQ(sim::counts(c.fullName).reads - reads, c.fullName == "kern.ostype" ? 0 : 1);
        }

    // Nothing selected: nothing copied.
    trees.mainTree.get_selection()->unselect_all();
    Gtk::Clipboard::get()->set_text("kept");
    pressCtrlC(trees.mainTree);
    EXPECT_EQ(clipboard(), "kept");
}

TEST_F(RowCopy, MenuOnARowCopiesItsNameItsValueOrBoth)
{
    struct Case {
        const char *label;
        std::string text;
    } cases[] = {
        {"Copy Name", "kern.long"},
        {"Copy Value", longText},
        {"Copy Name = Value", "kern.long = " + longText},
    };
    for (Gtk::TreeView *view : {&trees.mainTree, &trees.flagsTree})
        for (const Case &c : cases) {
            view->get_selection()->select(sortedPath(model, "kern.ostype"));
            rightClick(*view, "kern.long");
            ASSERT_TRUE(trees.copier.menu.get_visible()) << c.label;
            EXPECT_EQ(view->get_model()->get_path(view->get_selection()->get_selected()),
                      sortedPath(model, "kern.long"));
            Gtk::MenuItem *menuItem = item(c.label);
            ASSERT_NE(menuItem, nullptr);
            menuItem->activate();
            EXPECT_EQ(clipboard(), c.text) << c.label;
            trees.copier.menu.popdown();
        }
    EXPECT_EQ(trees.copier.menu.get_children().size(), 3u);

    // The menu key opens it on the selected row.
    trees.mainTree.get_selection()->select(sortedPath(model, "kern.skipped"));
    pressKey(trees.mainTree, GDK_KEY_Menu, 0);
    ASSERT_TRUE(trees.copier.menu.get_visible());
    item("Copy Name = Value")->activate();
    EXPECT_EQ(clipboard(), "kern.skipped = 42");
}

}  // namespace
