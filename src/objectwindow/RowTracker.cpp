#include "objectwindow/RowTracker.h"

#include "mib/SysctlException.h"
#include "model/Model.h"

RowTracker::RowTracker(const Gtk::TreeModel::Row &row, Model *model)
    : model(model), kernelBytes(model->kernelName(row))
{
}

RowTracker::~RowTracker() = default;

Gtk::TreeModel::Row RowTracker::current()
{
    // Walk down the store along the name's prefixes: only a row whose full
    // name starts the wanted one can hold it. Names are compared in the
    // kernel's bytes, as two names can mend to the same text.
    Gtk::TreeModel::iterator found;
    for (auto iter = model->store->children().begin(); iter;) {
        const std::string *mended = model->mendedName(iter.gobj());
        const std::string name = mended ? *mended : Glib::ustring((*iter)[model->fullName]).raw();
        if (name == kernelBytes) {
            found = iter;
            break;
        }
        if (kernelBytes.compare(0, name.size() + 1, name + ".") == 0)
            iter = iter->children().begin();
        else
            ++iter;
    }
    if (!found)
        throw new SysctlException("The object is no longer in the tree; open it again from the tree");

    const Gtk::TreeModel::iterator visible = model->filter->convert_child_iter_to_iter(found);
    if (!visible)
        throw new SysctlException(
            "The object is hidden in the tree; show the internal nodes to set its value");
    return *model->sorted->convert_child_iter_to_iter(visible);
}
