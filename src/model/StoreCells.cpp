#include "model/StoreCells.h"

#include <stdexcept>

StoreCells::~StoreCells()
{
    clear();
}

GValue &StoreCells::add(int column, GType type)
{
    if (count == capacity)
        throw std::logic_error("more cells than a row has columns");
    GValue &value = values[count];
    value = G_VALUE_INIT;
    g_value_init(&value, type);
    columns[count++] = column;
    return value;
}

void StoreCells::set(const Gtk::TreeModelColumn<bool> &column, bool value)
{
    if (value)
        g_value_set_boolean(&add(column.index(), G_TYPE_BOOLEAN), TRUE);
}

void StoreCells::set(const Gtk::TreeModelColumn<guint32> &column, guint32 value)
{
    if (value)
        g_value_set_uint(&add(column.index(), G_TYPE_UINT), value);
}

void StoreCells::set(const Gtk::TreeModelColumn<Glib::ustring> &column, const char *text)
{
    if (text && *text)
        g_value_set_static_string(&add(column.index(), G_TYPE_STRING), text);
}

GtkTreeIter StoreCells::insert(GtkTreeStore *store, GtkTreeIter *parent)
{
    GtkTreeIter iter;
    gtk_tree_store_insert_with_valuesv(store, &iter, parent, -1, columns.data(), values.data(),
                                       count);
    return iter;
}

const GValue &StoreCells::read(GtkTreeModel *model, GtkTreeIter *iter, int column)
{
    if (count == capacity)
        throw std::logic_error("more cells than a row has columns");
    GValue &value = values[count];
    value = G_VALUE_INIT;
    gtk_tree_model_get_value(model, iter, column, &value);
    columns[count++] = column;
    return value;
}

const char *StoreCells::text(GtkTreeModel *model, GtkTreeIter *iter,
                             const Gtk::TreeModelColumn<Glib::ustring> &column)
{
    return g_value_get_string(&read(model, iter, column.index()));
}

void StoreCells::clear()
{
    for (int i = 0; i < count; ++i)
        g_value_unset(&values[i]);
    count = 0;
}
