#include "model/Model.h"
#include "model/PendingEvents.h"
#include "model/ProgressBarWindow.h"

#include <memory>

void Model::refreshValues()
{
    refreshCount = 0;
    auto progress = std::make_unique<ProgressBarWindow>("Refreshing Values", true);
    runPendingEvents();
    store->foreach_iter(sigc::mem_fun(*this, &Model::refreshRow));
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
    const Glib::ustring text = readValue((*row)[fullName], false, 100, "[CLICK TO SHOW]");
    // Rewriting an unchanged text would make the views lay the row out again.
    if ((*row)[value] != text)
        (*row)[value] = text;
    return false;
}
