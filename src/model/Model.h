#ifndef OIDSCOPE_MODEL_H
#define OIDSCOPE_MODEL_H

#include <gtkmm/treemodelcolumn.h>
#include <gtkmm/treemodelfilter.h>
#include <gtkmm/treemodelsort.h>
#include <gtkmm/treestore.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

struct MibObject;

// One optional column of the Main tree.
struct ColumnEntry {
    const char *title;
    Gtk::TreeModelColumn<Glib::ustring> &column;
    bool visibleByDefault;
};

// One kernel flag (or the union of two) with its bool column.
struct FlagEntry {
    std::uint32_t flag;
    const char *name;
    const char *description;
    Gtk::TreeModelColumn<bool> &column;
    bool visibleByDefault;
};

// The whole MIB as one tree of rows, with a filter that hides the kernel's
// internal subtree and a sort model on top that both tree views show.
class Model {
public:
    Model();
    virtual ~Model();

    Model(const Model &) = delete;
    Model &operator=(const Model &) = delete;

    // Columns, in store order.
    Gtk::TreeModelColumn<bool> internal;
    Gtk::TreeModelColumn<Glib::ustring> name;
    Gtk::TreeModelColumn<Glib::ustring> oid;
    Gtk::TreeModelColumn<Glib::ustring> label;
    Gtk::TreeModelColumn<Glib::ustring> description;
    Gtk::TreeModelColumn<Glib::ustring> flags;
    Gtk::TreeModelColumn<Glib::ustring> type;
    Gtk::TreeModelColumn<Glib::ustring> format;
    Gtk::TreeModelColumn<Glib::ustring> value;
    Gtk::TreeModelColumn<Glib::ustring> fullName;
    Gtk::TreeModelColumn<guint32> flagBits;
    Gtk::TreeModelColumn<guint32> typeCode;
    Gtk::TreeModelColumn<bool> RD;
    Gtk::TreeModelColumn<bool> WR;
    Gtk::TreeModelColumn<bool> RW;
    Gtk::TreeModelColumn<bool> ANYBODY;
    Gtk::TreeModelColumn<bool> TUN;
    Gtk::TreeModelColumn<bool> RDTUN;
    Gtk::TreeModelColumn<bool> RWTUN;
    Gtk::TreeModelColumn<bool> STATS;
    Gtk::TreeModelColumn<bool> NOFETCH;
    Gtk::TreeModelColumn<bool> CAPRD;
    Gtk::TreeModelColumn<bool> CAPWR;
    Gtk::TreeModelColumn<bool> CAPRW;
    Gtk::TreeModelColumn<bool> SECURE;
    Gtk::TreeModelColumn<bool> PRISON;
    Gtk::TreeModelColumn<bool> VNET;
    Gtk::TreeModelColumn<bool> MPSAFE;
    Gtk::TreeModelColumn<bool> NEEDGIANT;
    Gtk::TreeModelColumn<bool> DYN;
    Gtk::TreeModelColumn<bool> DYING;
    Gtk::TreeModelColumn<bool> DORMANT;
    Gtk::TreeModelColumn<bool> SKIP;

    std::array<ColumnEntry, 7> columnTable;
    std::array<FlagEntry, 21> flagTable;

    Gtk::TreeModelColumnRecord columnRecord;
    Glib::RefPtr<Gtk::TreeStore> store;
    bool showInternal;
    Glib::RefPtr<Gtk::TreeModelFilter> filter;
    Glib::RefPtr<Gtk::TreeModelSort> sorted;
    int refreshCount;

    Glib::RefPtr<Gtk::TreeModelSort> sortedModel();
    // Emitted when a rebuild has put a new filter and sort model in place of
    // the old ones (once when it empties the tree, once when it is filled);
    // views then show sortedModel() again.
    sigc::signal<void()> signalModelsReplaced;
    void toggleInternal();
    bool isRowVisible(const Gtk::TreeModel::const_iterator &row);

    // Tree building.
    bool rebuildTree();
    bool buildTree();
    void addObject(MibObject *object, const Gtk::TreeModel::Row *parent);

    // Names as the kernel gave them. The store holds texts mended to UTF-8;
    // the kernel knows an object only by its own bytes.
    // The row of the store behind a row of the store, the filter or the sort
    // model now in place; an invalid iterator for a row of any other model.
    Gtk::TreeModel::iterator storeRow(const Gtk::TreeModel::iterator &row) const;
    // The object's full name in the kernel's bytes, for such a row.
    std::string kernelName(const Gtk::TreeModel::iterator &row) const;
    // The kernel's bytes for a store row whose name had to be mended, or
    // null when the fullName column holds them as they are.
    const std::string *mendedName(const GtkTreeIter *storeIter) const;

    // Values.
    Glib::ustring readValue(const Glib::ustring &fullName, bool force, int sizeLimit,
                            const Glib::ustring &placeholder);
    // The same for a name the caller holds as bytes (refresh reads it from
    // the store), without a copy. With failed given, it tells whether the
    // value could not be read (as opposed to being shown empty by rule).
    Glib::ustring readValue(const char *fullName, bool force, int sizeLimit,
                            const Glib::ustring &placeholder, bool *failed = nullptr);
    void refreshValues();
    bool refreshRow(const Gtk::TreeModel::iterator &row);

    // Setting values.
    bool hasHandler(const Glib::ustring &fullName);
    bool hasHandler(const char *fullName);
    Glib::ustring setValue(Gtk::TreeModel::Row row, Glib::ustring newValue);
    // Puts a value text into the row as the trees show it: unreadValueText
    // for a text of more than rowValueLimit characters.
    void putValue(Gtk::TreeModel::Row row, const Glib::ustring &text);

private:
    Glib::RefPtr<Gtk::TreeStore> newStore();
    Glib::RefPtr<Gtk::TreeModelFilter> newFilter(const Glib::RefPtr<Gtk::TreeStore> &child);
    Glib::RefPtr<Gtk::TreeModelSort> newSorted(const Glib::RefPtr<Gtk::TreeModelFilter> &child);
    // Puts a new filter and sort model over the current store in place of
    // the old ones, keeping the sort order, and tells the views.
    void replaceModels();
    // The filter may outlive this Model (the views hold it); its visible
    // function reaches the Model only through this cell, cleared on destruction.
    std::shared_ptr<Model *> self;
    // The kernel's bytes of the names that were not valid UTF-8, by the
    // store row's node (tree store rows keep their node while they live,
    // and leave only when a rebuild drops the whole store). Keyed by row,
    // not by the mended text: two names can mend to the same text.
    std::unordered_map<const void *, std::string> mendedNames;
};

#endif
