#ifndef OIDSCOPE_SHOWN_TEXT_H
#define OIDSCOPE_SHOWN_TEXT_H

#include <glibmm/ustring.h>

#include <cstddef>

// The kernel hands over names, descriptions and values of any length. Pango
// lays out 100 KB in about 0.2 s, and in 15 s when it wraps by word a text
// with no blank in it (the cost grows with the square of such a run). These
// keep what the windows lay out within bounds.

// At most this many bytes and lines of a text go into one tree cell or one
// line of a window; more is cut and marked with an ellipsis.
constexpr std::size_t shownTextBytes = 1000;
constexpr std::size_t shownTextLines = 16;

// The text cut to at most maxBytes bytes (at a character boundary) and
// maxLines lines, followed by "…" where it was cut; the text itself when it
// fits. Reads no further than one byte past maxBytes.
Glib::ustring shortenedText(const char *text, std::size_t maxBytes = shownTextBytes,
                            std::size_t maxLines = shownTextLines);
Glib::ustring shortenedText(const Glib::ustring &text, std::size_t maxBytes = shownTextBytes,
                            std::size_t maxLines = shownTextLines);

// Whether the text fits within maxBytes bytes and maxLines lines, so that
// shortenedText would leave it as it is.
bool fitsShown(const char *text, std::size_t maxBytes = shownTextBytes,
               std::size_t maxLines = shownTextLines);

// Whether the text holds more than maxRun bytes in a row without a blank:
// such a text is wrapped by character, since wrapping it by word would lay
// it out in quadratic time and break it by character all the same.
bool hasLongUnbrokenRun(const Glib::ustring &text, std::size_t maxRun = 200);

#endif
