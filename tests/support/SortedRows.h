#ifndef OIDSCOPE_TESTS_SORTED_ROWS_H
#define OIDSCOPE_TESTS_SORTED_ROWS_H

// Rows of the sort model by full name, as the tree views hand them out.

#include "model/Model.h"

#include <gtest/gtest.h>

#include <string>

// The visible row of the object, or an invalid row (and a test failure when
// expected) when the sort model has none.
inline Gtk::TreeModel::Row sortedRow(Model &model, const std::string &fullName, bool expected = true)
{
    Gtk::TreeModel::Row found;
    model.sorted->foreach_iter([&](const Gtk::TreeModel::iterator &it) {
        if (Glib::ustring((*it)[model.fullName]) == fullName) {
            found = *it;
            return true;
        }
        return false;
    });
    if (expected) {
        EXPECT_TRUE(found) << fullName << " is not in the sort model";
    }
    return found;
}

// The path of that row in the sort model.
inline Gtk::TreePath sortedPath(Model &model, const std::string &fullName)
{
    Gtk::TreeModel::Row row = sortedRow(model, fullName);
    return row ? model.sorted->get_path(row) : Gtk::TreePath();
}

#endif
