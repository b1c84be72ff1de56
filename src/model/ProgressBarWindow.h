#ifndef OIDSCOPE_PROGRESS_BAR_WINDOW_H
#define OIDSCOPE_PROGRESS_BAR_WINDOW_H

#include <gtkmm/progressbar.h>
#include <gtkmm/window.h>

// A small modal window with a pulsing bar, shown while long work runs on the
// GUI thread. It measures nothing: the bar pulses on a timer or per step.
class ProgressBarWindow : public Gtk::Window {
public:
    ProgressBarWindow(const Glib::ustring &title, bool pulsing);

    // Names the subtree being added and pulses once.
    void setSubtree(const Glib::ustring &name);
    // Timer handler: pulses once and keeps the timer.
    bool onPulse();

    Gtk::ProgressBar bar;
    sigc::connection pulseConnection;
};

#endif
