#include "LinuxRoot.h"

#include "ProcKernel.h"

void nmeta_linux_set_root(const std::string &dir)
{
    linuxmib::ProcKernel::instance().serve(dir);
}
