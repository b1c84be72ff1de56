// The two tree views: columns, name colour, search and its expansions.
#include "WindowTestKit.h"

#include "SimMib.h"
#include "model/Model.h"
#include "model/Trees.h"
#include "support/SimObjectsAndRows.h"

#include <gtest/gtest.h>
#include <gtkmm/cellrenderertext.h>
#include <gtkmm/searchentry.h>

#include <set>
#include <string>
#include <vector>

namespace {

TEST(NameColour, DarkTextGivesBlueWhiteGivesYellowOtherwiseTheTheme)
{
    EXPECT_EQ(Trees::nameColourFor(0.1, 0.1, 0.1), "blue");
    EXPECT_EQ(Trees::nameColourFor(0.0, 0.0, 0.0), "blue");
    EXPECT_EQ(Trees::nameColourFor(1.0, 1.0, 1.0), "yellow");
    EXPECT_EQ(Trees::nameColourFor(0.5, 0.5, 0.5), "");
    EXPECT_EQ(Trees::nameColourFor(0.2, 0.0, 0.0), "");
    EXPECT_EQ(Trees::nameColourFor(0.1, 0.1, 0.2), "");
    EXPECT_EQ(Trees::nameColourFor(1.0, 1.0, 0.99), "");
}

class TreesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        loadWindowMib();
        ASSERT_TRUE(model.rebuildTree());
    }

    // Every row of the sort model, collapsed or not, whatever the views show.
    std::set<std::string> matches(const Glib::ustring &key)
    {
        std::set<std::string> found;
        model.sorted->foreach_iter([&](const Gtk::TreeModel::iterator &it) {
            if (!trees.onSearchEqual(model.sorted, 0, key, it))
                found.insert(Glib::ustring((*it)[model.fullName]));
            return false;
        });
        return found;
    }

    bool expandedInBoth(const std::string &fullName)
    {
        const Gtk::TreeModel::Path path = sortedPath(model, fullName);
        const bool main = trees.mainTree.row_expanded(path);
        EXPECT_EQ(main, trees.flagsTree.row_expanded(path)) << fullName;
        return main;
    }

    Model model;
    Gtk::SearchEntry entry;
    Trees trees{entry, &model};
};

TEST_F(TreesTest, ColumnsAreResizableSortableAndAtLeast50Wide)
{
    ASSERT_EQ(trees.mainTree.get_n_columns(), 8u);
    ASSERT_EQ(trees.flagsTree.get_n_columns(), 22u);
    EXPECT_EQ(trees.mainTree.get_column(0)->get_title(), "Name");
    EXPECT_EQ(trees.flagsTree.get_column(3)->get_title(), "RW");
    EXPECT_EQ(trees.flagsTree.get_column(21)->get_title(), "SKIP");
    for (Gtk::TreeView *view : {&trees.mainTree, &trees.flagsTree}) {
        EXPECT_EQ(view->get_model(), Glib::RefPtr<Gtk::TreeModel>(model.sorted));
        EXPECT_TRUE(view->get_enable_tree_lines());
        EXPECT_EQ(view->get_grid_lines(), Gtk::TREE_VIEW_GRID_LINES_BOTH);
        for (Gtk::TreeViewColumn *column : view->get_columns()) {
            EXPECT_EQ(column->get_min_width(), 50) << column->get_title();
            EXPECT_TRUE(column->get_resizable()) << column->get_title();
        }
    }
    // Each column sorts by its own model column.
    EXPECT_EQ(trees.mainTree.get_column(0)->get_sort_column_id(), model.name.index());
    for (int k = 1; k <= 7; ++k)
        EXPECT_EQ(trees.mainTree.get_column(k)->get_sort_column_id(), model.columnTable[k - 1].column.index());
    for (int k = 1; k <= 21; ++k)
        EXPECT_EQ(trees.flagsTree.get_column(k)->get_sort_column_id(), model.flagTable[k - 1].column.index());
}

TEST_F(TreesTest, NameColumnsTakeTheColourDecidedForTheThemeAndWrapByCharacter)
{
    const Gdk::RGBA text = trees.mainTree.get_style_context()->get_color(Gtk::STATE_FLAG_NORMAL);
    const Glib::ustring expected = Trees::nameColourFor(text.get_red(), text.get_green(), text.get_blue());
    for (Gtk::TreeView *view : {&trees.mainTree, &trees.flagsTree}) {
        auto *renderer = dynamic_cast<Gtk::CellRendererText *>(view->get_column(0)->get_first_cell());
        ASSERT_NE(renderer, nullptr);
        EXPECT_EQ(renderer->property_foreground_set().get_value(), !expected.empty());
        if (!expected.empty()) {
            Gdk::RGBA shown = renderer->property_foreground_rgba();
            EXPECT_EQ(shown, Gdk::RGBA(expected));
        }
        EXPECT_EQ(renderer->property_wrap_mode().get_value(), Pango::WRAP_CHAR);
        EXPECT_EQ(wrapWidth(*view, 0), 150);
    }
    auto *value = dynamic_cast<Gtk::CellRendererText *>(trees.mainTree.get_column(7)->get_first_cell());
    EXPECT_EQ(value->property_wrap_mode().get_value(), Pango::WRAP_WORD_CHAR);
}

