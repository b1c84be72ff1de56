// Program entry: one application, one main window, the main loop's result as
// the exit status.
#include "app/HeapTuning.h"
#include "app/MainWindow.h"

#include <gtkmm/application.h>

int main(int argc, char *argv[])
{
    tuneHeap();
    auto application = Gtk::Application::create(argc, argv, "org.oidscope.Oidscope");
    // Built before the loop runs: the MIB is read here.
    MainWindow window;
    return application->run(window);
}
