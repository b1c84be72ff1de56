#include "model/ProgressBarWindow.h"

#include "model/ShownText.h"

#include <glibmm/main.h>

namespace {
// The window takes the width of its text: a name of any length must not
// make it wider than the screen.
constexpr std::size_t subtreeNameBytes = 64;
}

ProgressBarWindow::ProgressBarWindow(const Glib::ustring &title, bool pulsing)
    : Gtk::Window(Gtk::WINDOW_TOPLEVEL)
{
    set_title(title);
    set_default_size(300, 150);
    set_border_width(3);
    set_deletable(false);
    set_resizable(false);
    set_modal(true);

    bar.set_fraction(0.0);
    bar.set_halign(Gtk::ALIGN_CENTER);
    bar.set_valign(Gtk::ALIGN_CENTER);
    bar.set_text("Loading...");
    bar.set_show_text(true);
    add(bar);
    show_all_children();
    show();

    // A Gtk::Window is trackable: the timer ends with the window.
    if (pulsing)
        pulseConnection =
            Glib::signal_timeout().connect(sigc::mem_fun(*this, &ProgressBarWindow::onPulse), 50);
}

void ProgressBarWindow::setSubtree(const Glib::ustring &name)
{
    bar.set_text("'" + shortenedText(name, subtreeNameBytes, 1) + "' subtree");
    bar.pulse();
}

bool ProgressBarWindow::onPulse()
{
    bar.pulse();
    return true;
}
