#ifndef OIDSCOPE_TREES_H
#define OIDSCOPE_TREES_H

#include "model/RowCopier.h"

#include <gtkmm/entry.h>
#include <gtkmm/treeview.h>
#include <gtkmm/treeviewcolumn.h>

class Model;

// The two views over the Model's sort model: the Main tree (names and the
// optional text columns) and the Flags tree (names and one check per flag).
class Trees {
public:
    Trees(Gtk::Entry &searchEntry, Model *model);
    virtual ~Trees();

    Trees(const Trees &) = delete;
    Trees &operator=(const Trees &) = delete;

    Gtk::TreeView mainTree;
    Gtk::TreeView flagsTree;
    Model *model;
    // Ctrl+C and the copy menu of both views.
    RowCopier copier;

    Gtk::TreeView &mainTreeView();
    Gtk::TreeView &flagsTreeView();

    void expandAll();
    void collapseAll();
    void columnsAutosize();
    void toggleWrap();
    void toggleMainColumn(int position);
    void toggleFlagsColumn(int position);

    // The Name colour for a theme text colour: "blue" on a dark text colour,
    // "yellow" on pure white, empty to keep the theme's own.
    static Glib::ustring nameColourFor(double red, double green, double blue);

    // Search comparison: false when the row matches the key.
    bool onSearchEqual(const Glib::RefPtr<Gtk::TreeModel> &searchModel, int column,
                       const Glib::ustring &key, const Gtk::TreeModel::iterator &row);
    void onRowActivated(const Gtk::TreeModel::Path &path, Gtk::TreeViewColumn *column);

private:
    sigc::connection modelsReplaced;
    // The view's model and its Name column, by which both views search.
    void addNameColumn(Gtk::TreeView &view, Gtk::Entry &searchEntry);
    // The colour follows the Main tree's theme.
    void colourNames(Gtk::TreeViewColumn &column);
    // Cells of the column wrap at the width and show its model column's
    // text, cut where it is long.
    void wrapTexts(Gtk::TreeViewColumn &column,
                   const Gtk::TreeModelColumn<Glib::ustring> &modelColumn, int width,
                   Pango::WrapMode mode);
    // Tree lines, grid, activation and copying.
    void finishView(Gtk::TreeView &view);
};

#endif
