// The object window at its default size: long fields wrapped whole within
// the window, and texts of 100 KB that leave it shown at a bounded size.
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

// 52 bytes in hex with colons: 155 characters without a blank.
std::string rssKey()
{
    std::string key;
    for (int i = 0; i < 52; ++i)
        key += (i ? ":" : "") + std::string(i % 2 ? "6d" : "5a");
    return key;
}

const std::string longDescription =
    "Exact value of the hash key that the network stack uses to spread received packets over "
    "the queues of devices that support receive side scaling; it is read once when a device "
    "comes up and_never_again_afterwards_whatever_the_administrator_writes_to_it_later_on.";
const std::string huge(100000, 'h');
const std::string hugeLines = "first" + std::string(100000, '\n');

class ObjectWindowSize : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
        sim::add(simObject({1}, "net", ctlTypeNode, RD));
        sim::Object key = simObject({1, 1}, "net.netdev_rss_key", ctlTypeString, RD, sim::cstring(rssKey()));
        key.description = longDescription;
        sim::add(key);
        sim::add(simObject({1, 2}, "net." + huge, ctlTypeInt, RD, bytesOf<int32_t>({1})));
        sim::Object described = simObject({1, 3}, "net.described", ctlTypeInt, RD, bytesOf<int32_t>({1}));
        described.description = huge;
        sim::add(described);
        sim::Object lines = simObject({1, 4}, "net.lines", ctlTypeInt, RD, bytesOf<int32_t>({1}));
        lines.description = hugeLines;
        sim::add(lines);
        sim::add(simObject({1, 5}, "net.valued", ctlTypeString, RD, sim::cstring(huge)));
        ASSERT_TRUE(model.rebuildTree());
    }

    void TearDown() override
    {
        for (ObjectWindow *window : openObjectWindows())
            delete window;
    }

    ObjectWindow *openAndSettle(const std::string &fullName)
    {
        auto *window = new ObjectWindow(sortedRow(model, fullName), &model);
        runMainLoopFor(300);
        return window;
    }

    Model model;
};

TEST_F(ObjectWindowSize, LongFieldsWrapWholeWithinTheWindowAtItsDefaultSize)
{
    ObjectWindow *window = openAndSettle("net.netdev_rss_key");
    ASSERT_EQ(window->get_allocated_width(), 500);
    ASSERT_EQ(window->get_allocated_height(), 400);
    // Nothing to scroll sideways: the grid is no wider than what shows it.
    Glib::RefPtr<Gtk::Adjustment> across = scrolledOf(*window)->get_hadjustment();
    EXPECT_LE(across->get_upper(), across->get_page_size());

    for (int gridRow : {2, 8}) {  // Description, Value
        Gtk::TextView *view = fieldView(*window, gridRow);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(fieldText(*window, gridRow), gridRow == 8 ? rssKey() : longDescription);
        int x = 0, y = 0;
        ASSERT_TRUE(view->translate_coordinates(*window, 0, 0, x, y));
        EXPECT_LE(x + view->get_allocated_width(), window->get_allocated_width()) << gridRow;

        // Wrapped, and every line inside the view's height.
        Gdk::Rectangle first, last;
        view->get_iter_location(view->get_buffer()->begin(), first);
        Gtk::TextIter end = view->get_buffer()->end();
        end.backward_char();
        view->get_iter_location(end, last);
        EXPECT_GT(last.get_y(), first.get_y()) << gridRow << " is not wrapped";
        EXPECT_LE(last.get_x() + last.get_width(), view->get_allocated_width()) << gridRow;
        EXPECT_LE(last.get_y() + last.get_height(), view->get_allocated_height()) << gridRow;
    }
}

TEST_F(ObjectWindowSize, HugeTextsLeaveTheWindowShownAtABoundedSize)
{
    struct Case {
        std::string fullName;
        int gridRow;
        std::string text;
    } cases[] = {
        {"net." + huge, 1, "net." + huge},
        {"net.described", 2, huge},
        {"net.lines", 2, hugeLines},
    };
    for (const Case &c : cases) {
        ObjectWindow *window = openAndSettle(c.fullName);
        EXPECT_TRUE(window->get_mapped()) << c.gridRow;
        EXPECT_LE(window->get_title().bytes(), 210u);
        int minimum = 0, natural = 0;
        window->get_preferred_width(minimum, natural);
        EXPECT_LE(natural, 1280) << c.gridRow;
        window->get_preferred_height(minimum, natural);
        EXPECT_LE(minimum, 1024) << c.gridRow;
        EXPECT_LT(natural, 32767) << c.gridRow;  // what X allows a window

        // The field shows the start of the text, marked as cut.
        const std::string shown = fieldText(*window, c.gridRow);
        EXPECT_LT(shown.size(), c.text.size()) << c.gridRow;
        EXPECT_EQ(c.text.compare(0, shown.size() - 3, shown, 0, shown.size() - 3), 0) << c.gridRow;
        EXPECT_EQ(shown.substr(shown.size() - 3), "\u2026") << c.gridRow;
        delete window;
    }

    // The value alone is shown whole, wrapped within the window.
    ObjectWindow *window = openAndSettle("net.valued");
    EXPECT_TRUE(window->get_mapped());
    EXPECT_EQ(fieldText(*window, 8), huge);
    EXPECT_EQ(window->get_allocated_width(), 500);
    Gtk::TextView *view = fieldView(*window, 8);
    Gdk::Rectangle last;
    view->get_iter_location(view->get_buffer()->end(), last);
    EXPECT_LE(last.get_y() + last.get_height(), view->get_allocated_height());
}

}  // namespace
