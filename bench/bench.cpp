// Measures tree building, refresh, filtering, search and memory on synthetic
// MIBs, each beside the floor it can be compared with: only reading the
// values through the platform layer, and only filling a bare tree store.
#include "app/HeapTuning.h"
#include "app/MainWindow.h"
#include "model/PendingEvents.h"
#include "model/Trees.h"
#include "model/Model.h"
#include "nmeta.h"
#include "SimMib.h"
#include "ctlvocab.h"

#include <gtkmm/application.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int runs = 7;

// CPU time of this process: on a shared virtual machine wall time varies by a
// third between runs, the process's own CPU time far less. The X server's
// drawing is not counted; nothing measured here waits for it.
double cpuNow()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double seconds(const std::function<void()> &work)
{
    const double start = cpuNow();
    work();
    return cpuNow() - start;
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
            if (o->type != NM_CTLTYPE_NODE && (o->flags & NM_CTLFLAG_RD) && !(o->flags & NM_CTLFLAG_SKIP)) {
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
    std::size_t objects = 0;
    double floorRead = 0, floorFill = 0, build = 0, rebuild = 0, refresh = 0,
           refreshExpanded = 0, internal = 0, search = 0;
    // Medians of each round's ratio; see main().
    double buildRatio = 0, rebuildRatio = 0, refreshRatio = 0, refreshExpandedRatio = 0;
    long peakKb = 0;
    // Kernel calls per object: each is a system call on FreeBSD.
    double buildCalls = 0, refreshCalls = 0;
};

double callsPerObject(std::size_t objects)
{
    return objects ? static_cast<double>(sim::totals().total()) / static_cast<double>(objects) : 0;
}

// Changes a few values, as a real system does between two refreshes.
void changeSomeValues(const std::vector<std::string> &names, unsigned round)
{
    for (std::size_t i = round % 97; i < names.size(); i += 97) {
        const sim::Object o = sim::object(names[i]);
        if (o.type == 2 || o.type == 14)  // 32-bit integers
            sim::setValue(names[i], sim::bytesOf<int32_t>({static_cast<int32_t>(round * 7 + i)}));
    }
}

// The figures of several rounds; each round measures a figure and the floor
// it is compared with one right after the other.
struct Rounds {
    std::vector<double> figure, ratio;
    void add(double time, double floor)
    {
        figure.push_back(time);
        ratio.push_back(time / floor);
    }
};

Figures measure(std::size_t objects)
{
    sim::GeneratorParams params;
    params.objects = objects;
    sim::generate(params);
    const std::vector<std::string> names = allNames();

    Figures f;
    f.objects = names.size();
    // The first build comes first of all, so that the peak is its own.
    Rounds builds;
    std::vector<double> reads, fills;
    for (int i = 0; i < runs; ++i) {
        Model model;
        sim::resetCounts();
        const double build = seconds([&] { model.rebuildTree(); });
        if (i == 0) {
            f.peakKb = peakKilobytes();
            f.buildCalls = callsPerObject(f.objects);
        }
        fills.push_back(floorFill(model));
        reads.push_back(floorRead(names));
        builds.add(build, reads.back() + fills.back());
    }
    f.build = median(builds.figure);
    f.buildRatio = median(builds.ratio);
    f.floorRead = median(reads);
    f.floorFill = median(fills);

    MainWindow window;
    window.show();
    runPendingEvents();
    Model &model = *window.model;
    Rounds rebuilds;
    for (int i = 0; i < runs; ++i) {
        double build = 0;
        {
            Model fresh;
            build = seconds([&] { fresh.rebuildTree(); });
        }
        const double rebuild = seconds([&] { model.rebuildTree(); });
        runPendingEvents();
        rebuilds.add(rebuild, build);
    }
    f.rebuild = median(rebuilds.figure);
    f.rebuildRatio = median(rebuilds.ratio);

    unsigned round = 0;
    auto refreshRounds = [&] {
        Rounds refreshes;
        for (int i = 0; i < runs; ++i) {
            changeSomeValues(names, ++round);
            const double read = floorRead(names);
            sim::resetCounts();
            refreshes.add(seconds([&] { model.refreshValues(); runPendingEvents(); }), read);
            f.refreshCalls = callsPerObject(f.objects);
        }
        return refreshes;
    };
    const Rounds collapsed = refreshRounds();
    f.refresh = median(collapsed.figure);
    f.refreshRatio = median(collapsed.ratio);
    window.trees->expandAll();
    runPendingEvents();
    const Rounds expanded = refreshRounds();
    f.refreshExpanded = median(expanded.figure);
    f.refreshExpandedRatio = median(expanded.ratio);
    window.trees->collapseAll();
    runPendingEvents();

    f.internal = medianOf([&] {
        return seconds([&] {
            model.toggleInternal();
            model.toggleInternal();
            runPendingEvents();
        });
    });

    // The key names one deep object; the comparison runs over every row.
    std::string deepest;
    for (const std::string &name : names)
        if (std::count(name.begin(), name.end(), '.') >
            std::count(deepest.begin(), deepest.end(), '.'))
            deepest = name;
    Glib::RefPtr<Gtk::TreeModel> sorted = model.sortedModel();
    f.search = medianOf([&] {
        int matches = 0;
        const double t = seconds([&] {
            sorted->foreach_iter([&](const Gtk::TreeModel::iterator &it) {
                matches += !window.trees->onSearchEqual(sorted, 0, deepest, it);
                return false;
            });
        });
        if (matches < 1)
            std::fprintf(stderr, "search for %s matched nothing\n", deepest.c_str());
        return t;
    });
    window.hide();
    return f;
}

void printHeader()
{
    std::printf("%8s %7s %7s %7s %7s %7s %7s %7s %7s %7s %7s | %9s %9s %9s %9s | %7s %7s\n",
                "objects", "fl-read", "fl-fill", "build", "rebuild", "refresh", "ref-exp",
                "internal", "search", "peak MB", "", "bld/floor", "rbld/bld", "ref/flrd",
                "rexp/flrd", "bld-cpo", "ref-cpo");
}

void printRow(const Figures &f)
{
    std::printf("%8zu %7.3f %7.3f %7.3f %7.3f %7.3f %7.3f %7.3f %7.3f %7.1f %7s | %9.2f %9.2f %9.2f %9.2f | %7.2f %7.2f\n",
                f.objects, f.floorRead, f.floorFill, f.build, f.rebuild, f.refresh,
                f.refreshExpanded, f.internal, f.search, f.peakKb / 1024.0, "",
                f.buildRatio, f.rebuildRatio, f.refreshRatio, f.refreshExpandedRatio,
                f.buildCalls, f.refreshCalls);
    std::fflush(stdout);
}

}  // namespace

// Each size runs in a process of its own, so that its peak memory is its own.
int main(int argc, char **argv)
{
    tuneHeap();  // as the program does
    if (argc == 3 && std::string(argv[1]) == "--one") {
        // Made, never run: it initialises the toolkit.
        const Glib::RefPtr<Gtk::Application> toolkit = Gtk::Application::create(argc, argv);
        printRow(measure(std::strtoul(argv[2], nullptr, 10)));
        return 0;
    }
    std::vector<std::string> sizes{"2000", "20000", "100000"};
    if (argc > 1)
        sizes.assign(argv + 1, argv + argc);
    std::printf("CPU seconds of the process, medians of %d rounds. A ratio is the median of the\n"
                "rounds' ratios: each round measures the figure right beside its floor (a\n"
                "rebuild beside a build of a new model), so that the machine's speed drifting\n"
                "between rounds cancels out.\n", runs);
    printHeader();
    for (const std::string &size : sizes) {
        std::fflush(stdout);
        std::string command = "\"" + std::string(argv[0]) + "\" --one " + size;
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "the run for %s objects failed\n", size.c_str());
    }
    return 0;
}
