#include "mib/ValueFormat.h"
#include "model/Model.h"
#include "nmeta.h"

Glib::ustring Model::readValue(const Glib::ustring &fullName, bool force, int sizeLimit,
                               const Glib::ustring &placeholder)
{
    // An object that is gone (dynamic objects come and go) reads as an
    // unreadable value: empty text.
    MibObject *object = nmeta_objectbyname(fullName.c_str());
    if (!object)
        return {};
    Glib::ustring text = formatValue(object, force, sizeLimit, placeholder);
    nmeta_freeobject(object);
    return text;
}
