#include "support/DialogWatcher.h"

#include <glibmm/main.h>
#include <gtk/gtk.h>
#include <gtkmm/aboutdialog.h>
#include <gtkmm/messagedialog.h>

namespace {
const char answeredKey[] = "oidscope-dialog-watcher-answered";
}

DialogWatcher::DialogWatcher()
{
    timer = Glib::signal_timeout().connect(sigc::mem_fun(*this, &DialogWatcher::poll), 20);
}

DialogWatcher::~DialogWatcher()
{
    timer.disconnect();
}

bool DialogWatcher::poll()
{
    for (Gtk::Window *window : Gtk::Window::list_toplevels()) {
        auto *dialog = dynamic_cast<Gtk::Dialog *>(window);
        if (!dialog || !dialog->get_visible())
            continue;
        // Marked on the object itself: a new dialog may get a freed one's address.
        if (g_object_get_data(G_OBJECT(dialog->gobj()), answeredKey))
            continue;
        g_object_set_data(G_OBJECT(dialog->gobj()), answeredKey, dialog);

        SeenDialog d;
        d.title = dialog->get_title();
        d.parent = dialog->get_transient_for();
        if (auto *message = dynamic_cast<Gtk::MessageDialog *>(dialog)) {
            d.isMessage = true;
            d.type = message->property_message_type();
            d.primary = message->property_text().get_value();
            d.secondary = message->property_secondary_text().get_value();
            d.primaryMarkup = message->property_use_markup();
            d.secondaryMarkup = message->property_secondary_use_markup();
        }
        if (auto *about = dynamic_cast<Gtk::AboutDialog *>(dialog)) {
            d.isAbout = true;
            d.hasLogo = static_cast<bool>(about->get_logo());
            d.programName = about->get_program_name();
        }
        seen.push_back(d);
        if (inspect)
            inspect(*dialog);
        dialog->response(Gtk::RESPONSE_OK);
    }
    return true;
}

void runMainLoopFor(int milliseconds)
{
    bool done = false;
    auto stop = Glib::signal_timeout().connect([&] { done = true; return false; }, milliseconds);
    const Glib::RefPtr<Glib::MainContext> context = Glib::MainContext::get_default();
    while (!done)
        context->iteration(true);
    stop.disconnect();
}
