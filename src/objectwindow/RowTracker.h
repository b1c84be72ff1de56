#ifndef OIDSCOPE_ROW_TRACKER_H
#define OIDSCOPE_ROW_TRACKER_H

#include <gtkmm/treemodel.h>

#include <string>

class Model;

// Finds one object's row of the sort model while a window stays open. A
// rebuild replaces every row and hiding internal nodes removes theirs, so a
// copied row may no longer designate a row at all; this finds the object's
// row again by its name, each time it is asked.
//
// It holds no tree model and no row reference: anything kept on the old sort
// model would keep the old filter and sort model listening to the old store
// while a rebuild clears it, and GTK's sort model then reads levels it has
// just freed (on rows some eighteen levels deep and more).
class RowTracker {
public:
    RowTracker(const Gtk::TreeModel::Row &row, Model *model);
    virtual ~RowTracker();

    // The object's current row in the sort model. Throws a SysctlException
    // (by pointer) when the object is hidden or no longer in the tree.
    Gtk::TreeModel::Row current();

    // The full name in the kernel's own bytes, by which it is read and set.
    const std::string &kernelName() const { return kernelBytes; }

private:
    Model *model;
    std::string kernelBytes;
};

#endif
