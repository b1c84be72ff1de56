// Measures tree building, refresh, filtering, search and memory on synthetic
// MIBs, each beside the floor it can be compared with: only reading the
// values through the platform layer, and only filling a bare tree store.
#include "mib/ValueFormat.h"
#include "model/Model.h"
#include "nmeta.h"
#include "SimMib.h"

#include <gtkmm/main.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int runs = 3;

double seconds(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double medianOf(const std::function<double()> &run)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(run());
    return median(times);
}

long peakKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

void walk(MibObject *object, const std::function<void(MibObject *)> &visit)
{
    for (; object; object = object->next) {
        visit(object);
        if (object->children)
            walk(object->children->first, visit);
    }
}

std::vector<std::string> allNames()
{
    std::vector<std::string> names;
    MibObjectList *mib = nmeta_mib();
    walk(mib->first, [&](MibObject *o) { names.push_back(o->name); });
    nmeta_freemib(mib);
    return names;
}

// Reads every value the program would read, by name, without formatting.
double floorRead(const std::vector<std::string> &names)
{
    return seconds([&] {
        for (const std::string &name : names) {
            MibObject *o = nmeta_objectbyname(name.c_str());
            if (!o)
                continue;
            if (o->type != 1 && (o->flags & 0x80000000u) && !(o->flags & 0x01000000u)) {
                size_t size = 0;
                const auto levels = static_cast<unsigned>(o->oidLength);
                if (sysctl(o->oidLevels, levels, nullptr, &size, nullptr, 0) == 0 && size <= 100) {
                    std::vector<unsigned char> buffer(size * 2 + 1);
                    size_t n = size * 2;
                    sysctl(o->oidLevels, levels, buffer.data(), &n, nullptr, 0);
                }
            }
            nmeta_freeobject(o);
        }
    });
}

// Fills a bare store of the same columns with the rows a build makes, one
// insert per row with all its values; the rows' values are made beforehand.
double floorFill(Model &built)
{
    struct Row {
        std::vector<GValue> values;
        int depth;
    };
    std::vector<Row> rows;
    const int n = built.store->get_n_columns();
    std::vector<int> columns(n);
    for (int i = 0; i < n; ++i)
        columns[i] = i;
    built.store->foreach_iter([&](const Gtk::TreeModel::iterator &it) {
        Row row{std::vector<GValue>(n), built.store->iter_depth(it)};
        for (int i = 0; i < n; ++i)
            gtk_tree_model_get_value(GTK_TREE_MODEL(built.store->gobj()),
                                     const_cast<GtkTreeIter *>(it->gobj()), i, &row.values[i]);
        rows.push_back(std::move(row));
        return false;
    });
    Model bare;  // only its column record is used
    auto store = Gtk::TreeStore::create(bare.columnRecord);
    const double time = seconds([&] {
        std::vector<GtkTreeIter> parents(16);
        for (Row &row : rows) {
            GtkTreeIter iter;
            gtk_tree_store_insert_with_valuesv(store->gobj(), &iter,
                                               row.depth ? &parents[row.depth - 1] : nullptr, -1,
                                               columns.data(), row.values.data(), n);
            parents[row.depth] = iter;
        }
    });
    for (Row &row : rows)
        for (GValue &v : row.values)
            g_value_unset(&v);
    return time;
}

struct Figures {
    std::size_t objects;
    double floorRead, floorFill, build, refresh;
    long peakKb;
};

Figures measure(std::size_t objects)
{
    sim::GeneratorParams params;
    params.objects = objects;
    sim::generate(params);
    const std::vector<std::string> names = allNames();

    Figures f{};
    f.objects = names.size();
    f.floorRead = medianOf([&] { return floorRead(names); });
    {
        Model model;
        model.rebuildTree();
        f.floorFill = medianOf([&] { return floorFill(model); });
    }
    f.build = medianOf([&] {
        Model model;
        return seconds([&] { model.rebuildTree(); });
    });
    Model model;
    model.rebuildTree();
    f.peakKb = peakKilobytes();
    f.refresh = medianOf([&] { return seconds([&] { model.refreshValues(); }); });
    return f;
}

}  // namespace

int main(int argc, char **argv)
{
    Gtk::Main kit(argc, argv);
    std::vector<std::size_t> sizes{2000, 20000, 100000};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i)
            sizes.push_back(std::strtoul(argv[i], nullptr, 10));
    }
    std::printf("%9s %10s %10s %10s %10s %9s %10s\n", "objects", "floor-read", "floor-fill",
                "build", "refresh", "peak MB", "build/flr");
    for (std::size_t size : sizes) {
        const Figures f = measure(size);
        std::printf("%9zu %10.3f %10.3f %10.3f %10.3f %9.1f %10.2f\n", f.objects, f.floorRead,
                    f.floorFill, f.build, f.refresh, f.peakKb / 1024.0,
                    f.build / (f.floorRead + f.floorFill));
        std::fflush(stdout);
    }
    return 0;
}