TEST_F(TreesTest, SearchMatchesByFullNamePrefixAndExpandsAlongTheWayInBothViews)
{
    EXPECT_EQ(matches("kern.ipc.m"), (std::set<std::string>{"kern.ipc.maxsockbuf", "kern.ipc.msgmax"}));
    EXPECT_TRUE(expandedInBoth("kern"));
    EXPECT_TRUE(expandedInBoth("kern.ipc"));
    EXPECT_FALSE(expandedInBoth("vm"));

    trees.collapseAll();
    EXPECT_EQ(matches("kern").size(), 6u);
    EXPECT_TRUE(expandedInBoth("kern"));
    EXPECT_FALSE(expandedInBoth("kern.ipc"));
}

TEST_F(TreesTest, SearchWithoutPrefixMatchesNothingAndEmptyMatchesAllExpandingNothing)
{
    EXPECT_TRUE(matches("kerx").empty());
    EXPECT_TRUE(matches("x.kern").empty());
    EXPECT_EQ(matches("").size(), 9u);  // the internal subtree is filtered out
    for (const char *node : {"kern", "kern.ipc", "vm", "vm.stats"})
        EXPECT_FALSE(expandedInBoth(node)) << node;
    EXPECT_TRUE(trees.onSearchEqual(model.sorted, 0, "kern", Gtk::TreeModel::iterator()));
}

}  // namespace

namespace {

TEST_F(TreesTest, RebuildKeepsTheViewsOnTheModelWithItsSortOrderAndSettings)
{
    model.sorted->set_sort_column(model.name, Gtk::SORT_DESCENDING);
    trees.mainTree.get_column(2)->set_visible(false);
    ASSERT_TRUE(model.rebuildTree());

    for (Gtk::TreeView *view : {&trees.mainTree, &trees.flagsTree})
        EXPECT_EQ(view->get_model(), Glib::RefPtr<Gtk::TreeModel>(model.sorted));
    int column = -1;
    Gtk::SortType order = Gtk::SORT_ASCENDING;
    ASSERT_TRUE(model.sorted->get_sort_column_id(column, order));
    EXPECT_EQ(column, model.name.index());
    EXPECT_EQ(order, Gtk::SORT_DESCENDING);
    EXPECT_EQ(topLevelNames(trees.mainTree.get_model(), model.fullName),
              (std::vector<std::string>{"vm", "kern"}));
    EXPECT_FALSE(trees.mainTree.get_column(2)->get_visible());
    EXPECT_EQ(trees.mainTree.get_search_entry(), &entry);
    // Search still works and expands in both views over the new rows.
    EXPECT_EQ(matches("kern.ipc.m"), (std::set<std::string>{"kern.ipc.maxsockbuf", "kern.ipc.msgmax"}));
    EXPECT_TRUE(expandedInBoth("kern.ipc"));
}

// A rebuild empties the tree before it reads anything: while it builds, both
// views show no rows (not the old ones), and the old rows are already gone.
TEST_F(TreesTest, ViewsAreEmptyWhileTheTreeIsRebuilt)
{
    Glib::RefPtr<Gtk::TreeStore> old = model.store;
    ASSERT_GT(old->children().size(), 0u);
    std::vector<std::size_t> shownRows;
    bool oldEmptied = false;
    sim::setHook([&](const char *op, const std::string &) {
        if (std::string(op) != "probe" || !shownRows.empty())
            return;
        shownRows.push_back(trees.mainTree.get_model()->children().size());
        shownRows.push_back(trees.flagsTree.get_model()->children().size());
        oldEmptied = old->children().size() == 0;
    });
    ASSERT_TRUE(model.rebuildTree());
    sim::setHook(nullptr);
    EXPECT_EQ(shownRows, (std::vector<std::size_t>{0, 0}));
    EXPECT_TRUE(oldEmptied);
    EXPECT_EQ(topLevelNames(trees.mainTree.get_model(), model.fullName),
              (std::vector<std::string>{"kern", "vm"}));
}

TEST_F(TreesTest, FailedRebuildLeavesTheViewsOnTheEmptiedModel)
{
    sim::setMibAvailable(false);
    EXPECT_FALSE(model.rebuildTree());
    for (Gtk::TreeView *view : {&trees.mainTree, &trees.flagsTree}) {
        EXPECT_EQ(view->get_model(), Glib::RefPtr<Gtk::TreeModel>(model.sorted));
        EXPECT_EQ(view->get_model()->children().size(), 0u);
    }
}

}  // namespace
