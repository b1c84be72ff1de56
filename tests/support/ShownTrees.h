#ifndef OIDSCOPE_TESTS_SHOWN_TREES_H
#define OIDSCOPE_TESTS_SHOWN_TREES_H

// Both tree views of a model side by side in a window on screen, every row
// expanded, as a user has them.

#include "model/Model.h"
#include "model/Trees.h"

#include <gtkmm/box.h>
#include <gtkmm/searchentry.h>
#include <gtkmm/window.h>

class ShownTrees {
public:
    explicit ShownTrees(Model &model) : trees(entry, &model) {}
    ShownTrees(const ShownTrees &) = delete;
    ShownTrees &operator=(const ShownTrees &) = delete;

    void show()
    {
        box.add(trees.mainTree);
        box.add(trees.flagsTree);
        host.add(box);
        host.show_all();
        trees.expandAll();
    }

    Gtk::SearchEntry entry;
    Trees trees;
    Gtk::Window host;
    Gtk::Box box{Gtk::ORIENTATION_HORIZONTAL};
};

#endif
