#ifndef OIDSCOPE_PENDING_EVENTS_H
#define OIDSCOPE_PENDING_EVENTS_H

#include <gtkmm/main.h>

// Lets the toolkit run every pending event: long work on the GUI thread calls
// this between steps so that its progress window repaints.
inline void runPendingEvents()
{
    while (Gtk::Main::events_pending())
        Gtk::Main::iteration();
}

#endif
