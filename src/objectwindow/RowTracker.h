#ifndef OIDSCOPE_ROW_TRACKER_H
#define OIDSCOPE_ROW_TRACKER_H

#include <gtkmm/treemodel.h>
#include <gtkmm/treemodelsort.h>
#include <gtkmm/treerowreference.h>

class Model;

// Follows one object's row of the sort model while a window stays open. A
// rebuild replaces every row and hiding internal nodes removes theirs, so a
// copied row may no longer designate a row at all; this gives a row that
// does, found again by the object's full name when the first one is gone.
class RowTracker {
public:
    RowTracker(const Gtk::TreeModel::Row &row, Model *model);
    virtual ~RowTracker();

    // The object's current row in the sort model. Throws a SysctlException
    // (by pointer) when the object is hidden or no longer in the tree.
    Gtk::TreeModel::Row current();

    // Full name read from the row when it was still valid.
    const Glib::ustring &objectName() const { return fullName; }

private:
    Gtk::TreeModel::Row findByName();

    Model *model;
    Glib::ustring fullName;
    Glib::RefPtr<Gtk::TreeModelSort> trackedModel;
    Gtk::TreeRowReference reference;
};

#endif
