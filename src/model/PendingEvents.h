#ifndef OIDSCOPE_PENDING_EVENTS_H
#define OIDSCOPE_PENDING_EVENTS_H

#include <glibmm/main.h>

// Lets the toolkit run every pending event: long work on the GUI thread calls
// this between steps so that its progress window repaints.
inline void runPendingEvents()
{
    const Glib::RefPtr<Glib::MainContext> context = Glib::MainContext::get_default();
    while (context->pending())
        context->iteration(false);
}

#endif
