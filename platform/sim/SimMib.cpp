// The control side of the simulated kernel: what tests and the benchmark
// call to shape the MIB and to watch what the program does with it.
#include "SimMib.h"

#include "FixtureParser.h"
#include "Generator.h"
#include "SimState.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace sim {
namespace {

SimState &state() { return SimState::instance(); }

MibStore::Node &existing(const std::string &name)
{
    MibStore::Node *node = state().mib.find(name);
    if (!node)
        throw std::out_of_range("no object named '" + name + "'");
    return *node;
}

void addCounts(Counts &sum, const Counts &more)
{
    sum.next += more.next;
    sum.name += more.name;
    sum.name2oid += more.name2oid;
    sum.oidfmt += more.oidfmt;
    sum.handlerProbes += more.handlerProbes;
    sum.oiddescr += more.oiddescr;
    sum.oidlabel += more.oidlabel;
    sum.probes += more.probes;
    sum.reads += more.reads;
    sum.writes += more.writes;
}

}  // namespace

void clear() { state().reset(); }

void add(const Object &object) { state().mib.add(object); }

void loadFixture(const std::string &text)
{
    MibStore fresh;
    for (FixtureParser::Entry &entry : FixtureParser::parse(text)) {
        try {
            fresh.add(std::move(entry.object));
        } catch (const std::invalid_argument &error) {
            throw std::runtime_error("line " + std::to_string(entry.line) + ": " + error.what());
        }
    }
    state().mib = std::move(fresh);
}

void loadFixtureFile(const std::string &path)
{
    // stdio rather than a stream: reading a directory must fail (EISDIR),
    // not give an empty text that would empty the MIB.
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        throw std::runtime_error(path + ": cannot open: " + std::strerror(errno));
    std::string text;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    const int error = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (error)
        throw std::runtime_error(path + ": cannot read: " + std::strerror(error));
    try {
        loadFixture(text);
    } catch (const std::runtime_error &failure) {
        throw std::runtime_error(path + ": " + failure.what());
    }
}

void generate(const GeneratorParams &params) { state().mib = Generator(params).build(); }

std::size_t objectCount() { return state().mib.size(); }

bool exists(const std::string &name) { return state().mib.find(name) != nullptr; }

Object object(const std::string &name) { return existing(name).object; }

std::vector<std::string> names()
{
    std::vector<std::string> out;
    for (const MibStore::Node *node : state().mib.inOrder())
        out.push_back(node->object.name);
    return out;
}

void setMibAvailable(bool available) { state().available = available; }

void failHandlerQuery(const std::string &name, int error)
{
    state().setFailure(state().handlerFailures, name, error);
}

void failOidLookup(const std::string &name, int error)
{
    state().setFailure(state().oidFailures, name, error);
}

void failFormat(const std::string &name, int error)
{
    state().setFailure(state().formatFailures, name, error);
}

void failProbe(const std::string &name, int error)
{
    state().setFailure(state().probeFailures, name, error);
}

void failRead(const std::string &name, int error)
{
    state().setFailure(state().readFailures, name, error);
}

void failWrite(const std::string &name, int error)
{
    state().setFailure(state().writeFailures, name, error);
}

void remove(const std::string &name) { state().mib.remove(name); }

void setValue(const std::string &name, const std::string &bytes) { existing(name).object.value = bytes; }

std::string value(const std::string &name) { return existing(name).object.value; }

std::vector<std::string> writes(const std::string &name)
{
    const auto it = state().writes.find(name);
    return it == state().writes.end() ? std::vector<std::string>{} : it->second;
}

Counts counts(const std::string &name)
{
    const auto it = state().counts.find(name);
    return it == state().counts.end() ? Counts{} : it->second;
}

Counts totals()
{
    Counts sum;
    for (const auto &entry : state().counts)
        addCounts(sum, entry.second);
    return sum;
}

void resetCounts() { state().counts.clear(); }

void setHook(Hook hook) { state().hook = std::move(hook); }

void setReplyHook(ReplyHook hook) { state().replyHook = std::move(hook); }

}  // namespace sim
