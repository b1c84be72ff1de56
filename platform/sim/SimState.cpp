#include "SimState.h"

#include <stdexcept>
#include <string>

namespace sim {

SimState &SimState::instance()
{
    static SimState state;
    return state;
}

void SimState::reset()
{
    *this = SimState();
}

int SimState::failure(const Failures &failures, const std::string &name)
{
    const auto it = failures.find(name);
    return it == failures.end() ? 0 : it->second;
}

void SimState::setFailure(Failures &failures, const std::string &name, int error)
{
    // A misspelt name would otherwise make a test pass for the wrong reason.
    if (!mib.find(name))
        throw std::out_of_range("no object named '" + name + "'");
    if (error < 0)
        throw std::invalid_argument("error numbers are positive, not " + std::to_string(error));
    if (error == 0)
        failures.erase(name);
    else
        failures[name] = error;
}

void SimState::callHook(const char *op, const std::string &name)
{
    // A copy: the hook may replace itself (or clear everything) while it runs.
    if (Hook hook = this->hook)
        hook(op, name);
}

}  // namespace sim
