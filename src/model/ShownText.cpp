#include "model/ShownText.h"

#include <cstring>

namespace {

// Length of the part of text that fits, and whether that is all of it.
std::size_t fittingLength(const char *text, std::size_t maxBytes, std::size_t maxLines,
                          bool &whole)
{
    std::size_t lines = 1;
    std::size_t at = 0;
    for (; at <= maxBytes; ++at) {
        const char c = text[at];
        if (c == '\0') {
            whole = true;
            return at;
        }
        if (c == '\n' && ++lines > maxLines)
            break;
    }
    whole = false;
    if (at > maxBytes) {
        at = maxBytes;
        // Never split a character: step back over continuation bytes.
        while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0u) == 0x80u)
            --at;
    }
    return at;
}

}  // namespace

bool fitsShown(const char *text, std::size_t maxBytes, std::size_t maxLines)
{
    bool whole = false;
    fittingLength(text, maxBytes, maxLines, whole);
    return whole;
}

Glib::ustring shortenedText(const char *text, std::size_t maxBytes, std::size_t maxLines)
{
    bool whole = false;
    const std::size_t length = fittingLength(text, maxBytes, maxLines, whole);
    if (whole)
        return Glib::ustring(text, text + length);
    return Glib::ustring(text, text + length) + "\u2026";
}

Glib::ustring shortenedText(const Glib::ustring &text, std::size_t maxBytes, std::size_t maxLines)
{
    return shortenedText(text.c_str(), maxBytes, maxLines);
}

bool hasLongUnbrokenRun(const Glib::ustring &text, std::size_t maxRun)
{
    std::size_t run = 0;
    for (const char c : text.raw()) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            run = 0;
        else if (++run > maxRun)
            return true;
    }
    return false;
}
