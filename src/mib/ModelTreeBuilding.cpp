#include "mib/CtlType.h"
#include "mib/NumberText.h"
#include "mib/ValidUtf8.h"
#include "mib/ObjectValue.h"
#include "model/Model.h"
#include "model/PendingEvents.h"
#include "model/ProgressBarWindow.h"
#include "model/StoreCells.h"
#include "nmeta.h"

#include <charconv>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

namespace {

// A text of the library's object as the store takes it: the object's own
// bytes when they are UTF-8 (the store copies them), a mended copy otherwise.
class StoreText {
public:
    explicit StoreText(const char *text)
        : text(text), mended(text && !isValidUtf8(text, std::strlen(text))
                                 ? g_utf8_make_valid(text, -1)
                                 : nullptr)
    {
    }
    ~StoreText() { g_free(mended); }
    StoreText(const StoreText &) = delete;
    StoreText &operator=(const StoreText &) = delete;

    const char *get() const { return mended ? mended : text; }
    bool isMended() const { return mended != nullptr; }

private:
    const char *text;
    gchar *mended;
};

// The levels as "1. 2. 3", in a buffer reused from row to row: valid until
// the next call.
const char *oidText(const MibObject *object)
{
    static std::string text;
    text.clear();
    for (uint64_t i = 0; i < object->oidLength; ++i) {
        if (i)
            text += ". ";
        char digits[16];
        text.append(digits, std::to_chars(digits, digits + sizeof digits, object->oidLevels[i]).ptr);
    }
    return text.c_str();
}

// Few distinct flag sets occur; each one's text is made once.
const Glib::ustring &flagsText(uint32_t flags)
{
    static std::unordered_map<uint32_t, Glib::ustring> texts;
    auto [at, added] = texts.try_emplace(flags);
    if (added)
        at->second = "0x" + hexText(flags);
    return at->second;
}

const char *typeName(unsigned type)
{
    if (type < ctlTypeCount)
        return ctlTypeTable[type].typeName;
    static std::unordered_map<unsigned, std::string> unknown;
    auto [at, added] = unknown.try_emplace(type);
    if (added)
        at->second = "unknown (" + std::to_string(type) + ")";
    return at->second.c_str();
}

}  // namespace

bool Model::rebuildTree()
{
    // Empty first: the views are given models over a new, empty store, and
    // only then are the old rows released. Emptying the old store while the
    // views and their filter and sort model still listened to it cost a
    // signal through each of them. Nothing else may hold the old filter or
    // sort model by then (object windows keep only names): GTK's sort model
    // reads levels it has just freed when the store under it loses rows
    // many levels deep.
    const Glib::RefPtr<Gtk::TreeStore> previous = store;
    store = newStore();
    mendedNames.clear();
    replaceModels();
    previous->clear();

    // The rows go into another fresh store that nothing listens to yet:
    // filling a store under a filter, a sort model and two views costs a
    // signal through each of them per row. A new filter and sort model over
    // the filled store then take the empty ones' place.
    store = newStore();
    bool built = false;
    try {
        built = buildTree();
    } catch (...) {
        replaceModels();
        throw;
    }
    replaceModels();
    return built;
}

void Model::replaceModels()
{
    Glib::RefPtr<Gtk::TreeModelFilter> freshFilter = newFilter(store);
    Glib::RefPtr<Gtk::TreeModelSort> freshSorted = newSorted(freshFilter);
    // The user's sort order carries over.
    int sortColumn = 0;
    Gtk::SortType sortOrder = Gtk::SORT_ASCENDING;
    if (sorted->get_sort_column_id(sortColumn, sortOrder))
        freshSorted->set_sort_column(sortColumn, sortOrder);
    filter = freshFilter;
    sorted = freshSorted;
    signalModelsReplaced.emit();
}

bool Model::buildTree()
{
    MibObjectList *mib = nmeta_mib();
    if (!mib)
        return false;

    // Released on every path, so no progress window is ever left behind.
    auto progress = std::make_unique<ProgressBarWindow>("Building Tree", false);
    runPendingEvents();
    try {
        for (MibObject *top = mib->first; top; top = top->next) {
            progress->setSubtree(StoreText(top->name ? top->name : "").get());
            runPendingEvents();
            addObject(top, nullptr);
        }
    } catch (...) {
        nmeta_freemib(mib);
        progress->hide();
        throw;
    }
    nmeta_freemib(mib);
    progress->hide();
    return true;
}

void Model::addObject(MibObject *object, const Gtk::TreeModel::Row *parent)
{
    // Rows are made by the ten thousand: texts are pointed at, not copied,
    // until the store takes its own copy.
    const StoreText fullText(object->name ? object->name : "");
    // A '.' cannot occur inside a multi-byte UTF-8 sequence.
    const char *dot = std::strrchr(fullText.get(), '.');
    const char *shortName = dot ? dot + 1 : fullText.get();
    const char *oidString = oidText(object);
    const StoreText labelText(object->label);
    const StoreText descriptionText(object->description);
    const char *typeText = typeName(object->type);
    const StoreText formatText(object->format);
    const Glib::ustring valueText = formatValue(object, false, rowValueLimit, unreadValueText);

    StoreCells cells;
    cells.set(internal, object->oidLength > 0 && object->oidLevels[0] == 0);
    cells.set(oid, oidString);
    cells.set(fullName, fullText.get());
    cells.set(name, shortName);
    cells.set(description, descriptionText.get());
    cells.set(label, labelText.get());
    cells.set(format, formatText.get());
    cells.set(type, typeText);
    cells.set(typeCode, object->type);
    cells.set(flags, flagsText(object->flags).c_str());
    cells.set(flagBits, object->flags);
    for (const FlagEntry &entry : flagTable)
        cells.set(entry.column, (object->flags & entry.flag) == entry.flag);
    cells.set(value, valueText.c_str());
    GtkTreeIter iter =
        cells.insert(store->gobj(), parent ? const_cast<GtkTreeIter *>(parent->gobj()) : nullptr);

    // The kernel knows the object only by its own bytes.
    if (fullText.isMended())
        mendedNames.emplace(iter.user_data, object->name);

    const Gtk::TreeModel::Row row = *Gtk::TreeModel::iterator(GTK_TREE_MODEL(store->gobj()), &iter);
    if (object->children)
        for (MibObject *child = object->children->first; child; child = child->next)
            addObject(child, &row);
}
