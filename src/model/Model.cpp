#include "model/Model.h"

#include "ctlvocab.h"

#include <vector>

Model::Model()
    : columnTable{{
          {"OID", oid, false},
          {"Label", label, false},
          {"Description", description, true},
          {"Flags", flags, false},
          {"Type", type, false},
          {"Format", format, false},
          {"Value", value, true},
      }},
      flagTable{{
          {NM_CTLFLAG_RD, "RD", "Can read the value", RD, true},
          {NM_CTLFLAG_WR, "WR", "Can write the value", WR, true},
          {NM_CTLFLAG_RW, "RW", "RD and WR", RW, false},
          {NM_CTLFLAG_ANYBODY, "ANYBODY", "All users can set this var", ANYBODY, true},
          {NM_CTLFLAG_TUN, "TUN", "Default value is loaded from getenv()", TUN, true},
          {NM_CTLFLAG_RDTUN, "RDTUN", "RD and TUN", RDTUN, false},
          {NM_CTLFLAG_RWTUN, "RWTUN", "RW and TUN", RWTUN, false},
          {NM_CTLFLAG_STATS, "STATS", "Statistics, not a tuneable", STATS, true},
          {NM_CTLFLAG_NOFETCH, "NOFETCH", "Don't fetch tunable from getenv()", NOFETCH, true},
          {NM_CTLFLAG_CAPRD, "CAPRD", "Can read the value in Capability mode", CAPRD, true},
          {NM_CTLFLAG_CAPWR, "CAPWR", "Can write the value Capability mode", CAPWR, true},
          {NM_CTLFLAG_CAPRW, "CAPRW", "CAPRD and CAPWR", CAPRW, false},
          {NM_CTLFLAG_SECURE, "SECURE", "Can write the value only if securelevel<=0", SECURE, true},
          {NM_CTLFLAG_PRISON, "PRISON", "Prisoned roots can fiddle", PRISON, true},
          {NM_CTLFLAG_VNET, "VNET", "Prisons with vnet can fiddle", VNET, true},
          {NM_CTLFLAG_MPSAFE, "MPSAFE", "Multiprocessor safe", MPSAFE, true},
          {NM_CTLFLAG_NEEDGIANT, "NEEDGIANT", "Requires Giant lock", NEEDGIANT, false},
          {NM_CTLFLAG_DYN, "DYN", "Dynamic parameter/OID (can be freed)", DYN, true},
          {NM_CTLFLAG_DYING, "DYING", "Parameter is being removed (kernel debug)", DYING, false},
          {NM_CTLFLAG_DORMANT, "DORMANT", "The parameter is not active yet (kernel debug)", DORMANT, false},
          {NM_CTLFLAG_SKIP, "SKIP", "Skip the value when listing", SKIP, false},
      }},
      showInternal(false),
      refreshCount(0),
      self(std::make_shared<Model *>(this))
{
    // The order of adding fixes the store indexes.
    columnRecord.add(internal);
    columnRecord.add(name);
    for (auto &entry : columnTable)
        columnRecord.add(entry.column);
    columnRecord.add(fullName);
    columnRecord.add(flagBits);
    columnRecord.add(typeCode);
    for (auto &entry : flagTable)
        columnRecord.add(entry.column);

    store = newStore();
    filter = newFilter(store);
    sorted = newSorted(filter);
}

Model::~Model()
{
    *self = nullptr;
    // The views hold references of their own; each model ends with its last holder.
    sorted.reset();
    filter.reset();
    store.reset();
}

// The models are GTK's own classes, wrapped. The ::create() functions make
// C++-derived classes whose every vfunc call (each iter_next of the filter,
// the sort model, the views and foreach) goes through a C++ trampoline that
// looks for an override; with tens of thousands of rows that is a large
// share of all the work, and this program overrides nothing.
Glib::RefPtr<Gtk::TreeStore> Model::newStore()
{
    std::vector<GType> types(columnRecord.types(), columnRecord.types() + columnRecord.size());
    return Glib::wrap(gtk_tree_store_newv(static_cast<gint>(types.size()), types.data()));
}

Glib::RefPtr<Gtk::TreeModelFilter> Model::newFilter(const Glib::RefPtr<Gtk::TreeStore> &child)
{
    Glib::RefPtr<Gtk::TreeModelFilter> made =
        Glib::wrap(GTK_TREE_MODEL_FILTER(gtk_tree_model_filter_new(GTK_TREE_MODEL(child->gobj()), nullptr)));
    std::weak_ptr<Model *> cell = self;
    made->set_visible_func([cell](const Gtk::TreeModel::const_iterator &row) {
        auto model = cell.lock();
        return model && *model ? (*model)->isRowVisible(row) : false;
    });
    return made;
}

Glib::RefPtr<Gtk::TreeModelSort> Model::newSorted(const Glib::RefPtr<Gtk::TreeModelFilter> &child)
{
    return Glib::wrap(GTK_TREE_MODEL_SORT(
        gtk_tree_model_sort_new_with_model(GTK_TREE_MODEL(child->gobj()))));
}

Glib::RefPtr<Gtk::TreeModelSort> Model::sortedModel()
{
    return sorted;
}

void Model::toggleInternal()
{
    showInternal = !showInternal;
    filter->refilter();
}

bool Model::isRowVisible(const Gtk::TreeModel::const_iterator &row)
{
    if (showInternal)
        return true;
    return !(*row)[internal];
}
