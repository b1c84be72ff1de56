#ifndef OIDSCOPE_OBJECT_VALUE_H
#define OIDSCOPE_OBJECT_VALUE_H

#include <glibmm/ustring.h>

#include <cstddef>

struct MibObject;

// The largest value the trees show in a row: building and refreshing leave
// a value of more bytes unread, and a set puts a read-back text of more
// characters in the row as unreadValueText.
constexpr int rowValueLimit = 100;

// What the trees show in place of a value they leave unread: an object with
// the SKIP flag, or a value over rowValueLimit.
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

#endif
