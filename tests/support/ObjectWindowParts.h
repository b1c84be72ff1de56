#ifndef OIDSCOPE_TESTS_OBJECT_WINDOW_PARTS_H
#define OIDSCOPE_TESTS_OBJECT_WINDOW_PARTS_H

// Reaches the widgets of an object window the way its widget tree holds
// them: window, scrolled window, viewport, grid.

#include "objectwindow/ObjectWindow.h"

#include <gdk/gdk.h>
#include <gtkmm/button.h>
#include <gtkmm/grid.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/textview.h>
#include <gtkmm/viewport.h>

#include <string>
#include <vector>

inline Gtk::ScrolledWindow *scrolledOf(ObjectWindow &window)
{
    return dynamic_cast<Gtk::ScrolledWindow *>(window.get_child());
}

inline Gtk::Viewport *viewportOf(ObjectWindow &window)
{
    Gtk::ScrolledWindow *scrolled = scrolledOf(window);
    return scrolled ? dynamic_cast<Gtk::Viewport *>(scrolled->get_child()) : nullptr;
}

inline Gtk::Grid *gridOf(ObjectWindow &window)
{
    Gtk::Viewport *viewport = viewportOf(window);
    return viewport ? dynamic_cast<Gtk::Grid *>(viewport->get_child()) : nullptr;
}

inline Gtk::TextView *fieldView(ObjectWindow &window, int gridRow)
{
    Gtk::Grid *grid = gridOf(window);
    return grid ? dynamic_cast<Gtk::TextView *>(grid->get_child_at(1, gridRow)) : nullptr;
}

// The text of a field, or a marker when the field is not a text view.
inline std::string fieldText(ObjectWindow &window, int gridRow)
{
    Gtk::TextView *view = fieldView(window, gridRow);
    return view ? std::string(view->get_buffer()->get_text()) : "<no text view>";
}

inline Gtk::Button *setButtonOf(ObjectWindow &window)
{
    Gtk::Grid *grid = gridOf(window);
    return grid ? dynamic_cast<Gtk::Button *>(grid->get_child_at(0, 9)) : nullptr;
}

// Object windows that exist now, in no particular order.
inline std::vector<ObjectWindow *> openObjectWindows()
{
    std::vector<ObjectWindow *> windows;
    for (Gtk::Window *window : Gtk::Window::list_toplevels())
        if (auto *objectWindow = dynamic_cast<ObjectWindow *>(window))
            windows.push_back(objectWindow);
    return windows;
}

inline int objectWindowCount()
{
    return static_cast<int>(openObjectWindows().size());
}

// What the window manager's close button does: a delete event.
inline void closeAsUser(Gtk::Window &window)
{
    GdkEvent *event = gdk_event_new(GDK_DELETE);
    event->any.window = GDK_WINDOW(g_object_ref(window.get_window()->gobj()));
    event->any.send_event = TRUE;
    gtk_main_do_event(event);
    gdk_event_free(event);
}

#endif
