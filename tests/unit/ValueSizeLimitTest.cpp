// Sizes a kernel may claim for a value: a huge probe neither throws nor makes
// the program take memory it claims, while large real values still show.
//
// The simulated kernel probes a value's true size; a claimed size of 2^62
// bytes cannot be backed by a real value. The unit tests are linked with
// --wrap=sysctl, so every sysctl call comes here first and a test can make
// the size probe claim what it likes.
#include "mib/CtlType.h"
#include "mib/ObjectValue.h"
#include "model/Model.h"
#include "SimMib.h"
#include "support/SimObjectsAndRows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

extern "C" int __real_sysctl(const int *name, unsigned int namelen, void *oldp, size_t *oldlenp,
                             const void *newp, size_t newlen);

namespace {
std::optional<std::size_t> claimedSize;  // what a successful size probe reports
}

extern "C" int __wrap_sysctl(const int *name, unsigned int namelen, void *oldp, size_t *oldlenp,
                             const void *newp, size_t newlen)
{
    const int result = __real_sysctl(name, namelen, oldp, oldlenp, newp, newlen);
    if (result == 0 && claimedSize && !oldp && oldlenp && !newp)
        *oldlenp = *claimedSize;
    return result;
}

namespace {

// The process's peak resident size in KiB (VmHWM).
long peakKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    ADD_FAILURE() << "no VmHWM in /proc/self/status";
    return 0;
}

class ValueSizeLimit : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::clear();
        sim::add(simObject({1}, "kern", ctlTypeNode, flag::RD));
        sim::add(simObject({1, 1}, "kern.small", ctlTypeS64, flag::RD, bytesOf<int64_t>({8})));
    }
    void TearDown() override { claimedSize.reset(); }

    Model model;
};

TEST_F(ValueSizeLimit, HugeProbedSizeGivesEmptyTextWithoutThrowingOrTakingTheMemory)
{
    const long peakBefore = peakKiB();
    for (std::size_t size : {std::size_t(1) << 30, std::size_t(1) << 62, (std::size_t(1) << 62) + 1,
                             std::size_t(1) << 63, std::numeric_limits<std::size_t>::max()}) {
        claimedSize = size;
        Glib::ustring text = "unset";
        EXPECT_NO_THROW(text = model.readValue("kern.small", true, -1, "ERROR")) << size;
        EXPECT_EQ(text, "") << size;
        // The trees' limit still gives the placeholder for what is not read.
        EXPECT_EQ(model.readValue("kern.small", false, 100, "[CLICK TO SHOW]"), "[CLICK TO SHOW]");
    }
    EXPECT_LT(peakKiB() - peakBefore, 256 * 1024) << "KiB grown";

    // A probe that claims more than the value still reads it, within the cap.
    claimedSize = maxValueBytes;
    EXPECT_EQ(model.readValue("kern.small", true, -1, "ERROR"), "8");
}

TEST_F(ValueSizeLimit, ValueOfSomeMegabytesIsReadWholeWhenForced)
{
    const std::string large(4 << 20, 'x');
    sim::add(simObject({1, 2}, "kern.large", ctlTypeString, flag::RD, sim::cstring(large)));
    EXPECT_EQ(model.readValue("kern.large", true, -1, "ERROR").raw(), large);
}

}  // namespace
