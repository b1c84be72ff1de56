#include "objectwindow/ObjectWindow.h"

#include "mib/SysctlException.h"
#include "model/Model.h"
#include "model/ShownText.h"

#include <glibmm/main.h>
#include <gtkmm/adjustment.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/textview.h>
#include <gtkmm/viewport.h>

namespace {
// A title is one line; the fields wrap. Each field but the value, which is
// shown whole, shows at most this much of a text that the kernel handed over.
constexpr std::size_t titleBytes = 200;
constexpr std::size_t fieldBytes = 10000;
constexpr std::size_t fieldLines = 200;
}

ObjectWindow::ObjectWindow(Gtk::TreeModel::Row row, Model *model)
    : model(model), newValueEntry(nullptr), tracker(row, model)
{
    auto *viewport = Gtk::manage(new Gtk::Viewport(Gtk::Adjustment::create(0, 0, 100, 1, 10, 0),
                                                   Gtk::Adjustment::create(0, 0, 100, 1, 10, 0)));
    auto *grid = Gtk::manage(new Gtk::Grid());
    auto *scrolled = Gtk::manage(new Gtk::ScrolledWindow());
    setValueButton = Gtk::manage(new Gtk::Button("Set Value"));
    newValueEntry = Gtk::manage(new Gtk::Entry());

    set_default_size(500, 400);
    set_resizable(true);
    set_title(shortenedText(Glib::ustring(row[model->name]), titleBytes, 1));
    set_border_width(10);
    grid->set_row_spacing(5);
    grid->set_column_spacing(8);

    // Shown as the tree shows it, asked for by the kernel's own bytes.
    const Glib::ustring fullName = row[model->fullName];
    const Glib::ustring legend = flagsLegend(row);
    const Glib::ustring valueText =
        model->readValue(tracker.kernelName().c_str(), true, -1, "ERROR");
    const Glib::ustring handler = handlerAnswer(tracker.kernelName());

    addField(grid, 0, "OID", row[model->oid], false);
    addField(grid, 1, "Name", fullName, false);
    addField(grid, 2, "Description", row[model->description], false);
    addField(grid, 3, "Label", row[model->label], false);
    addField(grid, 4, "Flags", legend, false);
    addField(grid, 5, "Handler", handler, false);
    addField(grid, 6, "Type", row[model->type], false);
    addField(grid, 7, "Format", row[model->format], false);
    addField(grid, 8, "Value", valueText, true);

    grid->attach(*setValueButton, 0, 9, 1, 1);
    setValueButton->signal_clicked().connect(sigc::mem_fun(*this, &ObjectWindow::onSetValueClicked));
    newValueEntry->set_hexpand(true);
    newValueEntry->signal_activate().connect(sigc::mem_fun(*this, &ObjectWindow::onNewValueActivated));
    grid->attach(*newValueEntry, 1, 9, 1, 1);

    if (!row[model->WR]) {
        setValueButton->set_sensitive(false);
        newValueEntry->set_text("Not Writable");
        newValueEntry->set_sensitive(false);
    }

    scrolled->set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
    scrolled->set_propagate_natural_width(true);
    scrolled->set_propagate_natural_height(true);
    viewport->add(*grid);
    scrolled->add(*viewport);
    add(*scrolled);

    // Closing only hides a window that C++ owns; nothing else holds this one.
    hideConnection = signal_hide().connect(sigc::mem_fun(*this, &ObjectWindow::onHide));

    show_all_children();
    show();
}

ObjectWindow::~ObjectWindow()
{
    // The base class hides a window still shown as it goes; this part is
    // gone by then.
    hideConnection.disconnect();
}

Glib::ustring ObjectWindow::flagsLegend(const Gtk::TreeModel::Row &row) const
{
    Glib::ustring legend;
    for (const FlagEntry &entry : model->flagTable) {
        if (!row[entry.column])
            continue;
        if (!legend.empty())
            legend += "\n";
        legend += Glib::ustring(entry.name) + ",  " + entry.description;
    }
    return legend;
}

Glib::ustring ObjectWindow::handlerAnswer(const std::string &kernelName)
{
    try {
        return model->hasHandler(kernelName.c_str()) ? "Defined" : "Undefined";
    } catch (SysctlException *error) {
        const Glib::ustring answer = Glib::ustring("ERROR: ") + error->what();
        delete error;
        return answer;
    }
}

void ObjectWindow::addField(Gtk::Grid *grid, int gridRow, const Glib::ustring &title,
                            const Glib::ustring &text, bool monospace)
{
    auto *label = Gtk::manage(new Gtk::Label(title));
    label->set_xalign(1.0);
    label->set_yalign(0.0);
    grid->attach(*label, 0, gridRow, 1, 1);

    Glib::RefPtr<Gtk::TextBuffer> buffer = Gtk::TextBuffer::create();
    auto *view = Gtk::manage(new Gtk::TextView(buffer));
    view->set_hexpand(true);
    view->set_left_margin(3);
    view->set_right_margin(3);
    view->set_editable(false);
    view->set_cursor_visible(false);
    if (monospace) {
        view->set_monospace(true);
        valueBuffer = buffer;
        valueView = view;
        // The value (the one monospace field) is shown whole, however long.
        showValue(text);
    } else {
        buffer->set_text(shortenedText(text, fieldBytes, fieldLines));
        view->set_wrap_mode(hasLongUnbrokenRun(text) ? Gtk::WRAP_CHAR : Gtk::WRAP_WORD_CHAR);
    }
    grid->attach(*view, 1, gridRow, 1, 1);
    fields.push_back(view);
    view->signal_size_allocate().connect(
        sigc::bind(sigc::mem_fun(*this, &ObjectWindow::onFieldAllocated), view));
}

void ObjectWindow::showValue(const Glib::ustring &text)
{
    valueView->set_wrap_mode(hasLongUnbrokenRun(text) ? Gtk::WRAP_CHAR : Gtk::WRAP_WORD_CHAR);
    valueBuffer->set_text(text);
}

void ObjectWindow::onNewValueActivated()
{
    if (setValueButton->get_sensitive())
        onSetValueClicked();
}

void ObjectWindow::onFieldAllocated(Gtk::Allocation &, Gtk::TextView *)
{
    // A text view wraps its text only once it has a width, and then may not
    // ask again for the height that the wrapped lines need: a long value
    // showed its first line alone. Look again once this allocation is done.
    if (!fitConnection.connected())
        fitConnection = Glib::signal_idle().connect(sigc::mem_fun(*this, &ObjectWindow::onFitFields));
}

bool ObjectWindow::onFitFields()
{
    fitConnection = sigc::connection();
    for (Gtk::TextView *view : fields) {
        int lineTop = 0;
        int lineHeight = 0;
        view->get_line_yrange(view->get_buffer()->end(), lineTop, lineHeight);
        const int needed = lineTop + lineHeight + view->get_top_margin() + view->get_bottom_margin();
        if (needed > view->get_allocated_height())
            view->queue_resize();
    }
    return false;
}

void ObjectWindow::onHide()
{
    // A set-value dialog runs in a nested loop inside this window's handler;
    // the window must outlive it.
    if (settingValue)
        closedWhileSetting = true;
    else
        delete this;
}

void ObjectWindow::onClosedDuringSet()
{
    delete this;
}
