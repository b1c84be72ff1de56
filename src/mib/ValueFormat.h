#ifndef OIDSCOPE_VALUE_FORMAT_H
#define OIDSCOPE_VALUE_FORMAT_H

#include <glibmm/ustring.h>

#include <cstddef>

// Formats n bytes of value data of the given type and format (which may be
// null). Never reads past data + n.
Glib::ustring formatBytes(unsigned type, const char *format, const unsigned char *data,
                          std::size_t n);

// Whether an opaque value of this format (which may be null) has a layout
// that formatBytes shows; other opaque values are shown as empty text.
bool isShownOpaque(const char *format);

#endif
