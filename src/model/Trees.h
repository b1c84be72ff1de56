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

    // Colours and wraps a Name column; the colour follows the Main tree's theme.
    void styleNameColumn(Gtk::TreeViewColumn &column);
    // The Name colour for a theme text colour: "blue" on a dark text colour,
    // "yellow" on pure white, empty to keep the theme's own.
    static Glib::ustring nameColourFor(double red, double green, double blue);

    // Search comparison: false when the row matches the key.
    bool onSearchEqual(const Glib::RefPtr<Gtk::TreeModel> &searchModel, int column,
                       const Glib::ustring &key, const Gtk::TreeModel::iterator &row);
    void onRowActivated(const Gtk::TreeModel::Path &path, Gtk::TreeViewColumn *column);

private:
    sigc::connection modelsReplaced;
    void addNameColumn(Gtk::TreeView &view, Gtk::Entry &searchEntry);
    // Cells of the column show its model column's text, cut where it is long.
    void showTextsShortened(Gtk::TreeViewColumn &column,
                            const Gtk::TreeModelColumn<Glib::ustring> &modelColumn);
    void finishView(Gtk::TreeView &view);
};

#endif
