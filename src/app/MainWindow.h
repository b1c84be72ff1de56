#ifndef OIDSCOPE_MAIN_WINDOW_H
#define OIDSCOPE_MAIN_WINDOW_H

#include <gtkmm/checkmenuitem.h>
#include <gtkmm/menu.h>
#include <gtkmm/menubar.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/searchbar.h>
#include <gtkmm/window.h>

#include <array>

class Model;
class Trees;

// The one window of the run: menus, the page switcher, the search bar and the
// two tree pages over the Model it owns.
class MainWindow : public Gtk::Window {
public:
    MainWindow();
    virtual ~MainWindow();

    // The FreeBSD Handbook's section on tuning with sysctl (Help, "Handbook").
    static constexpr const char *handbookAddress =
        "https://docs.freebsd.org/en/books/handbook/config/#configtuning-sysctl";

    bool iconLoaded;
    Trees *trees;
    Model *model;
    Gtk::SearchBar *searchBar;
    std::array<Gtk::CheckMenuItem *, 7> mainColumnItems;
    std::array<Gtk::CheckMenuItem *, 21> flagsColumnItems;

    void showMibError();

    // File
    void onRefreshValues();
    void onRebuildAll();
    void onQuit();
    // View
    void onExpandAll();
    void onCollapseTree();
    void onInternalNodes();
    void onSearchName();
    void onWrapRows();
    void onMainTreeAll();
    void onMainTreeDefaults();
    void onMainColumn(int k);
    void onFlagsTreeAll();
    void onFlagsTreeDefaults();
    void onFlagsColumn(int k);
    // Help
    void onHelpFlags();
    void onHandbook();
    void onFaq();
    void onAbout();

private:
    void loadIcon();
    Gtk::MenuBar *buildMenuBar();
    Gtk::Menu *buildFileMenu();
    Gtk::Menu *buildViewMenu();
    Gtk::Menu *buildMainTreeMenu();
    Gtk::Menu *buildFlagsTreeMenu();
    Gtk::Menu *buildHelpMenu();
};

#endif
