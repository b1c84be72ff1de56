#ifndef OIDSCOPE_ROW_COPIER_H
#define OIDSCOPE_ROW_COPIER_H

#include <gtkmm/menu.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/treemodel.h>
#include <gtkmm/treerowreference.h>
#include <gtkmm/treeview.h>

class Model;

// Copies what a row of the trees holds to the clipboard: Ctrl+C on the
// selected row copies "name = value", the line that /etc/sysctl.conf takes,
// and a menu on the row (right button or the menu key) offers the name, the
// value and that line.
class RowCopier {
public:
    explicit RowCopier(Model *model);
    virtual ~RowCopier();

    RowCopier(const RowCopier &) = delete;
    RowCopier &operator=(const RowCopier &) = delete;

    // Makes a view of the sort model answer Ctrl+C and open the menu.
    void attach(Gtk::TreeView &view);

    // Texts of a row of the sort model: the full dotted name, and the value
    // the row shows, read in full first where the row leaves it unread.
    Glib::ustring nameText(const Gtk::TreeModel::iterator &row) const;
    Glib::ustring valueText(const Gtk::TreeModel::iterator &row);
    Glib::ustring lineText(const Gtk::TreeModel::iterator &row);

    Gtk::Menu menu;
    Gtk::MenuItem copyNameItem;
    Gtk::MenuItem copyValueItem;
    Gtk::MenuItem copyLineItem;

private:
    bool onKeyPress(GdkEventKey *event, Gtk::TreeView *view);
    bool onButtonPress(GdkEventButton *event, Gtk::TreeView *view);
    bool onPopupMenu(Gtk::TreeView *view);
    void onCopyName();
    void onCopyValue();
    void onCopyLine();

    void popUpFor(Gtk::TreeView &view, const Gtk::TreeModel::Path &path, GdkEvent *event);
    Gtk::TreeModel::iterator menuRow();
    static void copy(const Glib::ustring &text);

    Model *model;
    Gtk::TreeRowReference menuReference;  // the row the menu was opened on
};

#endif
