#include "model/Trees.h"

#include "model/Model.h"
#include "model/ShownText.h"
#include "model/StoreCells.h"
#include "objectwindow/ObjectWindow.h"

#include <gtkmm/cellrenderertext.h>
#include <gtkmm/stylecontext.h>

namespace {

constexpr int nameWrapWidth = 150;
constexpr int textWrapWidth = 300;

Gtk::CellRendererText *textRenderer(Gtk::TreeViewColumn *column)
{
    return column ? dynamic_cast<Gtk::CellRendererText *>(column->get_first_cell()) : nullptr;
}

// A negative wrap width means the column does not wrap.
void flipWrap(Gtk::TreeViewColumn *column, int width)
{
    if (Gtk::CellRendererText *renderer = textRenderer(column))
        renderer->property_wrap_width() = renderer->property_wrap_width() < 0 ? width : -1;
}

// Pango marks a break inside a word with a hyphen that is not in the text;
// names such as page-cluster hold real ones, so the inserted ones would
// mislead.
void wrapWithoutHyphens(Gtk::CellRendererText *renderer, int width, Pango::WrapMode mode)
{
    Pango::AttrList attributes;
    Pango::AttrInt noHyphens = Pango::Attribute::create_attr_insert_hyphens(false);
    attributes.insert(noHyphens);
    renderer->property_attributes() = attributes;
    renderer->property_wrap_width() = width;
    renderer->property_wrap_mode() = mode;
}

void flipVisible(Gtk::TreeView &view, int position)
{
    if (Gtk::TreeViewColumn *column = view.get_column(position))
        column->set_visible(!column->get_visible());
}

// Every column of both views: sortable by its model column, resizable, at
// least wide enough to grab.
template <typename T>
Gtk::TreeViewColumn &appendColumn(Gtk::TreeView &view, const Glib::ustring &title,
                                  const Gtk::TreeModelColumn<T> &modelColumn, bool visible)
{
    auto *column = Gtk::manage(new Gtk::TreeViewColumn(title, modelColumn));
    column->set_min_width(50);
    column->set_resizable(true);
    column->set_visible(visible);
    view.append_column(*column);
    column->set_sort_column(modelColumn);
    return *column;
}

}  // namespace

Trees::Trees(Gtk::Entry &searchEntry, Model *model)
    : model(model), copier(model)
{
    addNameColumn(mainTree, searchEntry);
    for (ColumnEntry &entry : model->columnTable)
        wrapTexts(appendColumn(mainTree, entry.title, entry.column, entry.visibleByDefault),
                  entry.column, textWrapWidth, Pango::WRAP_WORD_CHAR);
    finishView(mainTree);

    addNameColumn(flagsTree, searchEntry);
    for (FlagEntry &entry : model->flagTable)
        appendColumn(flagsTree, entry.name, entry.column, entry.visibleByDefault);
    finishView(flagsTree);

    // A rebuild replaces the sort model; the views keep their columns and settings.
    modelsReplaced = model->signalModelsReplaced.connect([this] {
        mainTree.set_model(this->model->sortedModel());
        flagsTree.set_model(this->model->sortedModel());
    });
}

Trees::~Trees()
{
    modelsReplaced.disconnect();
}

void Trees::addNameColumn(Gtk::TreeView &view, Gtk::Entry &searchEntry)
{
    view.set_model(model->sortedModel());
    Gtk::TreeViewColumn &column = appendColumn(view, "Name", model->name, true);
    colourNames(column);
    wrapTexts(column, model->name, nameWrapWidth, Pango::WRAP_CHAR);

    // Both views search through the one entry; the comparison ignores the column.
    view.set_enable_search(true);
    view.set_search_column(0);
    view.set_search_entry(searchEntry);
    view.set_search_equal_func(sigc::mem_fun(*this, &Trees::onSearchEqual));
}

void Trees::finishView(Gtk::TreeView &view)
{
    view.set_enable_tree_lines(true);
    view.set_grid_lines(Gtk::TREE_VIEW_GRID_LINES_BOTH);
    view.signal_row_activated().connect(sigc::mem_fun(*this, &Trees::onRowActivated));
    copier.attach(view);
}

