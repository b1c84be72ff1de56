#ifndef OIDSCOPE_TESTS_SIM_OBJECTS_AND_ROWS_H
#define OIDSCOPE_TESTS_SIM_OBJECTS_AND_ROWS_H

// Building objects of the simulated MIB, and finding their rows in a Model.

#include "SimMib.h"
#include "model/Model.h"
#include "ValueBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace flag {
constexpr uint32_t RD = NM_CTLFLAG_RD, WR = NM_CTLFLAG_WR, RW = NM_CTLFLAG_RW, TUN = NM_CTLFLAG_TUN,
                   SKIP = NM_CTLFLAG_SKIP, MPSAFE = NM_CTLFLAG_MPSAFE;
}

// An empty identifier is filled in by sim::add: the parent's and the next
// free level.
inline sim::Object simObject(std::vector<int> oid, std::string name, unsigned type,
                             uint32_t flags, std::string value = {})
{
    sim::Object o;
    o.oid = std::move(oid);
    o.name = std::move(name);
    o.type = static_cast<uint8_t>(type);
    o.flags = flags;
    o.value = std::move(value);
    return o;
}

// The first row whose column holds the text, or an invalid row (and a test
// failure when expected) when there is none.
inline Gtk::TreeModel::Row findRow(const Glib::RefPtr<Gtk::TreeModel> &rows,
                                   const Gtk::TreeModelColumn<Glib::ustring> &column,
                                   const std::string &text, bool expected = true)
{
    Gtk::TreeModel::Row found;
    rows->foreach_iter([&](const Gtk::TreeModel::iterator &it) {
        if (Glib::ustring((*it)[column]) != text)
            return false;
        found = *it;
        return true;
    });
    if (expected) {
        EXPECT_TRUE(found) << text << " is in no row";
    }
    return found;
}

// The store row of the object with this full name.
inline Gtk::TreeModel::Row storeRow(Model &model, const std::string &fullName)
{
    return findRow(model.store, model.fullName, fullName);
}

// The visible row, as the tree views hand it out.
inline Gtk::TreeModel::Row sortedRow(Model &model, const std::string &fullName, bool expected = true)
{
    return findRow(model.sorted, model.fullName, fullName, expected);
}

// The path of that row in the sort model; empty when there is none.
inline Gtk::TreePath sortedPath(Model &model, const std::string &fullName)
{
    Gtk::TreeModel::Row row = sortedRow(model, fullName);
    return row ? model.sorted->get_path(row) : Gtk::TreePath();
}

#endif
