// The handlers of the main window's menu items.
#include "app/MainWindow.h"

#include "model/Model.h"
#include "model/Trees.h"

#include <glibmm/miscutils.h>
#include <glibmm/shell.h>
#include <glibmm/spawn.h>
#include <gtkmm/aboutdialog.h>
#include <gtkmm/messagedialog.h>

namespace {

// A plain-text dialog over the main window, run until dismissed.
void runMessage(Gtk::Window &parent, Gtk::MessageType type, const Glib::ustring &primary,
                const Glib::ustring &secondary)
{
    Gtk::MessageDialog dialog(parent, primary, false, type, Gtk::BUTTONS_OK, false);
    dialog.set_secondary_text(secondary, false);
    dialog.run();
}

}  // namespace

void MainWindow::showMibError()
{
    runMessage(*this, Gtk::MESSAGE_ERROR, "Error getting MIB info",
               "Make sure that you have loaded the oidkmod kernel module, "
               "by doing\n\n"
               "     # kldload oidkmod\n\n"
               "or adding\n\n"
               "     oidkmod_load=\"YES\"\n\n"
               "to your /boot/loader.conf.\n");
}

void MainWindow::onRefreshValues()
{
    model->refreshValues();
}

void MainWindow::onRebuildAll()
{
    if (!model->rebuildTree())
        showMibError();
    trees->columnsAutosize();
}

void MainWindow::onQuit()
{
    // Hiding the window the application runs ends the main loop.
    hide();
}

void MainWindow::onExpandAll()
{
    trees->expandAll();
}

void MainWindow::onCollapseTree()
{
    trees->collapseAll();
    trees->columnsAutosize();
}

void MainWindow::onInternalNodes()
{
    model->toggleInternal();
}

void MainWindow::onSearchName()
{
    // The bar, not the item, knows the mode: the entry can leave search by itself.
    searchBar->set_search_mode(!searchBar->get_search_mode());
}

void MainWindow::onWrapRows()
{
    trees->toggleWrap();
}

// Setting an item to the other state fires its activate signal, whose handler
// flips the column; setting it to the state it has fires nothing.
void MainWindow::onMainTreeAll()
{
    for (Gtk::CheckMenuItem *item : mainColumnItems)
        item->set_active(true);
}

void MainWindow::onMainTreeDefaults()
{
    for (std::size_t i = 0; i < mainColumnItems.size(); ++i)
        mainColumnItems[i]->set_active(model->columnTable[i].visibleByDefault);
}

void MainWindow::onMainColumn(int k)
{
    trees->toggleMainColumn(k);
}

void MainWindow::onFlagsTreeAll()
{
    for (Gtk::CheckMenuItem *item : flagsColumnItems)
        item->set_active(true);
}

void MainWindow::onFlagsTreeDefaults()
{
    for (std::size_t i = 0; i < flagsColumnItems.size(); ++i)
        flagsColumnItems[i]->set_active(model->flagTable[i].visibleByDefault);
}

void MainWindow::onFlagsColumn(int k)
{
    trees->toggleFlagsColumn(k);
}

void MainWindow::onHelpFlags()
{
    Glib::ustring legend;
    for (const FlagEntry &entry : model->flagTable)
        legend += Glib::ustring::compose("\n   [%1]:    %2", entry.name, entry.description);
    runMessage(*this, Gtk::MESSAGE_INFO, "Flags", legend);
}

void MainWindow::onHandbook()
{
    const std::string program = Glib::find_program_in_path("xdg-open");
    if (program.empty()) {
        runMessage(*this, Gtk::MESSAGE_WARNING, "Warning",
                   Glib::ustring("\noidscope cannot open the browser\n\n") + handbookAddress);
        return;
    }
    // Quoted, so that a path with blanks or shell characters stays one argument.
    const std::string commandLine =
        Glib::shell_quote(program) + " " + Glib::shell_quote(handbookAddress);
    try {
        Glib::spawn_command_line_async(commandLine);
    } catch (const Glib::Error &) {
        // Starting the browser is best effort; a failure is not reported.
    }
}

void MainWindow::onFaq()
{
    runMessage(*this, Gtk::MESSAGE_INFO, "FAQ",
               "What opaque formats are available?\n"
               "   clockinfo, input_id, loadavg, pagesizes and timeval.\n\n"
               "Does exist a terminal utility to show internal nodes, OID, "
               "format, label, flags and handler?\n"
               "   You could install sysutils/oidtool.\n");
}

void MainWindow::onAbout()
{
    Gtk::AboutDialog dialog;
    dialog.set_transient_for(*this);
    if (iconLoaded) {
        const std::vector<Glib::RefPtr<Gdk::Pixbuf>> icons = Gtk::Window::get_default_icon_list();
        if (!icons.empty())
            dialog.set_logo(icons.front());
    }
    dialog.set_program_name("oidscope");
    dialog.set_version("version 2.1");
    dialog.set_comments("sysctl MIB explorer");
    dialog.set_website("https://oidscope.example.org");
    dialog.set_website_label("oidscope home page");
    dialog.set_copyright("Copyright \u00a9 2026 The oidscope developers");
    dialog.set_license_type(Gtk::LICENSE_BSD);
    dialog.set_authors({"The oidscope developers", "https://oidscope.example.org",
                        "developers@oidscope.example.org"});
    dialog.run();
}
