#include "WindowTestKit.h"

#include "mib/CtlType.h"
#include "support/SimObjectsAndRows.h"

#include <gtkmm/cellrenderertext.h>
#include <gtkmm/menubar.h>

namespace {

Gtk::MenuItem *findIn(Gtk::MenuShell &shell, const std::vector<std::string> &labels, std::size_t depth)
{
    for (Gtk::Widget *child : shell.get_children()) {
        auto *item = dynamic_cast<Gtk::MenuItem *>(child);
        if (!item || item->get_label() != labels[depth])
            continue;
        if (depth + 1 == labels.size())
            return item;
        return item->get_submenu() ? findIn(*item->get_submenu(), labels, depth + 1) : nullptr;
    }
    return nullptr;
}

}  // namespace

void loadWindowMib()
{
    using namespace flag;
    sim::clear();
    sim::add(simObject({1}, "kern", ctlTypeNode, RD));
    sim::add(simObject({1, 1}, "kern.ostype", ctlTypeString, RD, sim::cstring("FreeBSD")));
    sim::add(simObject({1, 30}, "kern.ipc", ctlTypeNode, RD));
    sim::add(simObject({1, 30, 1}, "kern.ipc.maxsockbuf", ctlTypeUlong, RW, bytesOf<std::uint64_t>({2097152})));
    sim::add(simObject({1, 30, 2}, "kern.ipc.msgmax", ctlTypeInt, RD, bytesOf<std::int32_t>({16384})));
    sim::add(simObject({1, 30, 3}, "kern.ipc.somaxconn", ctlTypeUint, RW, bytesOf<std::uint32_t>({128})));
    sim::add(simObject({2}, "vm", ctlTypeNode, RD));
    sim::add(simObject({2, 5}, "vm.stats", ctlTypeNode, RD));
    sim::add(simObject({2, 5, 1}, "vm.stats.sys", ctlTypeU32, RD, bytesOf<std::uint32_t>({7})));
    sim::add(simObject({0}, "sysctl", ctlTypeNode, RD));
    sim::add(simObject({0, 1}, "sysctl.name", ctlTypeInt, RD, bytesOf<std::int32_t>({0})));
}

Gtk::MenuItem *menuItem(Gtk::Window &window, const std::vector<std::string> &labels)
{
    auto *box = dynamic_cast<Gtk::Container *>(window.get_child());
    if (!box || labels.empty())
        return nullptr;
    for (Gtk::Widget *child : box->get_children())
        if (auto *bar = dynamic_cast<Gtk::MenuBar *>(child))
            return findIn(*bar, labels, 0);
    return nullptr;
}

Gtk::CheckMenuItem *checkItem(Gtk::Window &window, const std::vector<std::string> &labels)
{
    return dynamic_cast<Gtk::CheckMenuItem *>(menuItem(window, labels));
}

std::vector<std::string> visibleTitles(Gtk::TreeView &view)
{
    std::vector<std::string> titles;
    for (Gtk::TreeViewColumn *column : view.get_columns())
        if (column->get_visible())
            titles.push_back(column->get_title());
    return titles;
}

int wrapWidth(Gtk::TreeView &view, int position)
{
    auto *renderer = dynamic_cast<Gtk::CellRendererText *>(view.get_column(position)->get_first_cell());
    return renderer ? renderer->property_wrap_width().get_value() : -2;
}

std::vector<std::string> topLevelNames(const Glib::RefPtr<Gtk::TreeModel> &model,
                                       const Gtk::TreeModelColumn<Glib::ustring> &fullName)
{
    std::vector<std::string> names;
    for (const Gtk::TreeModel::Row &row : model->children())
        names.push_back(Glib::ustring(row[fullName]));
    return names;
}
