#ifndef OIDSCOPE_VALUE_FORMAT_H
#define OIDSCOPE_VALUE_FORMAT_H

#include <glibmm/ustring.h>

#include <cstddef>

struct MibObject;

// What the trees show in place of a value they leave unread: an object with
// the SKIP flag, or a value over the size limit.
extern const Glib::ustring unreadValueText;

// The largest value size that a read accepts from the size probe. The
// kernel's values are small (the largest tables are a few megabytes); a probe
// beyond this is not believed, so a hostile size cannot make the program
// take gigabytes.
constexpr std::size_t maxValueBytes = 16u << 20;

// The value of one MIB object as display text: read with sysctl unless a rule
// says otherwise (node, unreadable, SKIP without force, unshown opaque format,
// larger than sizeLimit when sizeLimit > 0), then formatted by type.
// Never fails and never throws: what cannot be read (a failed probe or read,
// a probed size over maxValueBytes, memory running out) gives empty text, and
// sets *failed when failed is given.
Glib::ustring formatValue(const MibObject *object, bool force, int sizeLimit,
                          const Glib::ustring &placeholder, bool *failed = nullptr);

// Formats n bytes of value data of the given type and format (which may be
// null). Never reads past data + n.
Glib::ustring formatBytes(unsigned type, const char *format, const unsigned char *data,
                          std::size_t n);

#endif
