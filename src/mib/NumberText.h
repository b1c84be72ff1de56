#ifndef OIDSCOPE_NUMBER_TEXT_H
#define OIDSCOPE_NUMBER_TEXT_H

#include <glibmm/ustring.h>

#include <charconv>
#include <type_traits>

// Numbers as Glib::ustring::compose("%1", n) writes them. compose builds a new
// stream for every number, which made number text most of the cost of a
// refresh; std::to_chars gives the same characters as that stream under the
// classic C++ locale, the only one this program ever uses (neither it nor
// glibmm changes the global C++ locale). Tests compare the two.

// Decimal, a leading minus sign, no grouping.
template <typename T> Glib::ustring numberText(T n)
{
    static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool>, "integers only");
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    return Glib::ustring(digits, end);
}

// The stream's default for floating numbers: six significant digits, the
// shorter of fixed and exponent notation, as printf's "%g".
inline Glib::ustring numberText(double n)
{
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, n, std::chars_format::general, 6).ptr;
    return Glib::ustring(digits, end);
}

// Lower-case hexadecimal without prefix, as Glib::ustring::format(std::hex, n).
template <typename T> Glib::ustring hexText(T n)
{
    static_assert(std::is_unsigned_v<T> && !std::is_same_v<T, bool>, "unsigned integers only");
    char digits[20];
    const auto end = std::to_chars(digits, digits + sizeof digits, n, 16).ptr;
    return Glib::ustring(digits, end);
}

#endif