Gtk::TreeView &Trees::mainTreeView()
{
    return mainTree;
}

Gtk::TreeView &Trees::flagsTreeView()
{
    return flagsTree;
}

void Trees::expandAll()
{
    mainTree.expand_all();
    flagsTree.expand_all();
}

void Trees::collapseAll()
{
    mainTree.collapse_all();
    flagsTree.collapse_all();
}

void Trees::columnsAutosize()
{
    mainTree.columns_autosize();
    flagsTree.columns_autosize();
}

void Trees::toggleWrap()
{
    // Each column flips by its own state, hidden ones included.
    const int mainCount = static_cast<int>(mainTree.get_n_columns());
    flipWrap(mainTree.get_column(0), nameWrapWidth);
    for (int position = 1; position < mainCount; ++position)
        flipWrap(mainTree.get_column(position), textWrapWidth);
    flipWrap(flagsTree.get_column(0), nameWrapWidth);
    columnsAutosize();
}

void Trees::toggleMainColumn(int position)
{
    flipVisible(mainTree, position);
}

void Trees::toggleFlagsColumn(int position)
{
    flipVisible(flagsTree, position);
}

Glib::ustring Trees::nameColourFor(double red, double green, double blue)
{
    if (red < 0.2 && green < 0.2 && blue < 0.2)
        return "blue";
    if (red == 1.0 && green == 1.0 && blue == 1.0)
        return "yellow";
    return {};
}

void Trees::colourNames(Gtk::TreeViewColumn &column)
{
    Gtk::CellRendererText *renderer = textRenderer(&column);
    if (!renderer)
        return;
    // Decided once: a later theme change does not recolour the names.
    const Gdk::RGBA text = mainTree.get_style_context()->get_color(Gtk::STATE_FLAG_NORMAL);
    const Glib::ustring colour = nameColourFor(text.get_red(), text.get_green(), text.get_blue());
    if (!colour.empty())
        renderer->property_foreground() = colour;
}

void Trees::wrapTexts(Gtk::TreeViewColumn &column,
                      const Gtk::TreeModelColumn<Glib::ustring> &modelColumn, int width,
                      Pango::WrapMode mode)
{
    Gtk::CellRendererText *renderer = textRenderer(&column);
    if (!renderer)
        return;
    wrapWithoutHyphens(renderer, width, mode);
    // A cell lays its whole text out each time it is measured or drawn, and
    // a view measures each row several times. Cells show the start of a long
    // text; the object window shows more of it.
    const int index = modelColumn.index();
    column.clear_attributes(*renderer);
    column.set_cell_data_func(*renderer, [renderer, index](Gtk::CellRenderer *,
                                                           const Gtk::TreeModel::iterator &row) {
        StoreCells cell;
        const GValue &text =
            cell.read(row.get_model_gobject(), const_cast<GtkTreeIter *>(row.gobj()), index);
        const char *bytes = g_value_get_string(&text);
        if (bytes && !fitsShown(bytes))
            renderer->property_text() = shortenedText(bytes);
        else
            g_object_set_property(G_OBJECT(renderer->gobj()), "text", &text);
    });
}

bool Trees::onSearchEqual(const Glib::RefPtr<Gtk::TreeModel> &searchModel, int,
                          const Glib::ustring &key, const Gtk::TreeModel::iterator &row)
{
    if (!row || !searchModel)
        return true;
    const std::string fullName = Glib::ustring((*row)[model->fullName]).raw();
    const std::string &typed = key.raw();

    // Typing deeper into a name opens the rows along the way, in both views.
    if (typed.compare(0, fullName.size(), fullName) == 0) {
        const Gtk::TreeModel::Path path = searchModel->get_path(row);
        mainTree.expand_to_path(path);
        flagsTree.expand_to_path(path);
    }
    return fullName.compare(0, typed.size(), typed) != 0;
}

void Trees::onRowActivated(const Gtk::TreeModel::Path &path, Gtk::TreeViewColumn *)
{
    const Gtk::TreeModel::iterator iter = model->sortedModel()->get_iter(path);
    if (!iter)
        return;
    // Nothing keeps the window: it deletes itself once closed.
    new ObjectWindow(*iter, model);
}
