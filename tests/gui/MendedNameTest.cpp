// Names that are not valid UTF-8: shown mended, but refreshed, opened and set
// under the kernel's own bytes, even when two of them mend to the same text.
#include "mib/CtlType.h"
#include "model/Model.h"
#include "objectwindow/ObjectWindow.h"
#include "SimMib.h"
#include "support/DialogWatcher.h"
#include "support/ObjectWindowParts.h"
#include "support/SimObjectsAndRows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace flag;

// Latin-1 bytes, as a driver might name an object: both mend to "caf\uFFFD".
const std::string first = "kern.caf\xe9";
const std::string second = "kern.caf\xe8";
const std::string mended = "kern.caf\xef\xbf\xbd";

// The sort model's row with this identifier text (names do not tell the two apart).
Gtk::TreeModel::Row rowByOid(Model &model, const std::string &oid)
{
    return findRow(model.sorted, model.oid, oid);
}

TEST(MendedName, RefreshedOpenedAndSetUnderTheKernelsBytes)
{
    sim::clear();
    sim::add(simObject({1}, "kern", ctlTypeNode, RD));
    sim::add(simObject({1, 1}, first, ctlTypeInt, RD | WR, bytesOf<int32_t>({1})));
    sim::add(simObject({1, 2}, second, ctlTypeInt, RD | WR, bytesOf<int32_t>({2})));
    Model model;
    ASSERT_TRUE(model.rebuildTree());
    auto value = [&](const char *oid) { return Glib::ustring(rowByOid(model, oid)[model.value]); };
    EXPECT_EQ(Glib::ustring(rowByOid(model, "1. 1")[model.fullName]).raw(), mended);
    EXPECT_EQ(Glib::ustring(rowByOid(model, "1. 2")[model.name]).raw(), "caf\xef\xbf\xbd");

    sim::setValue(first, bytesOf<int32_t>({11}));
    sim::setValue(second, bytesOf<int32_t>({22}));
    model.refreshValues();
    EXPECT_EQ(value("1. 1"), "11");
    EXPECT_EQ(value("1. 2"), "22");

    ObjectWindow *window = new ObjectWindow(rowByOid(model, "1. 2"), &model);
    EXPECT_EQ(fieldText(*window, 1), mended);
    EXPECT_EQ(fieldText(*window, 8), "22");
    EXPECT_EQ(fieldText(*window, 5), "Defined");

    // Set, then set again after a rebuild, when the window finds its row anew.
    DialogWatcher watcher;
    for (const char *text : {"5", "6"}) {
        window->newValueEntry->set_text(text);
        setButtonOf(*window)->clicked();
        ASSERT_FALSE(watcher.seen.empty());
        EXPECT_EQ(watcher.seen.back().type, Gtk::MESSAGE_INFO) << watcher.seen.back().secondary;
        EXPECT_BYTES_EQ(sim::value(second), bytesOf<int32_t>({std::stoi(text)}));
        EXPECT_EQ(value("1. 2"), text);
        ASSERT_TRUE(model.rebuildTree());
    }
    EXPECT_TRUE(sim::writes(first).empty());
    EXPECT_EQ(value("1. 1"), "11");
    delete window;
}

}  // namespace
