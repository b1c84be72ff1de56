// The Help menu: flag legend, FAQ, Handbook with and without xdg-open, and
// the About dialog with and without the program icon.
#include "WindowTestKit.h"

#include "app/MainWindow.h"
#include "support/DialogWatcher.h"

#include <gtest/gtest.h>
#include <glibmm/fileutils.h>
#include <glibmm/miscutils.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Sets PATH for one test; puts PATH and the working directory back after it.
class Scoped {
public:
    explicit Scoped(std::string pathValue) : oldPath(std::getenv("PATH")), oldDir(Glib::get_current_dir())
    {
        setenv("PATH", pathValue.c_str(), 1);
    }
    ~Scoped()
    {
        setenv("PATH", oldPath.c_str(), 1);
        EXPECT_EQ(chdir(oldDir.c_str()), 0);
    }

private:
    std::string oldPath, oldDir;
};

class MainWindowHelp : public ::testing::Test {
protected:
    void SetUp() override
    {
        loadWindowMib();
        std::string pattern = Glib::build_filename(Glib::get_tmp_dir(), "oidscope-help-XXXXXX");
        ASSERT_NE(g_mkdtemp(pattern.data()), nullptr);
        tempDir = pattern;
    }
    void TearDown() override { ASSERT_EQ(std::system(("rm -rf '" + tempDir + "'").c_str()), 0); }

    SeenDialog runHelp(MainWindow &window, const std::string &item)
    {
        DialogWatcher dialogs;
        menuItem(window, {"Help", item})->activate();
        EXPECT_EQ(dialogs.seen.size(), 1u) << item;
        return dialogs.seen.empty() ? SeenDialog() : dialogs.seen[0];
    }

    std::string tempDir;
};

TEST_F(MainWindowHelp, FlagLegendListsEveryFlagAfterAnEmptyLine)
{
    MainWindow window;
    const SeenDialog legend = runHelp(window, "Flags");
    EXPECT_EQ(legend.type, Gtk::MESSAGE_INFO);
    EXPECT_EQ(legend.primary, "Flags");
    EXPECT_EQ(legend.parent, &window);
    ASSERT_EQ(legend.secondary.substr(0, 1), "\n");
    const std::vector<std::string> text = lines(legend.secondary.substr(1));
    ASSERT_EQ(text.size(), 21u);
    EXPECT_EQ(text[0], "   [RD]:    Can read the value");
    EXPECT_EQ(text[2], "   [RW]:    RD and WR");
    EXPECT_EQ(text[11], "   [CAPRW]:    CAPRD and CAPWR");
    EXPECT_EQ(text[20], "   [SKIP]:    Skip the value when listing");
}

TEST_F(MainWindowHelp, FaqText)
{
    MainWindow window;
    const SeenDialog faq = runHelp(window, "FAQ");
    EXPECT_EQ(faq.type, Gtk::MESSAGE_INFO);
    EXPECT_EQ(faq.primary, "FAQ");
    EXPECT_EQ(faq.secondary,
              "What opaque formats are available?\n"
              "   clockinfo, input_id, loadavg, pagesizes and timeval.\n\n"
              "Does exist a terminal utility to show internal nodes, OID, format, label, flags and handler?\n"
              "   You could install sysutils/oidtool.\n");
    EXPECT_FALSE(faq.primaryMarkup || faq.secondaryMarkup);
}

TEST_F(MainWindowHelp, HandbookWithoutXdgOpenWarns)
{
    const std::string address = MainWindow::handbookAddress;
    EXPECT_EQ(address.rfind("https://docs.freebsd.org/", 0), 0u);
    EXPECT_EQ(address.substr(address.find("/en/")), "/en/books/handbook/config/#configtuning-sysctl");

    MainWindow window;
    Scoped path(tempDir);  // an empty directory: no xdg-open anywhere
    const SeenDialog warning = runHelp(window, "Handbook");
    EXPECT_EQ(warning.type, Gtk::MESSAGE_WARNING);
    EXPECT_EQ(warning.primary, "Warning");
    EXPECT_EQ(warning.secondary, "\noidscope cannot open the browser\n\n" + address);
}

TEST_F(MainWindowHelp, HandbookStartsXdgOpenFromAPathWithBlanksAndQuotes)
{
    const std::string bin = Glib::build_filename(tempDir, "my 'bin' $HOME;x");
    const std::string record = Glib::build_filename(tempDir, "arguments");
    ASSERT_EQ(mkdir(bin.c_str(), 0700), 0);
    const std::string script = Glib::build_filename(bin, "xdg-open");
    std::ofstream(script) << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > \"" << record << ".tmp\"\nmv \""
                          << record << ".tmp\" \"" << record << "\"\n";
    ASSERT_EQ(chmod(script.c_str(), 0700), 0);

    MainWindow window;
    {
        Scoped path(bin + ":/usr/bin:/bin");
        DialogWatcher dialogs;
        menuItem(window, {"Help", "Handbook"})->activate();
        for (int i = 0; i < 100 && !Glib::file_test(record, Glib::FILE_TEST_EXISTS); ++i)
            runMainLoopFor(50);
        EXPECT_TRUE(dialogs.seen.empty());
    }
    ASSERT_TRUE(Glib::file_test(record, Glib::FILE_TEST_EXISTS));
    EXPECT_EQ(Glib::file_get_contents(record), std::string("1|") + MainWindow::handbookAddress + "|");
}

TEST_F(MainWindowHelp, AboutShowsTheLogoOnlyWhenTheIconWasLoaded)
{
    if (Glib::file_test(OIDSCOPE_INSTALLED_ICON, Glib::FILE_TEST_EXISTS))
        GTEST_SKIP() << "an installed icon is always found";
    Scoped place(std::getenv("PATH"));
    ASSERT_EQ(chdir(tempDir.c_str()), 0);
    Gtk::Window::set_default_icon_list({});
    {
        MainWindow window;
        EXPECT_FALSE(window.iconLoaded);
        const SeenDialog about = runHelp(window, "About");
        EXPECT_TRUE(about.isAbout);
        EXPECT_FALSE(about.hasLogo);
    }

    // A file that is there but is no image counts as no icon.
    ASSERT_EQ(mkdir("icon", 0700), 0);
    Glib::file_set_contents("icon/oidscope.svg", "<svg");
    EXPECT_FALSE(MainWindow().iconLoaded);

    Glib::file_set_contents("icon/oidscope.svg",
                            Glib::file_get_contents(OIDSCOPE_SOURCE_DIR "/icon/oidscope.svg"));
    MainWindow window;
    EXPECT_TRUE(window.iconLoaded);
    const SeenDialog about = runHelp(window, "About");
    EXPECT_TRUE(about.hasLogo);
    EXPECT_EQ(about.programName, "oidscope");
    EXPECT_EQ(about.parent, &window);
}

}  // namespace
