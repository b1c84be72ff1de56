#include "app/MainWindow.h"

#include "model/Model.h"
#include "model/Trees.h"

#include <gtkmm/box.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/searchentry.h>
#include <gtkmm/separatormenuitem.h>
#include <gtkmm/stack.h>
#include <gtkmm/stackswitcher.h>

#include <fstream>

namespace {

Gtk::MenuItem *appendItem(Gtk::Menu &menu, const Glib::ustring &label)
{
    auto *item = Gtk::manage(new Gtk::MenuItem(label, false));
    menu.append(*item);
    return item;
}

// The state is set before the handler is connected, so setting it flips nothing.
Gtk::CheckMenuItem *appendCheckItem(Gtk::Menu &menu, const Glib::ustring &label, bool active)
{
    auto *item = Gtk::manage(new Gtk::CheckMenuItem(label, false));
    item->set_active(active);
    menu.append(*item);
    return item;
}

void appendSeparator(Gtk::Menu &menu)
{
    menu.append(*Gtk::manage(new Gtk::SeparatorMenuItem()));
}

Gtk::ScrolledWindow *scrolledPage(Gtk::TreeView &view)
{
    auto *page = Gtk::manage(new Gtk::ScrolledWindow());
    page->set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
    page->set_propagate_natural_width(true);
    page->set_propagate_natural_height(true);
    page->add(view);
    return page;
}

}  // namespace

MainWindow::MainWindow()
    : Gtk::Window(Gtk::WINDOW_TOPLEVEL),
      iconLoaded(false),
      trees(nullptr),
      model(nullptr),
      searchBar(nullptr),
      mainColumnItems{},
      flagsColumnItems{}
{
    model = new Model();
    // The window is not visible yet: the error dialog is the first thing seen.
    if (!model->rebuildTree())
        showMibError();

    auto *searchEntry = Gtk::manage(new Gtk::SearchEntry());
    searchEntry->set_width_chars(50);
    trees = new Trees(*searchEntry, model);

    auto *box = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_VERTICAL, 10));
    set_title("oidscope");
    set_default_size(800, 600);
    set_border_width(10);
    iconLoaded = false;
    loadIcon();

    box->add(*buildMenuBar());

    auto *stack = Gtk::manage(new Gtk::Stack());
    stack->add(*scrolledPage(trees->mainTreeView()), "mainStack", "Main");
    stack->add(*scrolledPage(trees->flagsTreeView()), "flagsStack", "Flags");
    // The trees take the height the window has, not only their rows' height.
    stack->set_vexpand(true);

    auto *switcher = Gtk::manage(new Gtk::StackSwitcher());
    switcher->set_stack(*stack);
    box->add(*switcher);

    searchBar = Gtk::manage(new Gtk::SearchBar());
    searchBar->set_search_mode(false);
    searchBar->set_show_close_button(false);
    searchBar->add(*searchEntry);
    box->add(*searchBar);

    box->add(*stack);
    add(*box);
    show_all_children();
}

MainWindow::~MainWindow()
{
    delete trees;
    delete model;
}

void MainWindow::loadIcon()
{
    for (const char *path : {OIDSCOPE_INSTALLED_ICON, "./icon/oidscope.svg"}) {
        // Opened only to learn that the file is there and readable.
        std::ifstream file(path);
        if (!file.is_open())
            continue;
        file.close();
        // A file that is there but no image is passed over like a missing one.
        try {
            iconLoaded = Gtk::Window::set_default_icon_from_file(path);
        } catch (const Glib::Error &) {
            iconLoaded = false;
        }
        if (iconLoaded)
            return;
    }
}

Gtk::MenuBar *MainWindow::buildMenuBar()
{
    auto *bar = Gtk::manage(new Gtk::MenuBar());
    const std::pair<const char *, Gtk::Menu *> menus[] = {
        {"File", buildFileMenu()},
        {"View", buildViewMenu()},
        {"Help", buildHelpMenu()},
    };
    for (const auto &[label, menu] : menus) {
        auto *item = Gtk::manage(new Gtk::MenuItem(label, false));
        item->set_submenu(*menu);
        bar->append(*item);
    }
    return bar;
}

Gtk::Menu *MainWindow::buildFileMenu()
{
    auto *menu = Gtk::manage(new Gtk::Menu());
    appendItem(*menu, "Refresh values")
        ->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onRefreshValues));
    appendItem(*menu, "Rebuild all")
        ->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onRebuildAll));
    appendSeparator(*menu);
    appendItem(*menu, "Quit")->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onQuit));
    return menu;
}

Gtk::Menu *MainWindow::buildViewMenu()
{
    auto *menu = Gtk::manage(new Gtk::Menu());
    appendItem(*menu, "Expand all nodes ")
        ->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onExpandAll));
    appendItem(*menu, "Collapse the tree")
        ->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onCollapseTree));
    appendSeparator(*menu);
    appendCheckItem(*menu, "Internal nodes", false)
        ->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onInternalNodes));
    appendCheckItem(*menu, "Search Name", false)
        ->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onSearchName));
    appendCheckItem(*menu, "Wrap rows", true)
        ->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onWrapRows));
    appendSeparator(*menu);
    appendItem(*menu, "Main Tree")->set_submenu(*buildMainTreeMenu());
    appendItem(*menu, "Flags Tree")->set_submenu(*buildFlagsTreeMenu());
    return menu;
}

Gtk::Menu *MainWindow::buildMainTreeMenu()
{
    auto *menu = Gtk::manage(new Gtk::Menu());
    appendItem(*menu, "All")->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onMainTreeAll));
    appendItem(*menu, "Defaults")
        ->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onMainTreeDefaults));
    appendSeparator(*menu);
    for (std::size_t i = 0; i < mainColumnItems.size(); ++i) {
        const ColumnEntry &entry = model->columnTable[i];
        mainColumnItems[i] = appendCheckItem(*menu, entry.title, entry.visibleByDefault);
        mainColumnItems[i]->signal_activate().connect(
            sigc::bind(sigc::mem_fun(*this, &MainWindow::onMainColumn), static_cast<int>(i) + 1));
    }
    return menu;
}

Gtk::Menu *MainWindow::buildFlagsTreeMenu()
{
    auto *menu = Gtk::manage(new Gtk::Menu());
    appendItem(*menu, "All")->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onFlagsTreeAll));
    appendItem(*menu, "Defaults")
        ->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onFlagsTreeDefaults));
    appendSeparator(*menu);
    for (std::size_t i = 0; i < flagsColumnItems.size(); ++i) {
        const FlagEntry &entry = model->flagTable[i];
        flagsColumnItems[i] = appendCheckItem(*menu, entry.name, entry.visibleByDefault);
        flagsColumnItems[i]->signal_activate().connect(
            sigc::bind(sigc::mem_fun(*this, &MainWindow::onFlagsColumn), static_cast<int>(i) + 1));
    }
    return menu;
}

Gtk::Menu *MainWindow::buildHelpMenu()
{
    auto *menu = Gtk::manage(new Gtk::Menu());
    appendItem(*menu, "Flags")->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onHelpFlags));
    appendItem(*menu, "Handbook")->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onHandbook));
    appendItem(*menu, "FAQ")->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onFaq));
    appendItem(*menu, "About")->signal_activate().connect(sigc::mem_fun(*this, &MainWindow::onAbout));
    return menu;
}
