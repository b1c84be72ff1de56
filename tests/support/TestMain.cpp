// GoogleTest entry shared by every test binary. The code under test needs GTK
// initialised, hence a display: without one, the binary runs itself again
// under xvfb-run. Listing the tests needs neither.
#include <gtest/gtest.h>
#include <gtkmm/application.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

int main(int argc, char **argv)
{
    const bool needsDisplay = [&] {
        for (int i = 1; i < argc; ++i)
            if (std::string(argv[i]).rfind("--gtest_list_tests", 0) == 0)
                return false;
        return true;
    }();
    if (needsDisplay && !std::getenv("DISPLAY") && !std::getenv("OIDSCOPE_NO_XVFB")) {
        std::vector<char *> args{const_cast<char *>("xvfb-run"), const_cast<char *>("-a")};
        args.insert(args.end(), argv, argv + argc);
        args.push_back(nullptr);
        setenv("OIDSCOPE_NO_XVFB", "1", 1);
        execvp(args[0], args.data());
        std::perror("xvfb-run");
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    // Made, never run: it initialises the toolkit.
    Glib::RefPtr<Gtk::Application> toolkit;
    if (needsDisplay)
        toolkit = Gtk::Application::create(argc, argv);
    return RUN_ALL_TESTS();
}
