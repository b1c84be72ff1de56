// Object windows stay open across rebuilds of the tree: on rows of every
// depth the kernel allows, with the MIB changed in between or unreadable.
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

#include <string>
#include <vector>

namespace {

using namespace flag;

// d1, d1.d2, … d1.….d23 (23 levels), each with a leaf "v" one level deeper,
// so the deepest leaf has the 24 levels that an identifier can have. The
// kernel's meta-MIB names objects of at most 22 levels, so only those leaves
// are returned by name; deeper rows are there, named by number.
std::vector<std::string> loadDeepChain()
{
    sim::clear();
    std::vector<std::string> leaves;
    std::string name;
    std::vector<int> oid;
    for (int level = 1; level <= 23; ++level) {
        name += (level > 1 ? ".d" : "d") + std::to_string(level);
        oid.push_back(1);
        sim::add(simObject(oid, name, ctlTypeNode, RD));
        std::vector<int> leafOid = oid;
        leafOid.push_back(2);
        sim::add(simObject(leafOid, name + ".v", ctlTypeInt, RD | WR, bytesOf<int32_t>({level})));
        if (leafOid.size() <= 22)
            leaves.push_back(name + ".v");
    }
    return leaves;
}

TEST(RebuildWithWindows, WindowsOnRowsOfEveryDepthSurviveChangedAndUnreadableMibs)
{
    std::vector<std::string> leaves = loadDeepChain();
    Model model;
    ASSERT_TRUE(model.rebuildTree());
    // Both views on screen, expanded and sorted, as a user has them.
    ShownTrees views(model);
    views.show();
    Trees &trees = views.trees;
    model.sorted->set_sort_column(model.name, Gtk::SORT_DESCENDING);

    std::vector<ObjectWindow *> windows;
    for (const std::string &leaf : leaves)
        windows.push_back(new ObjectWindow(sortedRow(model, leaf), &model));
    // And one on the deepest row of all.
    Gtk::TreeModel::Row deepest;
    std::size_t deepestLevels = 0;
    model.sorted->foreach_path([&](const Gtk::TreeModel::Path &path) {
        if (static_cast<std::size_t>(path.size()) > deepestLevels) {
            deepestLevels = path.size();
            deepest = *model.sorted->get_iter(path);
        }
        return false;
    });
    ASSERT_EQ(deepestLevels, 23u);  // the walk cannot go on below a 23-level object
    windows.push_back(new ObjectWindow(deepest, &model));
    runMainLoopFor(20);

    DialogWatcher watcher;
    // What pressing "Set Value" with the text reports, for each window.
    auto setAll = [&](const std::string &text) {
        std::vector<std::string> reports;
        for (ObjectWindow *window : windows) {
            window->newValueEntry->set_text(text);
            const std::size_t before = watcher.seen.size();
            setButtonOf(*window)->clicked();
            reports.push_back(watcher.seen.size() > before ? watcher.seen[before].secondary
                                                           : "no dialog");
        }
        return reports;
    };
    const std::string gone = "The object is no longer in the tree; open it again from the tree";

    // Changed: everything below level 12 goes, and a new branch appears.
    sim::remove("d1.d2.d3.d4.d5.d6.d7.d8.d9.d10.d11.d12");
    sim::add(simObject({1, 3}, "d1.w", ctlTypeInt, RD | WR, bytesOf<int32_t>({0})));
    ASSERT_TRUE(model.rebuildTree());
    trees.expandAll();
    runMainLoopFor(20);
    std::vector<std::string> reports = setAll("100");
    for (std::size_t i = 0; i < leaves.size(); ++i)
        EXPECT_EQ(reports[i], i < 11 ? "[OLD Value]: " + std::to_string(i + 1) + "\n[NEW Value]: 100\n"
                                     : gone)
            << leaves[i];

    // Unreadable: the tree empties and no window has an object any more.
    sim::setMibAvailable(false);
    EXPECT_FALSE(model.rebuildTree());
    runMainLoopFor(20);
    for (const std::string &report : setAll("5"))
        EXPECT_EQ(report, gone);

    // Back whole: every window, the deepest too, sets its own object again.
    sim::setMibAvailable(true);
    leaves = loadDeepChain();
    ASSERT_TRUE(model.rebuildTree());
    trees.expandAll();
    runMainLoopFor(20);
    reports = setAll("7");
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        EXPECT_EQ(reports[i].rfind("[OLD Value]: ", 0), 0u) << leaves[i] << ": " << reports[i];
        EXPECT_BYTES_EQ(sim::value(leaves[i]), bytesOf<int32_t>({7})) << leaves[i];
    }
    EXPECT_EQ(Glib::ustring(sortedRow(model, leaves.back())[model.value]), "7");

    for (ObjectWindow *window : windows)
        delete window;
}

}  // namespace
