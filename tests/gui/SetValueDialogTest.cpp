// Pressing "Set Value": the dialogs for success and failure, what the window
// and the tree show afterwards, and windows whose row has left the tree.
#include "mib/CtlType.h"
#include "model/Model.h"
#include "objectwindow/ObjectWindow.h"
#include "SimMib.h"
#include "support/DialogWatcher.h"
#include "support/ObjectWindowParts.h"
#include "support/SimObjectsAndRows.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

using namespace flag;

class SetValueDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
        sim::add(simObject({0}, "sysctl", ctlTypeNode, RD));
        sim::add(simObject({0, 104}, "sysctl.inner", ctlTypeInt, RD | WR, bytesOf<int32_t>({1})));
        sim::add(simObject({1}, "kern", ctlTypeNode, RD));
        sim::add(simObject({1, 1}, "kern.maxproc", ctlTypeInt, RD | WR, bytesOf<int32_t>({5})));
        sim::add(simObject({1, 2}, "kern.hostname", ctlTypeString, RD | WR, sim::cstring("a\nb")));
        sim::add(simObject({1, 3}, "kern.tuned", ctlTypeInt, RD | WR | TUN, bytesOf<int32_t>({2})));
        sim::add(simObject({1, 4}, "kern.writeonly", ctlTypeInt, WR));
        sim::add(simObject({1, 5}, "kern.sub", ctlTypeNode, RD | WR));
        sim::add(simObject({1, 5, 1}, "kern.sub.leaf", ctlTypeU16, RD | WR, bytesOf<uint16_t>({1})));
        ASSERT_TRUE(model.rebuildTree());
    }

    void TearDown() override
    {
        for (ObjectWindow *window : openObjectWindows())
            delete window;
    }

    ObjectWindow *open(const std::string &fullName)
    {
        return new ObjectWindow(sortedRow(model, fullName), &model);
    }

    // Types the text and presses "Set Value"; the dialog it ran.
    SeenDialog press(ObjectWindow *window, const Glib::ustring &text)
    {
        window->newValueEntry->set_text(text);
        const std::size_t before = watcher.seen.size();
        setButtonOf(*window)->clicked();
        EXPECT_EQ(watcher.seen.size(), before + 1) << "one dialog per press";
        return watcher.seen.size() > before ? watcher.seen[before] : SeenDialog();
    }

    Glib::ustring treeValue(const std::string &fullName)
    {
        return sortedRow(model, fullName)[model.value];
    }

    Model model;
    DialogWatcher watcher;
};

TEST_F(SetValueDialog, TwoSuccessfulSetsInARow)
{
    ObjectWindow *window = open("kern.maxproc");
    const SeenDialog first = press(window, "6");
    EXPECT_TRUE(first.isMessage);
    EXPECT_EQ(first.title, "maxproc");
    EXPECT_EQ(first.type, Gtk::MESSAGE_INFO);
    EXPECT_EQ(first.primary, "SET VALUE");
    EXPECT_EQ(first.secondary, "[OLD Value]: 5\n[NEW Value]: 6\n");
    EXPECT_FALSE(first.primaryMarkup);
    EXPECT_FALSE(first.secondaryMarkup);
    EXPECT_EQ(first.parent, window);
    EXPECT_EQ(fieldText(*window, 8), "6");
    EXPECT_EQ(window->newValueEntry->get_text(), "");
    EXPECT_EQ(treeValue("kern.maxproc"), "6");

    const SeenDialog second = press(window, "0x10");
    EXPECT_EQ(second.type, Gtk::MESSAGE_INFO);
    EXPECT_EQ(second.secondary, "[OLD Value]: 6\n[NEW Value]: 16\n");
    EXPECT_EQ(fieldText(*window, 8), "16");
    EXPECT_BYTES_EQ(sim::writes("kern.maxproc"),
                    (std::vector<std::string>{bytesOf<int32_t>({6}), bytesOf<int32_t>({16})}));
    // Nothing else of the window changed.
    EXPECT_EQ(fieldText(*window, 5), "Defined");
    EXPECT_EQ(fieldText(*window, 1), "kern.maxproc");
}

