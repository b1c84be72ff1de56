#include "mib/ObjectValue.h"
#include "model/Model.h"
#include "nmeta.h"

#include <memory>

Glib::ustring Model::readValue(const Glib::ustring &fullName, bool force, int sizeLimit,
                               const Glib::ustring &placeholder)
{
    return readValue(fullName.c_str(), force, sizeLimit, placeholder);
}

Glib::ustring Model::readValue(const char *fullName, bool force, int sizeLimit,
                               const Glib::ustring &placeholder, bool *failed)
{
    // An object that is gone (dynamic objects come and go) reads as an
    // unreadable value: empty text.
    std::unique_ptr<MibObject, decltype(&nmeta_freeobject)> object(nmeta_objectbyname(fullName),
                                                                   &nmeta_freeobject);
    if (!object) {
        if (failed)
            *failed = true;
        return {};
    }
    return formatValue(object.get(), force, sizeLimit, placeholder, failed);
}
