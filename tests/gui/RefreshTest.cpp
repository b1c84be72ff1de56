// Re-reading every value in place.
#include "mib/CtlType.h"
#include "model/Model.h"
#include "SimMib.h"
#include "support/SimObjectsAndRows.h"
#include "support/WindowRecorder.h"

#include <glibmm/main.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace flag;

TEST(Refresh, RunsEventsBeforeRows101And202)
{
    sim::clear();
    sim::add(simObject({1}, "kern", ctlTypeNode, RD));  // row 1
    for (int i = 1; i < 250; ++i)                // rows 2..250
        sim::add(simObject({1, i}, "kern.v" + std::to_string(i), ctlTypeInt, RD,
                     bytesOf<int32_t>({i})));
    Model model;
    ASSERT_TRUE(model.rebuildTree());

    // Each row is described once, by name; an idle armed after each read
    // notes how many rows had been read when events next ran.
    int rowsRead = 0;
    std::vector<int> eventsRunAfter;
    sigc::connection idle;
    sim::setHook([&](const char *op, const std::string &) {
        if (std::string(op) != "name2oid")
            return;
        ++rowsRead;
        if (!idle.connected())
            idle = Glib::signal_idle().connect([&] {
                eventsRunAfter.push_back(rowsRead);
                return false;
            });
    });
    model.refreshValues();
    idle.disconnect();
    EXPECT_EQ(rowsRead, 250);
    EXPECT_EQ(eventsRunAfter, (std::vector<int>{100, 201}));
}

TEST(Refresh, ReadsNewValuesAndHiddenRowsAndRestoresPlaceholders)
{
    sim::clear();
    sim::add(simObject({0}, "sysctl", ctlTypeNode, RD));
    sim::add(simObject({0, 100}, "sysctl.hidden", ctlTypeInt, RD, bytesOf<int32_t>({1})));
    sim::add(simObject({1}, "kern", ctlTypeNode, RD));
    sim::add(simObject({1, 1}, "kern.counter", ctlTypeInt, RD, bytesOf<int32_t>({1})));
    sim::add(simObject({1, 2}, "kern.skip", ctlTypeString, RD | WR | SKIP, sim::cstring("short")));
    sim::add(simObject({1, 3}, "kern.long", ctlTypeString, RD | WR, std::string(150, 'z') + '\0'));
    Model model;
    ASSERT_TRUE(model.rebuildTree());
    ASSERT_FALSE(model.showInternal);

    sim::setValue("sysctl.hidden", bytesOf<int32_t>({2}));
    sim::setValue("kern.counter", bytesOf<int32_t>({3}));
    // As a value set would have left them: full texts in place of the placeholder.
    storeRow(model, "kern.skip")[model.value] = "short";
    storeRow(model, "kern.long")[model.value] = std::string(150, 'z');

    WindowRecorder windows;
    model.refreshValues();
    EXPECT_EQ(Glib::ustring(storeRow(model, "sysctl.hidden")[model.value]), "2");
    EXPECT_EQ(Glib::ustring(storeRow(model, "kern.counter")[model.value]), "3");
    EXPECT_EQ(Glib::ustring(storeRow(model, "kern.skip")[model.value]), "[CLICK TO SHOW]");
    EXPECT_EQ(Glib::ustring(storeRow(model, "kern.long")[model.value]), "[CLICK TO SHOW]");
    EXPECT_EQ(windows.shown, (std::vector<std::string>{"Refreshing Values"}));
}

TEST(Refresh, UnchangedValuesAreNotRewritten)
{
    sim::clear();
    sim::add(simObject({1}, "kern", ctlTypeNode, RD));
    sim::add(simObject({1, 1}, "kern.a", ctlTypeInt, RD, bytesOf<int32_t>({1})));
    sim::add(simObject({1, 2}, "kern.b", ctlTypeInt, RD, bytesOf<int32_t>({1})));
    Model model;
    ASSERT_TRUE(model.rebuildTree());
    sim::setValue("kern.b", bytesOf<int32_t>({5}));
    std::vector<std::string> changed;
    model.store->signal_row_changed().connect(
        [&](const Gtk::TreeModel::Path &, const Gtk::TreeModel::iterator &it) {
            changed.push_back(Glib::ustring((*it)[model.fullName]));
        });
    model.refreshValues();
    EXPECT_EQ(changed, (std::vector<std::string>{"kern.b"}));
}

TEST(Refresh, EmptyStoreShowsAndHidesTheWindow)
{
    sim::clear();
    Model model;
    WindowRecorder windows;
    model.refreshValues();
    EXPECT_EQ(windows.shown, (std::vector<std::string>{"Refreshing Values"}));
    for (Gtk::Window *window : Gtk::Window::list_toplevels())
        EXPECT_FALSE(window->get_visible()) << window->get_title();
}

}  // namespace
