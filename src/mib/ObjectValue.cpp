#include "mib/ObjectValue.h"

#include "mib/CtlType.h"
#include "mib/ValueFormat.h"
#include "nmeta.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

const Glib::ustring unreadValueText = "[CLICK TO SHOW]";

Glib::ustring formatValue(const MibObject *object, bool force, int sizeLimit,
                          const Glib::ustring &placeholder, bool *failed)
{
    auto unreadable = [failed]() {
        if (failed)
            *failed = true;
        return Glib::ustring();
    };
    if (failed)
        *failed = false;
    if (!object || object->oidLength == 0)
        return unreadable();
    if (object->type == ctlTypeNode)
        return {};
    if (!(object->flags & NM_CTLFLAG_RD))
        return {};
    if ((object->flags & NM_CTLFLAG_SKIP) && !force)
        return placeholder;
    if (object->type == ctlTypeOpaque && !isShownOpaque(object->format))
        return {};

    const auto levels = static_cast<unsigned>(object->oidLength);
    std::size_t size = 0;
    if (sysctl(object->oidLevels, levels, nullptr, &size, nullptr, 0) != 0)
        return unreadable();
    if (sizeLimit > 0 && size > static_cast<std::size_t>(sizeLimit))
        return placeholder;
    if (size > maxValueBytes)
        return unreadable();

    // Twice the probed size leaves room for a value that grew since the probe.
    const std::size_t capacity = size * 2;
    try {
        // Most values are a few bytes: those use a zero-filled buffer on the
        // stack, the others one from the heap; either lives for this call only.
        unsigned char small[256];
        std::vector<unsigned char> large;
        unsigned char *buffer = small;
        if (capacity < sizeof small) {
            std::memset(small, 0, sizeof small);
        } else {
            large.assign(capacity + 1, 0);  // one spare byte keeps data() non-null
            buffer = large.data();
        }
        std::size_t n = capacity;
        if (sysctl(object->oidLevels, levels, buffer, &n, nullptr, 0) != 0)
            return unreadable();
        n = std::min(n, capacity);
        return formatBytes(object->type, object->format, buffer, n);
    } catch (const std::exception &) {
        // Memory ran out for the buffer or the text: the value is not shown.
        return unreadable();
    }
}
