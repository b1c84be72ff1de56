#include "WindowTestKit.h"

#include "SimMib.h"
#include "mib/CtlType.h"

#include <gtkmm/cellrenderertext.h>
#include <gtkmm/menubar.h>

namespace {

void addObject(std::vector<int> oid, const std::string &name, unsigned type, std::uint32_t flags,
               const std::string &value = {})
{
    sim::Object object;
    object.oid = std::move(oid);
    object.name = name;
    object.type = static_cast<std::uint8_t>(type);
    object.flags = flags;
    object.value = value;
    sim::add(object);
}

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
    const std::uint32_t RD = NM_CTLFLAG_RD, RW = NM_CTLFLAG_RW;
    sim::clear();
    addObject({1}, "kern", ctlTypeNode, RD);
    addObject({1, 1}, "kern.ostype", ctlTypeString, RD, sim::cstring("FreeBSD"));
    addObject({1, 30}, "kern.ipc", ctlTypeNode, RD);
    addObject({1, 30, 1}, "kern.ipc.maxsockbuf", ctlTypeUlong, RW, sim::bytesOf<std::uint64_t>({2097152}));
    addObject({1, 30, 2}, "kern.ipc.msgmax", ctlTypeInt, RD, sim::bytesOf<std::int32_t>({16384}));
    addObject({1, 30, 3}, "kern.ipc.somaxconn", ctlTypeUint, RW, sim::bytesOf<std::uint32_t>({128}));
    addObject({2}, "vm", ctlTypeNode, RD);
    addObject({2, 5}, "vm.stats", ctlTypeNode, RD);
    addObject({2, 5, 1}, "vm.stats.sys", ctlTypeU32, RD, sim::bytesOf<std::uint32_t>({7}));
    addObject({0}, "sysctl", ctlTypeNode, RD);
    addObject({0, 1}, "sysctl.name", ctlTypeInt, RD, sim::bytesOf<std::int32_t>({0}));
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
