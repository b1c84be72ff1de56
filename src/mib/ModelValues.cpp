#include "mib/ValueFormat.h"
#include "model/Model.h"
#include "nmeta.h"

Glib::ustring Model::readValue(const Glib::ustring &fullName, bool force, int sizeLimit,
                               const Glib::ustring &placeholder)
{
    return readValue(fullName.c_str(), force, sizeLimit, placeholder);
}

Glib::ustring Model::readValue(const char *fullName, bool force, int sizeLimit,
                               const Glib::ustring &placeholder)
{
    // An object that is gone (dynamic objects come and go) reads as an
    // unreadable value: empty text.
    MibObject *object = nmeta_objectbyname(fullName);
    if (!object)
        return {};
    Glib::ustring text = formatValue(object, force, sizeLimit, placeholder);
    nmeta_freeobject(object);
    return text;
}
