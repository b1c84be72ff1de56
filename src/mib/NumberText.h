#ifndef OIDSCOPE_NUMBER_TEXT_H
#define OIDSCOPE_NUMBER_TEXT_H

#include <glibmm/ustring.h>

#include <charconv>
#include <type_traits>

// An integer as Glib::ustring::compose("%1", n) writes it: decimal, a leading
// minus sign, no grouping. compose builds a new stream for every number,
// which made number text most of the cost of a refresh; std::to_chars gives
// the same characters as that stream under the classic C++ locale, the only
// one this program ever uses (it never changes the global C++ locale).
template <typename T> Glib::ustring numberText(T n)
{
    static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool>, "integers only");
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    return Glib::ustring(digits, end);
}

#endif
