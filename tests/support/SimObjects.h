#ifndef OIDSCOPE_TESTS_SIM_OBJECTS_H
#define OIDSCOPE_TESTS_SIM_OBJECTS_H

// Building objects of the simulated MIB, and finding their rows in a Model.

#include "SimMib.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace flag {
constexpr uint32_t RD = NM_CTLFLAG_RD, WR = NM_CTLFLAG_WR, TUN = NM_CTLFLAG_TUN, SKIP = NM_CTLFLAG_SKIP,
                   MPSAFE = 0x00040000u;
}

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

// The store row of the object with this full name (fails the test if none).
inline Gtk::TreeModel::Row storeRow(Model &model, const std::string &fullName)
{
    Gtk::TreeModel::Row found;
    model.store->foreach_iter([&](const Gtk::TreeModel::iterator &it) {
        if (Glib::ustring((*it)[model.fullName]) != fullName)
            return false;
        found = *it;
        return true;
    });
    EXPECT_TRUE(found) << fullName;
    return found;
}

#endif
