#include "model/Model.h"

Gtk::TreeModel::iterator Model::storeRow(const Gtk::TreeModel::iterator &row) const
{
    if (!row)
        return {};
    GtkTreeModel *owner = row.get_model_gobject();
    Gtk::TreeModel::iterator at = row;
    if (owner == GTK_TREE_MODEL(sorted->gobj())) {
        at = sorted->convert_iter_to_child_iter(at);
        owner = GTK_TREE_MODEL(filter->gobj());
    }
    if (owner == GTK_TREE_MODEL(filter->gobj()))
        return filter->convert_iter_to_child_iter(at);
    if (owner == GTK_TREE_MODEL(store->gobj()))
        return at;
    return {};
}

const std::string *Model::mendedName(const GtkTreeIter *storeIter) const
{
    if (mendedNames.empty())
        return nullptr;
    // A tree store's iterator names the row's node.
    const auto found = mendedNames.find(storeIter->user_data);
    return found == mendedNames.end() ? nullptr : &found->second;
}

std::string Model::kernelName(const Gtk::TreeModel::iterator &row) const
{
    const Gtk::TreeModel::iterator inStore = storeRow(row);
    if (!inStore)
        return {};
    if (const std::string *bytes = mendedName(inStore.gobj()))
        return *bytes;
    return Glib::ustring((*inStore)[fullName]).raw();
}
