#ifndef OIDSCOPE_STORE_CELLS_H
#define OIDSCOPE_STORE_CELLS_H

#include <gtk/gtk.h>
#include <gtkmm/treemodelcolumn.h>

#include <array>

// A few cells of one row as GTK holds them, for the paths that run once per
// row of the whole MIB: the cells of a new row, set in one insert (setting
// them one by one would signal a change per cell through every model and
// view above the store), and texts read without the three copies of a
// Gtk::TreeRow read.
class StoreCells {
public:
    StoreCells() = default;
    ~StoreCells();
    StoreCells(const StoreCells &) = delete;
    StoreCells &operator=(const StoreCells &) = delete;

    // Cells of a new row. Only what differs from a new row's defaults
    // (false, 0, no text) is kept: each cell costs the store type checks
    // and a copy. A text is pointed at, not copied, until the insert.
    void set(const Gtk::TreeModelColumn<bool> &column, bool value);
    void set(const Gtk::TreeModelColumn<guint32> &column, guint32 value);
    void set(const Gtk::TreeModelColumn<Glib::ustring> &column, const char *text);
    // A new last child of parent (null: a top row) with the cells set so far.
    GtkTreeIter insert(GtkTreeStore *store, GtkTreeIter *parent);

    // A cell of a row of any model, held until clear() or the end of these
    // cells; text() is null for a cell without text.
    const GValue &read(GtkTreeModel *model, GtkTreeIter *iter, int column);
    const char *text(GtkTreeModel *model, GtkTreeIter *iter,
                     const Gtk::TreeModelColumn<Glib::ustring> &column);

    // Forgets every cell, to use these again for another row.
    void clear();

private:
    GValue &add(int column, GType type);

    // One per store column at the most.
    static constexpr int capacity = 33;
    std::array<GValue, capacity> values;
    std::array<int, capacity> columns;
    int count = 0;
};

#endif
