#ifndef OIDSCOPE_NUMBER_TEXT_H
#define OIDSCOPE_NUMBER_TEXT_H

#include <glibmm/ustring.h>

#include <array>
#include <type_traits>

// A number as Glib::ustring::compose("%1", n) writes it. A MIB is full of
// small numbers (identifier levels, counts, booleans), and composing goes
// through a new stream each time; the texts of small non-negative numbers
// are composed once and kept.
template <typename T> Glib::ustring numberText(T n)
{
    static_assert(std::is_integral_v<T>, "integers only");
    constexpr int kept = 1024;
    static std::array<Glib::ustring, kept> texts;
    if (n >= 0 && static_cast<unsigned long long>(n) < kept) {
        Glib::ustring &text = texts[static_cast<std::size_t>(n)];
        if (text.empty())
            text = Glib::ustring::compose("%1", n);
        return text;
    }
    return Glib::ustring::compose("%1", n);
}

#endif
