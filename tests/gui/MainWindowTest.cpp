// The main window: start-up state, the MIB error dialog, the File and View
// commands driven through their menu items.
#include "WindowTestKit.h"

#include "SimMib.h"
#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Trees.h"
#include "support/DialogWatcher.h"
#include "support/SimObjectsAndRows.h"
#include "support/WindowRecorder.h"

#include <gtest/gtest.h>
#include <gtkmm/stack.h>

namespace {

using Titles = std::vector<std::string>;

const Titles mainDefaults{"Name", "Description", "Value"};
const Titles flagsDefaults{"Name", "RD", "WR", "ANYBODY", "TUN", "STATS", "NOFETCH", "CAPRD",
                           "CAPWR", "SECURE", "PRISON", "VNET", "MPSAFE", "DYN"};

const char *const mibErrorText =
    "Make sure that you have loaded the oidkmod kernel module, by doing\n\n"
    "     # kldload oidkmod\n\n"
    "or adding\n\n"
    "     oidkmod_load=\"YES\"\n\n"
    "to your /boot/loader.conf.\n";

void expectMibError(const SeenDialog &dialog, Gtk::Window *parent)
{
    EXPECT_TRUE(dialog.isMessage);
    EXPECT_EQ(dialog.type, Gtk::MESSAGE_ERROR);
    EXPECT_EQ(dialog.title, "");
    EXPECT_EQ(dialog.primary, "Error getting MIB info");
    EXPECT_EQ(dialog.secondary, mibErrorText);
    EXPECT_FALSE(dialog.primaryMarkup || dialog.secondaryMarkup);
    EXPECT_EQ(dialog.parent, parent);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { loadWindowMib(); }
};

TEST_F(MainWindowTest, StartsWithDefaultColumnsItemStatesAndCollapsedSearch)
{
    MainWindow window;
    EXPECT_EQ(window.get_title(), "oidscope");
    EXPECT_EQ(visibleTitles(window.trees->mainTree), mainDefaults);
    EXPECT_EQ(visibleTitles(window.trees->flagsTree), flagsDefaults);

    const Titles mainLabels{"OID", "Label", "Description", "Flags", "Type", "Format", "Value"};
    for (int k = 1; k <= 7; ++k)
        EXPECT_EQ(window.mainColumnItems[k - 1]->get_label(), mainLabels[k - 1]);
    for (int k = 1; k <= 21; ++k)
        EXPECT_EQ(window.flagsColumnItems[k - 1]->get_label(), window.trees->flagsTree.get_column(k)->get_title());
    EXPECT_TRUE(itemsMatchColumns(window.mainColumnItems, window.trees->mainTree));
    EXPECT_TRUE(itemsMatchColumns(window.flagsColumnItems, window.trees->flagsTree));

    EXPECT_FALSE(checkItem(window, {"View", "Internal nodes"})->get_active());
    EXPECT_FALSE(checkItem(window, {"View", "Search Name"})->get_active());
    EXPECT_TRUE(checkItem(window, {"View", "Wrap rows"})->get_active());
    EXPECT_FALSE(window.searchBar->get_search_mode());
    for (const Titles &path : {Titles{"File", "Refresh values"}, Titles{"File", "Rebuild all"},
                               Titles{"File", "Quit"}, Titles{"View", "Expand all nodes "},
                               Titles{"View", "Collapse the tree"}, Titles{"Help", "Flags"},
                               Titles{"Help", "Handbook"}, Titles{"Help", "FAQ"}, Titles{"Help", "About"}})
        EXPECT_NE(menuItem(window, path), nullptr) << path.back();

    // The trees hold the MIB without its internal subtree.
    EXPECT_EQ(topLevelNames(window.trees->mainTree.get_model(), window.model->fullName), (Titles{"kern", "vm"}));
    auto *page = window.trees->mainTree.get_parent();
    auto *stack = page ? dynamic_cast<Gtk::Stack *>(page->get_parent()) : nullptr;
    ASSERT_NE(stack, nullptr);
    EXPECT_EQ(stack->get_visible_child_name(), "mainStack");
    EXPECT_EQ(stack->child_property_title(*page).get_value(), "Main");
}

TEST_F(MainWindowTest, UnavailableMibShowsTheErrorFirstAndOpensWithEmptyTrees)
{
    sim::setMibAvailable(false);
    WindowRecorder windows;
    DialogWatcher dialogs;
    bool onlyTheDialogVisible = false;
    dialogs.inspect = [&](Gtk::Dialog &dialog) {
        int visible = 0;
        for (Gtk::Window *w : Gtk::Window::list_toplevels())
            visible += w->get_visible();
        onlyTheDialogVisible = visible == 1 && dialog.get_visible();
    };
    MainWindow window;
    ASSERT_EQ(dialogs.seen.size(), 1u);
    expectMibError(dialogs.seen[0], &window);
    EXPECT_TRUE(onlyTheDialogVisible);
    ASSERT_FALSE(windows.types.empty());
    EXPECT_NE(windows.types[0].find("GtkMessageDialog"), std::string::npos) << windows.types[0];
    for (const std::string &title : windows.shown)
        EXPECT_NE(title, "Building Tree");
    EXPECT_EQ(window.model->sorted->children().size(), 0u);

    // Menus work: a later rebuild fills the trees.
    sim::setMibAvailable(true);
    menuItem(window, {"File", "Rebuild all"})->activate();
    EXPECT_EQ(topLevelNames(window.trees->flagsTree.get_model(), window.model->fullName), (Titles{"kern", "vm"}));
}

TEST_F(MainWindowTest, FailedRebuildShowsTheErrorAndLeavesBothTreesEmpty)
{
    MainWindow window;
    sim::setMibAvailable(false);
    DialogWatcher dialogs;
    menuItem(window, {"File", "Rebuild all"})->activate();
    ASSERT_EQ(dialogs.seen.size(), 1u);
    expectMibError(dialogs.seen[0], &window);
    EXPECT_EQ(window.trees->mainTree.get_model()->children().size(), 0u);
    EXPECT_EQ(window.trees->flagsTree.get_model()->children().size(), 0u);
}

TEST_F(MainWindowTest, RefreshRereadsValuesInPlace)
{
    MainWindow window;
    sim::setValue("kern.ostype", sim::cstring("Changed"));
    menuItem(window, {"File", "Refresh values"})->activate();
    const Gtk::TreeModel::Row row = storeRow(*window.model, "kern.ostype");
    ASSERT_TRUE(row);
    EXPECT_EQ(Glib::ustring(row[window.model->value]), "Changed");
}

TEST_F(MainWindowTest, AllAndDefaultsOnBothTreesAfterAHiddenDefaultAndAnExtraColumn)
{
    MainWindow window;
    Gtk::TreeView &mainTree = window.trees->mainTree;
    window.mainColumnItems[2]->activate();  // Description off
    window.mainColumnItems[3]->activate();  // Flags on
    EXPECT_EQ(visibleTitles(mainTree), (Titles{"Name", "Flags", "Value"}));
    menuItem(window, {"View", "Main Tree", "Defaults"})->activate();
    EXPECT_EQ(visibleTitles(mainTree), mainDefaults);
    EXPECT_TRUE(itemsMatchColumns(window.mainColumnItems, mainTree));
    for (int round = 0; round < 2; ++round) {  // "All" when all are shown changes nothing
        menuItem(window, {"View", "Main Tree", "All"})->activate();
        EXPECT_EQ(visibleTitles(mainTree).size(), 8u);
        EXPECT_TRUE(itemsMatchColumns(window.mainColumnItems, mainTree));
    }
    menuItem(window, {"View", "Main Tree", "Defaults"})->activate();
    EXPECT_EQ(visibleTitles(mainTree), mainDefaults);

    Gtk::TreeView &flagsTree = window.trees->flagsTree;
    window.flagsColumnItems[0]->activate();  // RD off
    window.flagsColumnItems[2]->activate();  // RW on
    EXPECT_EQ(visibleTitles(flagsTree)[1], "WR");
    EXPECT_EQ(visibleTitles(flagsTree)[2], "RW");
    menuItem(window, {"View", "Flags Tree", "Defaults"})->activate();
    EXPECT_EQ(visibleTitles(flagsTree), flagsDefaults);
    EXPECT_TRUE(itemsMatchColumns(window.flagsColumnItems, flagsTree));
    menuItem(window, {"View", "Flags Tree", "All"})->activate();
    EXPECT_EQ(visibleTitles(flagsTree).size(), 22u);
    EXPECT_TRUE(itemsMatchColumns(window.flagsColumnItems, flagsTree));
    menuItem(window, {"View", "Flags Tree", "Defaults"})->activate();
    EXPECT_EQ(visibleTitles(flagsTree), flagsDefaults);
}

TEST_F(MainWindowTest, InternalNodesAndWrapRowsToggleWithTheirItems)
{
    MainWindow window;
    Gtk::CheckMenuItem *internal = checkItem(window, {"View", "Internal nodes"});
    internal->activate();
    EXPECT_TRUE(internal->get_active());
    EXPECT_EQ(topLevelNames(window.trees->mainTree.get_model(), window.model->fullName),
              (Titles{"sysctl", "kern", "vm"}));
    internal->activate();
    EXPECT_FALSE(internal->get_active());
    EXPECT_EQ(window.model->sorted->children().size(), 2u);

    Gtk::CheckMenuItem *wrap = checkItem(window, {"View", "Wrap rows"});
    Gtk::TreeView &mainTree = window.trees->mainTree;
    const int expected[2][2] = {{-1, -1}, {150, 300}};  // off, then on again
    for (const auto &widths : expected) {
        wrap->activate();
        EXPECT_EQ(wrap->get_active(), widths[0] > 0);
        EXPECT_EQ(wrapWidth(mainTree, 0), widths[0]);
        EXPECT_EQ(wrapWidth(window.trees->flagsTree, 0), widths[0]);
        for (int k = 1; k <= 7; ++k)  // hidden columns too
            EXPECT_EQ(wrapWidth(mainTree, k), widths[1]) << k;
    }
}

TEST_F(MainWindowTest, SearchNameFlipsTheBarEvenAfterItWasClosedElsewhere)
{
    MainWindow window;
    Gtk::CheckMenuItem *search = checkItem(window, {"View", "Search Name"});
    search->activate();
    EXPECT_TRUE(window.searchBar->get_search_mode());
    window.searchBar->set_search_mode(false);  // as leaving search from the entry does
    EXPECT_TRUE(search->get_active());
    search->activate();
    EXPECT_TRUE(window.searchBar->get_search_mode());
    EXPECT_FALSE(search->get_active());
}

TEST_F(MainWindowTest, TypingANameSelectsTheFirstMatchAndOpensItsParentsInBothTrees)
{
    MainWindow window;
    window.show();
    checkItem(window, {"View", "Search Name"})->activate();
    Gtk::Entry *entry = window.trees->mainTree.get_search_entry();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry, window.trees->flagsTree.get_search_entry());
    entry->set_text("kern.ipc.m");
    for (Gtk::TreeView *view : {&window.trees->mainTree, &window.trees->flagsTree}) {
        EXPECT_TRUE(view->row_expanded(Gtk::TreeModel::Path("0:1")));  // kern.ipc
        const Gtk::TreeModel::iterator selected = view->get_selection()->get_selected();
        ASSERT_TRUE(selected);
        EXPECT_EQ(Glib::ustring((*selected)[window.model->fullName]), "kern.ipc.maxsockbuf");
    }
}

TEST_F(MainWindowTest, ExpandAndCollapseActOnBothTrees)
{
    MainWindow window;
    menuItem(window, {"View", "Expand all nodes "})->activate();
    const Gtk::TreeModel::Path deepest("1:0");  // vm.stats
    EXPECT_TRUE(window.trees->mainTree.row_expanded(deepest));
    EXPECT_TRUE(window.trees->flagsTree.row_expanded(deepest));
    menuItem(window, {"View", "Collapse the tree"})->activate();
    EXPECT_FALSE(window.trees->mainTree.row_expanded(Gtk::TreeModel::Path("0")));
    EXPECT_FALSE(window.trees->flagsTree.row_expanded(Gtk::TreeModel::Path("1")));
}

TEST_F(MainWindowTest, QuitHidesTheWindow)
{
    MainWindow window;
    window.show();
    menuItem(window, {"File", "Quit"})->activate();
    EXPECT_FALSE(window.get_visible());
}

}  // namespace
