#include "mib/ObjectValue.h"
#include "model/Model.h"
#include "model/PendingEvents.h"
#include "model/ProgressBarWindow.h"
#include "model/StoreCells.h"

#include <memory>

void Model::refreshValues()
{
    refreshCount = 0;
    auto progress = std::make_unique<ProgressBarWindow>("Refreshing Values", true);
    runPendingEvents();

    // Depth first over every row of the store, hidden ones included. One
    // iterator is reused for all rows: wrapping each row's iterator anew (as
    // foreach_iter does) costs more than reading its value.
    struct Walk {
        Model *model;
        Gtk::TreeModel::iterator row;
    } walk{this, store->children().begin()};
    gtk_tree_model_foreach(
        GTK_TREE_MODEL(store->gobj()),
        [](GtkTreeModel *, GtkTreePath *, GtkTreeIter *iter, gpointer data) -> gboolean {
            auto *w = static_cast<Walk *>(data);
            *w->row.gobj() = *iter;
            return w->model->refreshRow(w->row);
        },
        &walk);
    progress->hide();
}

bool Model::refreshRow(const Gtk::TreeModel::iterator &row)
{
    if (!row)
        return false;
    if (refreshCount++ >= 100) {
        refreshCount = 0;
        runPendingEvents();
    }
    // Read through the C interface: one copy of each text instead of three.
    GtkTreeModel *model = GTK_TREE_MODEL(store->gobj());
    GtkTreeIter *iter = const_cast<GtkTreeIter *>(row.gobj());
    StoreCells cells;
    const std::string *kernelBytes = mendedName(iter);
    const char *name = kernelBytes ? kernelBytes->c_str() : cells.text(model, iter, fullName);
    const Glib::ustring text = readValue(name ? name : "", false, rowValueLimit, unreadValueText);
    const char *old = cells.text(model, iter, value);
    // Rewriting an unchanged text would make the views lay the row out again.
    if (text.raw() != (old ? old : ""))
        (*row)[value] = text;
    return false;
}
