#ifndef OIDSCOPE_TESTS_WINDOW_TEST_KIT_H
#define OIDSCOPE_TESTS_WINDOW_TEST_KIT_H

// Shared by the main-window and tree-view tests: a small simulated MIB, a way
// to reach menu items by their labels, and readers of the views' state.

#include <gtkmm/checkmenuitem.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>

#include <array>
#include <string>
#include <vector>

// kern{ostype, ipc{maxsockbuf, msgmax, somaxconn}}, vm{stats{sys}}, and the
// internal subtree sysctl{name} under level 0.
void loadWindowMib();

// The menu item reached from the window's menu bar by labels, or null.
Gtk::MenuItem *menuItem(Gtk::Window &window, const std::vector<std::string> &labels);
Gtk::CheckMenuItem *checkItem(Gtk::Window &window, const std::vector<std::string> &labels);

std::vector<std::string> visibleTitles(Gtk::TreeView &view);
int wrapWidth(Gtk::TreeView &view, int position);

// Item k (from 1) is active exactly when column k of the view is visible.
template <std::size_t N>
bool itemsMatchColumns(const std::array<Gtk::CheckMenuItem *, N> &items, Gtk::TreeView &view)
{
    for (std::size_t k = 1; k <= N; ++k)
        if (items[k - 1]->get_active() != view.get_column(k)->get_visible())
            return false;
    return true;
}

// Full names of the top-level rows of a view's model.
std::vector<std::string> topLevelNames(const Glib::RefPtr<Gtk::TreeModel> &model,
                                       const Gtk::TreeModelColumn<Glib::ustring> &fullName);

#endif