TEST_F(SetValueDialog, EnterInTheEntrySetsWhereTheButtonIsSensitive)
{
    ObjectWindow *window = open("kern.maxproc");
    window->newValueEntry->set_text("7");
    window->newValueEntry->activate();
    ASSERT_EQ(watcher.seen.size(), 1u);
    EXPECT_EQ(watcher.seen[0].secondary, "[OLD Value]: 5\n[NEW Value]: 7\n");
    EXPECT_BYTES_EQ(sim::value("kern.maxproc"), bytesOf<int32_t>({7}));
    EXPECT_EQ(window->newValueEntry->get_text(), "");

    // Not where the button cannot be pressed: no dialog, no write.
    ObjectWindow *readOnly = open("kern");
    ASSERT_FALSE(setButtonOf(*readOnly)->get_sensitive());
    readOnly->newValueEntry->activate();
    runMainLoopFor(50);
    EXPECT_EQ(watcher.seen.size(), 1u);
    EXPECT_EQ(sim::totals().writes, 1);
}

TEST_F(SetValueDialog, OldValueIsTheFieldsTextAndLineBreaksAreKept)
{
    ObjectWindow *window = open("kern.hostname");
    sim::setValue("kern.hostname", sim::cstring("changed behind the window"));
    const SeenDialog dialog = press(window, "x\ny");
    EXPECT_EQ(dialog.secondary, "[OLD Value]: a\nb\n[NEW Value]: x\ny\n");
}

TEST_F(SetValueDialog, LongNewValueIsShownWholeWhileTheTreeShowsThePlaceholder)
{
    ObjectWindow *window = open("kern.hostname");
    const std::string text(120, 'h');
    const SeenDialog dialog = press(window, text);
    EXPECT_EQ(dialog.secondary, "[OLD Value]: a\nb\n[NEW Value]: " + text + "\n");
    EXPECT_EQ(fieldText(*window, 8), text);
    EXPECT_EQ(treeValue("kern.hostname"), "[CLICK TO SHOW]");
}

TEST_F(SetValueDialog, FailedSetKeepsTheEntryAndTheValue)
{
    ObjectWindow *window = open("kern.maxproc");
    const SeenDialog dialog = press(window, "abc");
    EXPECT_EQ(dialog.title, "maxproc");
    EXPECT_EQ(dialog.type, Gtk::MESSAGE_ERROR);
    EXPECT_EQ(dialog.primary, "Error");
    EXPECT_EQ(dialog.secondary, "The new value is not a number");
    EXPECT_FALSE(dialog.secondaryMarkup);
    EXPECT_EQ(window->newValueEntry->get_text(), "abc");
    EXPECT_EQ(fieldText(*window, 8), "5");
    EXPECT_EQ(treeValue("kern.maxproc"), "5");

    EXPECT_EQ(press(window, "").secondary, "Empty numeric new value");
    EXPECT_TRUE(sim::writes("kern.maxproc").empty());
}

TEST_F(SetValueDialog, RefusedWriteShowsTheSystemTextAlone)
{
    ObjectWindow *window = open("kern.maxproc");
    sim::failWrite("kern.maxproc", EPERM);
    const SeenDialog dialog = press(window, "7");
    EXPECT_EQ(dialog.type, Gtk::MESSAGE_ERROR);
    EXPECT_EQ(dialog.secondary, std::strerror(EPERM));
    EXPECT_EQ(window->newValueEntry->get_text(), "7");
    EXPECT_EQ(fieldText(*window, 8), "5");
}

TEST_F(SetValueDialog, RefusedWriteThatChangedTheValueShowsTheNewValue)
{
    ObjectWindow *window = open("kern.maxproc");
    // The kernel takes part of the write and then refuses it.
    sim::setHook([](const char *op, const std::string &name) {
        if (std::string(op) == "write" && name == "kern.maxproc")
            sim::setValue(name, bytesOf<int32_t>({1}));
    });
    sim::failWrite("kern.maxproc", EIO);
    const SeenDialog dialog = press(window, "9");
    EXPECT_EQ(dialog.type, Gtk::MESSAGE_ERROR);
    EXPECT_EQ(dialog.secondary, std::string(std::strerror(EIO)) + "\nThe value is now: 1");
    EXPECT_EQ(fieldText(*window, 8), "1");
    EXPECT_EQ(treeValue("kern.maxproc"), "1");
    EXPECT_EQ(window->newValueEntry->get_text(), "9");
    // Refused again, now with nothing changed: the message alone.
    EXPECT_EQ(press(window, "9").secondary, std::strerror(EIO));
}

