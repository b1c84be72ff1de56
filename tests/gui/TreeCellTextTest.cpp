// What the text cells of both trees lay out: wrapped names without hyphens
// that are not in them, and texts of any length cut to a bounded start.
#include "mib/CtlType.h"
#include "model/Model.h"
#include "model/ShownText.h"
#include "model/Trees.h"
#include "SimMib.h"
#include "support/DialogWatcher.h"
#include "support/ShownTrees.h"
#include "support/SimObjectsAndRows.h"

#include <gtest/gtest.h>
#include <gtkmm/cellrenderertext.h>

#include <string>

namespace {

using namespace flag;

const std::string longWord = "see_vm.mmap_rnd_compat_bits_and_oom_kill_allocating_task_together";
const std::string hugeName(100000, 'n');

class TreeCellText : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
        sim::add(simObject({1}, "vm", ctlTypeNode, RD));
        sim::Object task = simObject({1, 1}, "vm.oom_kill_allocating_task", ctlTypeInt, RD,
                                     bytesOf<int32_t>({0}));
        task.description = longWord;
        sim::add(task);
        sim::add(simObject({1, 2}, "vm.mmap_rnd_compat_bits", ctlTypeInt, RD, bytesOf<int32_t>({8})));
        sim::add(simObject({2}, "big", ctlTypeNode, RD));
        sim::add(simObject({2, 1}, "big." + hugeName, ctlTypeInt, RD, bytesOf<int32_t>({1})));
        sim::Object described = simObject({2, 2}, "big.described", ctlTypeInt, RD, bytesOf<int32_t>({1}));
        described.description = std::string(100000, 'd');
        sim::add(described);
        sim::Object lines = simObject({2, 3}, "big.lines", ctlTypeInt, RD, bytesOf<int32_t>({1}));
        lines.description = "first" + std::string(100000, '\n');
        sim::add(lines);
        ASSERT_TRUE(model.rebuildTree());
        views.show();
    }

    // A text cell of a row in one view, and the text it should hold.
    struct CellCase {
        Gtk::TreeView *view;
        int position;
        std::string fullName;
        std::string text;
    };

    // The renderer of a column once the column has set it up for a row.
    Gtk::CellRendererText *cellFor(Gtk::TreeView &view, int position, const std::string &fullName)
    {
        Gtk::TreeViewColumn *column = view.get_column(position);
        column->cell_set_cell_data(model.sorted, model.sorted->get_iter(sortedPath(model, fullName)),
                                   false, false);
        return dynamic_cast<Gtk::CellRendererText *>(column->get_first_cell());
    }

    // The layout that renderer makes of its text: its wrapping and attributes,
    // on the view's font.
    Glib::RefPtr<Pango::Layout> layoutOf(Gtk::TreeView &view, Gtk::CellRendererText &cell)
    {
        Glib::RefPtr<Pango::Layout> layout = view.create_pango_layout(cell.property_text().get_value());
        Pango::AttrList attributes = cell.property_attributes().get_value();
        layout->set_attributes(attributes);
        layout->set_width(cell.property_wrap_width() * PANGO_SCALE);
        layout->set_wrap(cell.property_wrap_mode());
        return layout;
    }

    Model model;
    ShownTrees views{model};
    Trees &trees = views.trees;
};

// Glyphs beyond the characters: what Pango adds when it marks a break
// inside a word with a hyphen.
int addedGlyphs(const Glib::RefPtr<Pango::Layout> &layout)
{
    int added = 0;
    for (GSList *line = pango_layout_get_lines_readonly(layout->gobj()); line; line = line->next)
        for (GSList *run = static_cast<PangoLayoutLine *>(line->data)->runs; run; run = run->next) {
            auto *glyphs = static_cast<PangoGlyphItem *>(run->data);
            added += glyphs->glyphs->num_glyphs - glyphs->item->num_chars;
        }
    return added;
}

TEST_F(TreeCellText, WrappedTextsGetNoCharacterTheyLack)
{
    const CellCase cases[] = {
        {&trees.mainTree, 0, "vm.oom_kill_allocating_task", "oom_kill_allocating_task"},
        {&trees.flagsTree, 0, "vm.mmap_rnd_compat_bits", "mmap_rnd_compat_bits"},
        {&trees.mainTree, 3, "vm.oom_kill_allocating_task", longWord},  // Description
    };
    for (const CellCase &c : cases) {
        Gtk::CellRendererText *cell = cellFor(*c.view, c.position, c.fullName);
        ASSERT_NE(cell, nullptr);
        const Glib::RefPtr<Pango::Layout> layout = layoutOf(*c.view, *cell);
        ASSERT_GT(layout->get_line_count(), 1) << c.text << " is not wrapped";
        EXPECT_EQ(layout->get_text(), c.text);
        EXPECT_EQ(addedGlyphs(layout), 0) << c.text;
    }
}

TEST_F(TreeCellText, HugeTextsShowABoundedStart)
{
    storeRow(model, "big.described")[model.value] = std::string(100000, 'v');  // as no read gives it, yet
    const CellCase cases[] = {
        {&trees.mainTree, 0, "big." + hugeName, hugeName},
        {&trees.flagsTree, 0, "big." + hugeName, hugeName},
        {&trees.mainTree, 3, "big.described", std::string(100000, 'd')},
        {&trees.mainTree, 3, "big.lines", "first" + std::string(100000, '\n')},
        {&trees.mainTree, 7, "big.described", std::string(100000, 'v')},
    };
    for (const CellCase &c : cases) {
        Gtk::CellRendererText *cell = cellFor(*c.view, c.position, c.fullName);
        ASSERT_NE(cell, nullptr);
        const std::string shown = cell->property_text().get_value();
        ASSERT_GE(shown.size(), 5u);
        EXPECT_LE(shown.size(), shownTextBytes + 3) << c.fullName;
        const std::string start = shown.substr(0, shown.size() - 3);
        EXPECT_EQ(c.text.compare(0, start.size(), start), 0) << c.fullName;
        EXPECT_EQ(shown.substr(shown.size() - 3), "\u2026") << c.fullName;

        // Laid out on screen, the row stays a few lines high.
        Gdk::Rectangle area;
        c.view->get_cell_area(sortedPath(model, c.fullName), *c.view->get_column(c.position), area);
        EXPECT_GT(area.get_height(), 0) << c.fullName;
        EXPECT_LT(area.get_height(), 1500) << c.fullName;
    }
    // Short texts stay whole.
    EXPECT_EQ(cellFor(trees.mainTree, 0, "vm.mmap_rnd_compat_bits")->property_text().get_value(),
              "mmap_rnd_compat_bits");
}

}  // namespace
