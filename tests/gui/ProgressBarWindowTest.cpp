// The modal progress window of long operations.
#include "model/ProgressBarWindow.h"
#include "support/DialogWatcher.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ProgressBarWindow, IsShownModalFixedAndSaysLoading)
{
    ProgressBarWindow window("Building Tree", false);
    EXPECT_TRUE(window.get_visible());
    EXPECT_EQ(window.get_title(), "Building Tree");
    EXPECT_TRUE(window.get_modal());
    EXPECT_FALSE(window.get_deletable());
    EXPECT_FALSE(window.get_resizable());
    EXPECT_EQ(window.get_border_width(), 3u);
    int width = 0, height = 0;
    window.get_default_size(width, height);
    EXPECT_EQ(width, 300);
    EXPECT_EQ(height, 150);
    EXPECT_EQ(window.get_child(), &window.bar);
    EXPECT_EQ(window.bar.get_text(), "Loading...");
    EXPECT_TRUE(window.bar.get_show_text());
    EXPECT_FALSE(window.pulseConnection.connected());
}

TEST(ProgressBarWindow, SubtreeText)
{
    ProgressBarWindow window("Building Tree", false);
    window.setSubtree("kern");
    EXPECT_EQ(window.bar.get_text(), "'kern' subtree");
    window.setSubtree("");
    EXPECT_EQ(window.bar.get_text(), "'' subtree");
}

TEST(ProgressBarWindow, HugeSubtreeNameKeepsTheWindowWithinTheScreen)
{
    ProgressBarWindow window("Building Tree", false);
    const std::string name(100000, 'W');
    window.setSubtree(name);
    runMainLoopFor(100);
    const std::string text = window.bar.get_text();
    ASSERT_GT(text.size(), 12u);
    EXPECT_EQ(text.substr(0, 5), "'WWWW");
    EXPECT_EQ(text.substr(text.size() - 12), "\u2026' subtree");
    int minimum = 0, natural = 0;
    window.get_preferred_width(minimum, natural);
    EXPECT_LE(natural, 1280);
    EXPECT_LE(window.get_allocated_width(), 1280);
}

TEST(ProgressBarWindow, PulseTimerEndsWithTheWindow)
{
    auto window = std::make_unique<ProgressBarWindow>("Refreshing Values", true);
    ASSERT_TRUE(window->pulseConnection.connected());
    runMainLoopFor(200);  // the timer fires on a live window
    sigc::connection timer = window->pulseConnection;
    window.reset();
    EXPECT_FALSE(timer.connected());
    runMainLoopFor(200);  // and never on a destroyed one
}

}  // namespace
