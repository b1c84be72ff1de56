#ifndef OIDSCOPE_SIM_STATE_H
#define OIDSCOPE_SIM_STATE_H

#include "MibStore.h"
#include "SimMib.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace sim {

// Everything the simulated backend holds between calls: the MIB, the failures
// tests asked for, and what was done to each object. Failures, counts and
// writes are kept by name, so they outlive a removal of the object.
struct SimState {
    using Failures = std::unordered_map<std::string, int>;

    MibStore mib;
    bool available = true;
    Failures handlerFailures;
    Failures oidFailures;
    Failures formatFailures;
    Failures probeFailures;
    Failures readFailures;
    Failures writeFailures;
    std::unordered_map<std::string, Counts> counts;
    std::unordered_map<std::string, std::vector<std::string>> writes;
    Hook hook;
    ReplyHook replyHook;

    static SimState &instance();

    void reset();

    // The injected error number for name, or 0.
    static int failure(const Failures &failures, const std::string &name);
    // Records error for name; 0 removes the failure.
    void setFailure(Failures &failures, const std::string &name, int error);

    void callHook(const char *op, const std::string &name);
};

}  // namespace sim

#endif
