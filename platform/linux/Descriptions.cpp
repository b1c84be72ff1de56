#include "Descriptions.h"

namespace linuxmib {

void Descriptions::serve(bool procSys)
{
    documented = procSys;
    loaded = false;
    index = DocIndex();
}

void Descriptions::reload()
{
    loaded = true;
    if (documented)
        index.load(DocIndex::findDocumentationDir());
}

const std::string *Descriptions::find(const std::string &dottedName)
{
    if (!loaded)
        reload();
    return documented ? index.find(dottedName) : nullptr;
}

}  // namespace linuxmib
