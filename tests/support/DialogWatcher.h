#ifndef OIDSCOPE_TESTS_DIALOG_WATCHER_H
#define OIDSCOPE_TESTS_DIALOG_WATCHER_H

// Answers the dialogs that the code under test runs in their own loops: a
// timer of the main loop finds each new visible dialog among the toplevel
// windows, records what it shows, and dismisses it as a user pressing OK.

#include <gtkmm/dialog.h>
#include <gtkmm/enums.h>
#include <gtkmm/window.h>

#include <functional>
#include <string>
#include <vector>

struct SeenDialog {
    std::string title;         // window title
    bool isMessage = false;    // a Gtk::MessageDialog
    Gtk::MessageType type = Gtk::MESSAGE_OTHER;
    std::string primary;       // message dialog texts
    std::string secondary;
    bool primaryMarkup = false;
    bool secondaryMarkup = false;
    Gtk::Window *parent = nullptr;  // transient-for
    bool isAbout = false;      // a Gtk::AboutDialog
    bool hasLogo = false;
    std::string programName;
};

class DialogWatcher {
public:
    DialogWatcher();
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher &) = delete;
    DialogWatcher &operator=(const DialogWatcher &) = delete;

    std::vector<SeenDialog> seen;
    // Called with each dialog before it is dismissed, for extra checks.
    std::function<void(Gtk::Dialog &)> inspect;

private:
    bool poll();
    sigc::connection timer;
};

// Lets the main loop run for about the given time.
void runMainLoopFor(int milliseconds);

#endif
