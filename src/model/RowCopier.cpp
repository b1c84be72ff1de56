#include "model/RowCopier.h"

#include "mib/ObjectValue.h"
#include "model/Model.h"

#include <gtkmm/accelgroup.h>
#include <gtkmm/clipboard.h>

RowCopier::RowCopier(Model *model)
    : copyNameItem("Copy Name"), copyValueItem("Copy Value"), copyLineItem("Copy Name = Value"),
      model(model)
{
    copyNameItem.signal_activate().connect(sigc::mem_fun(*this, &RowCopier::onCopyName));
    copyValueItem.signal_activate().connect(sigc::mem_fun(*this, &RowCopier::onCopyValue));
    copyLineItem.signal_activate().connect(sigc::mem_fun(*this, &RowCopier::onCopyLine));
    menu.append(copyNameItem);
    menu.append(copyValueItem);
    menu.append(copyLineItem);
    menu.show_all_children();
}

RowCopier::~RowCopier() = default;

void RowCopier::attach(Gtk::TreeView &view)
{
    // Before the view's own handlers: the view would hand Ctrl+C to its search.
    view.signal_key_press_event().connect(
        sigc::bind(sigc::mem_fun(*this, &RowCopier::onKeyPress), &view), false);
    view.signal_button_press_event().connect(
        sigc::bind(sigc::mem_fun(*this, &RowCopier::onButtonPress), &view), false);
    view.signal_popup_menu().connect(sigc::bind(sigc::mem_fun(*this, &RowCopier::onPopupMenu), &view));
}

Glib::ustring RowCopier::nameText(const Gtk::TreeModel::iterator &row) const
{
    return (*row)[model->fullName];
}

Glib::ustring RowCopier::valueText(const Gtk::TreeModel::iterator &row)
{
    const Glib::ustring shown = (*row)[model->value];
    if (shown != unreadValueText)
        return shown;
    // As the object window reads it: SKIP objects too, whatever the size.
    return model->readValue(nameText(row), true, -1, "ERROR");
}

Glib::ustring RowCopier::lineText(const Gtk::TreeModel::iterator &row)
{
    return nameText(row) + " = " + valueText(row);
}

bool RowCopier::onKeyPress(GdkEventKey *event, Gtk::TreeView *view)
{
    const guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
    if (modifiers != GDK_CONTROL_MASK || gdk_keyval_to_lower(event->keyval) != GDK_KEY_c)
        return false;
    if (const Gtk::TreeModel::iterator row = view->get_selection()->get_selected())
        copy(lineText(row));
    return true;
}

bool RowCopier::onButtonPress(GdkEventButton *event, Gtk::TreeView *view)
{
    if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_SECONDARY ||
        event->window != view->get_bin_window()->gobj())
        return false;
    Gtk::TreeModel::Path path;
    Gtk::TreeViewColumn *column = nullptr;
    int cellX = 0;
    int cellY = 0;
    if (!view->get_path_at_pos(static_cast<int>(event->x), static_cast<int>(event->y), path, column,
                               cellX, cellY))
        return false;
    view->get_selection()->select(path);
    popUpFor(*view, path, reinterpret_cast<GdkEvent *>(event));
    return true;
}

bool RowCopier::onPopupMenu(Gtk::TreeView *view)
{
    const Gtk::TreeModel::iterator row = view->get_selection()->get_selected();
    if (!row)
        return false;
    popUpFor(*view, view->get_model()->get_path(row), nullptr);
    return true;
}

void RowCopier::popUpFor(Gtk::TreeView &view, const Gtk::TreeModel::Path &path, GdkEvent *event)
{
    menuReference = Gtk::TreeRowReference(view.get_model(), path);
    if (event) {
        menu.popup_at_pointer(event);
        return;
    }
    // From the keyboard: beside the row.
    Gdk::Rectangle cell;
    view.get_cell_area(path, *view.get_column(0), cell);
    menu.popup_at_rect(view.get_bin_window(), cell, Gdk::GRAVITY_SOUTH_WEST, Gdk::GRAVITY_NORTH_WEST,
                       nullptr);
}

Gtk::TreeModel::iterator RowCopier::menuRow()
{
    // A rebuild puts new rows and a new sort model in place; the old row is gone then.
    if (!menuReference.is_valid() || menuReference.get_model() != Glib::RefPtr<Gtk::TreeModel>(model->sorted))
        return {};
    return model->sorted->get_iter(menuReference.get_path());
}

void RowCopier::onCopyName()
{
    if (const Gtk::TreeModel::iterator row = menuRow())
        copy(nameText(row));
}

void RowCopier::onCopyValue()
{
    if (const Gtk::TreeModel::iterator row = menuRow())
        copy(valueText(row));
}

void RowCopier::onCopyLine()
{
    if (const Gtk::TreeModel::iterator row = menuRow())
        copy(lineText(row));
}

void RowCopier::copy(const Glib::ustring &text)
{
    Gtk::Clipboard::get(GDK_SELECTION_CLIPBOARD)->set_text(text);
}
