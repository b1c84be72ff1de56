#include "SysctlCall.h"

#include "CtlCodes.h"
#include "MibEntry.h"
#include "ValueFile.h"
#include "ValueText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace linuxmib {

int SysctlCall::run(const int *name, unsigned int namelen, void *oldp, std::size_t *oldlenp,
                    const void *newp, std::size_t newlen)
{
    if (!name || namelen == 0 || namelen > maxLevels || (oldp && !oldlenp))
        return EINVAL;
    MibEntry entry;
    if (int err = entry.findByOid(name, namelen))
        return err;
    if (entry.directory)
        return EISDIR;

    std::string content;
    const int readError = ValueFile::read(entry.path, content);
    if (oldlenp) {
        if (readError)
            return readError;
        const ValueText::Value value = ValueText::decode(content);
        if (!oldp) {
            *oldlenp = value.bytes.size();
        } else {
            const std::size_t stored = std::min(*oldlenp, value.bytes.size());
            std::memcpy(oldp, value.bytes.data(), stored);
            *oldlenp = stored;
            if (stored < value.bytes.size())
                return ENOMEM;
        }
    }
    if (newp) {
        // A file that cannot be read (write-only) takes its new value as text.
        const std::uint8_t type = readError ? typeString : ValueText::decode(content).type;
        std::string text;
        if (int err = ValueText::encode(type, newp, newlen, text))
            return err;
        return ValueFile::write(entry.path, text);
    }
    return 0;
}

}  // namespace linuxmib
