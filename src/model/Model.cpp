#include "model/Model.h"

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
          {0x80000000u, "RD", "Can read the value", RD, true},
          {0x40000000u, "WR", "Can write the value", WR, true},
          {0xC0000000u, "RW", "RD and WR", RW, false},
          {0x10000000u, "ANYBODY", "All users can set this var", ANYBODY, true},
          {0x00080000u, "TUN", "Default value is loaded from getenv()", TUN, true},
          {0x80080000u, "RDTUN", "RD and TUN", RDTUN, false},
          {0xC0080000u, "RWTUN", "RW and TUN", RWTUN, false},
          {0x00002000u, "STATS", "Statistics, not a tuneable", STATS, true},
          {0x00001000u, "NOFETCH", "Don't fetch tunable from getenv()", NOFETCH, true},
          {0x00008000u, "CAPRD", "Can read the value in Capability mode", CAPRD, true},
          {0x00004000u, "CAPWR", "Can write the value Capability mode", CAPWR, true},
          {0x0000C000u, "CAPRW", "CAPRD and CAPWR", CAPRW, false},
          {0x08000000u, "SECURE", "Can write the value only if securelevel<=0", SECURE, true},
          {0x04000000u, "PRISON", "Prisoned roots can fiddle", PRISON, true},
          {0x00020000u, "VNET", "Prisons with vnet can fiddle", VNET, true},
          {0x00040000u, "MPSAFE", "Multiprocessor safe", MPSAFE, true},
          {0x00000800u, "NEEDGIANT", "Requires Giant lock", NEEDGIANT, false},
          {0x02000000u, "DYN", "Dynamic parameter/OID (can be freed)", DYN, true},
          {0x00010000u, "DYING", "Parameter is being removed (kernel debug)", DYING, false},
          {0x20000000u, "DORMANT", "The parameter is not active yet (kernel debug)", DORMANT, false},
          {0x01000000u, "SKIP", "Skip the value when listing", SKIP, false},
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