TEST_F(SetValueDialog, RefusalsOfNodesAndTunables)
{
    EXPECT_EQ(press(open("kern.sub"), "1").secondary, "A node object is not writable");
    EXPECT_EQ(press(open("kern.tuned"), "1").secondary,
              "TUN flag: the value should be set in /boot/loader.conf");
}

TEST_F(SetValueDialog, WriteOnlyObjectReportsAnEmptyNewValue)
{
    ObjectWindow *window = open("kern.writeonly");
    const SeenDialog dialog = press(window, "3");
    EXPECT_EQ(dialog.type, Gtk::MESSAGE_INFO);
    EXPECT_EQ(dialog.secondary, "[OLD Value]: \n[NEW Value]: \n");
    EXPECT_EQ(fieldText(*window, 8), "");
    EXPECT_BYTES_EQ(sim::writes("kern.writeonly"), (std::vector<std::string>{bytesOf<int32_t>({3})}));
}

TEST_F(SetValueDialog, AfterARebuildTheObjectIsSetThroughItsNewRow)
{
    ObjectWindow *window = open("kern.sub.leaf");
    ASSERT_TRUE(model.rebuildTree());
    const SeenDialog dialog = press(window, "9");
    EXPECT_EQ(dialog.type, Gtk::MESSAGE_INFO);
    EXPECT_EQ(dialog.secondary, "[OLD Value]: 1\n[NEW Value]: 9\n");
    EXPECT_EQ(treeValue("kern.sub.leaf"), "9");
    // And again, now through the row found by name.
    ASSERT_TRUE(model.rebuildTree());
    EXPECT_EQ(press(window, "10").secondary, "[OLD Value]: 9\n[NEW Value]: 10\n");
    EXPECT_EQ(treeValue("kern.sub.leaf"), "10");
}

TEST_F(SetValueDialog, ObjectGoneAfterARebuildIsRefused)
{
    ObjectWindow *window = open("kern.sub.leaf");
    sim::remove("kern.sub");
    ASSERT_TRUE(model.rebuildTree());
    const SeenDialog dialog = press(window, "9");
    EXPECT_EQ(dialog.type, Gtk::MESSAGE_ERROR);
    EXPECT_EQ(dialog.primary, "Error");
    EXPECT_EQ(dialog.secondary, "The object is no longer in the tree; open it again from the tree");
    EXPECT_EQ(window->newValueEntry->get_text(), "9");
    EXPECT_EQ(fieldText(*window, 8), "1");
    EXPECT_EQ(dialog.title, "leaf");
}

TEST_F(SetValueDialog, HiddenInternalObjectIsRefusedUntilShownAgain)
{
    model.toggleInternal();
    ObjectWindow *window = open("sysctl.inner");
    model.toggleInternal();
    ASSERT_FALSE(sortedRow(model, "sysctl.inner", false));

    const SeenDialog refused = press(window, "2");
    EXPECT_EQ(refused.type, Gtk::MESSAGE_ERROR);
    EXPECT_EQ(refused.secondary,
              "The object is hidden in the tree; show the internal nodes to set its value");
    EXPECT_EQ(sim::totals().writes, 0);
    EXPECT_BYTES_EQ(sim::value("sysctl.inner"), bytesOf<int32_t>({1}));

    model.toggleInternal();
    const SeenDialog accepted = press(window, "2");
    EXPECT_EQ(accepted.secondary, "[OLD Value]: 1\n[NEW Value]: 2\n");
    EXPECT_EQ(treeValue("sysctl.inner"), "2");
}

TEST_F(SetValueDialog, WindowClosedWhileItsDialogRunsIsDeletedAfterwards)
{
    const int baseline = objectWindowCount();
    ObjectWindow *window = open("kern.maxproc");
    int aliveWhileDialogRan = 0;
    watcher.inspect = [&](Gtk::Dialog &) {
        window->hide();
        runMainLoopFor(30);  // idle moments pass while the dialog is up
        aliveWhileDialogRan = objectWindowCount() - baseline;
    };
    press(window, "8");
    EXPECT_EQ(aliveWhileDialogRan, 1);
    // The handler has returned into a window that must still exist.
    EXPECT_EQ(objectWindowCount(), baseline + 1);
    watcher.inspect = nullptr;
    runMainLoopFor(50);
    EXPECT_EQ(objectWindowCount(), baseline);
}

}  // namespace
