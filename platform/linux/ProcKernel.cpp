#include "ProcKernel.h"

#include "CallReply.h"
#include "MetaQueries.h"
#include "ctlvocab.h"

#include <cerrno>
#include <vector>

namespace linuxmib {

ProcKernel &ProcKernel::instance()
{
    static ProcKernel kernel;
    return kernel;
}

void ProcKernel::serve(const std::string &directory)
{
    std::lock_guard<std::mutex> guard(lock);
    tree.clear();
    root.reset(directory);
    descriptions.serve(directory == RootDirectory::procSys);
}

int ProcKernel::call(const int *name, unsigned int namelen, void *oldp, std::size_t *oldlenp,
                     const void *newp, std::size_t newlen)
{
    if (!name || namelen < 2 || namelen > NM_CTL_MAXNAME || (oldp && !oldlenp))
        return EINVAL;
    std::lock_guard<std::mutex> guard(lock);
    if (name[0] == NM_CTL_SYSCTL)
        return MetaQueries(tree, values, descriptions).run(name[1], name + 2, namelen - 2, oldp, oldlenp, newp, newlen);
    return valueCall(name, namelen, oldp, oldlenp, newp, newlen);
}

int ProcKernel::valueCall(const int *name, unsigned int namelen, void *oldp, std::size_t *oldlenp,
                          const void *newp, std::size_t newlen)
{
    KnownObject *object = nullptr;
    if (int err = tree.resolve(name, namelen, object))
        return err == ENOTDIR ? ENOENT : err;
    // The old value goes out first; a reply that does not fit stops the
    // call before anything is written.
    if (oldlenp || !newp) {
        std::vector<unsigned char> bytes;
        if (int err = values.read(*object, bytes))
            return err;
        if (int err = CallReply::copy(bytes.data(), bytes.size(), oldp, oldlenp))
            return err;
    }
    return newp ? values.write(*object, newp, newlen) : 0;
}

}  // namespace linuxmib
