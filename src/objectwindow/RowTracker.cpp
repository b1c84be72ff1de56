#include "objectwindow/RowTracker.h"

#include "mib/SysctlException.h"
#include "model/Model.h"

RowTracker::RowTracker(const Gtk::TreeModel::Row &row, Model *model)
    : model(model), fullName(row[model->fullName]), trackedModel(model->sorted),
      reference(trackedModel, trackedModel->get_path(row))
{
}

RowTracker::~RowTracker() = default;

Gtk::TreeModel::Row RowTracker::current()
{
    // The reference follows sorting and vanishes with its row; it only
    // speaks for the model it was made on, should the Model ever swap in a
    // new sort model.
    if (reference.is_valid() && trackedModel == model->sorted) {
        const Gtk::TreeModel::iterator iter = trackedModel->get_iter(reference.get_path());
        if (iter)
            return *iter;
    }
    return findByName();
}

Gtk::TreeModel::Row RowTracker::findByName()
{
    // Walk down the store along the name's prefixes: only a row whose full
    // name starts the wanted one can hold it.
    Gtk::TreeModel::iterator found;
    for (auto iter = model->store->children().begin(); iter;) {
        const Glib::ustring name = (*iter)[model->fullName];
        if (name == fullName) {
            found = iter;
            break;
        }
        if (fullName.compare(0, name.size() + 1, name + ".") == 0)
            iter = iter->children().begin();
        else
            ++iter;
    }
    if (!found)
        throw new SysctlException("The object is no longer in the tree; open it again from the tree");

    GtkTreeIter filterIter;
    GtkTreeIter sortIter;
    if (!gtk_tree_model_filter_convert_child_iter_to_iter(
            model->filter->gobj(), &filterIter, const_cast<GtkTreeIter *>(found.gobj())) ||
        !gtk_tree_model_sort_convert_child_iter_to_iter(model->sorted->gobj(), &sortIter,
                                                        &filterIter))
        throw new SysctlException(
            "The object is hidden in the tree; show the internal nodes to set its value");

    const Gtk::TreeModel::iterator row(GTK_TREE_MODEL(model->sorted->gobj()), &sortIter);
    trackedModel = model->sorted;
    reference = Gtk::TreeRowReference(trackedModel, trackedModel->get_path(row));
    return *row;
}
