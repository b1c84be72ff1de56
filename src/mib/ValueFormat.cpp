#include "mib/ValueFormat.h"

#include "mib/CtlType.h"
#include "mib/NumberText.h"
#include "mib/ValidUtf8.h"

#include <glib.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <algorithm>
#include <type_traits>

namespace {

// Opaque formats whose layout is known and shown.
const char *const shownOpaqueFormats[] = {
    "S,clockinfo", "S,input_id", "S,loadavg", "S,bios_smap_xattr", "S,pagesizes", "S,timeval",
};


// Fields are copied out, as the data has no alignment guarantee.
template <typename T> T fieldAt(const unsigned char *data, std::size_t offset)
{
    T v;
    std::memcpy(&v, data + offset, sizeof v);
    return v;
}

template <typename T> Glib::ustring numberArray(const unsigned char *data, std::size_t n)
{
    Glib::ustring text;
    const std::size_t count = n / sizeof(T);
    for (std::size_t i = 0; i < count; ++i) {
        // Widen one-byte elements so they print as numbers, not characters.
        using Printed = std::conditional_t<sizeof(T) == 1,
                                           std::conditional_t<std::is_signed_v<T>, int, unsigned>, T>;
        if (i)
            text += ' ';
        text += numberText(static_cast<Printed>(fieldAt<T>(data, i * sizeof(T))));
    }
    return text;
}

bool isTemperature(const char *format)
{
    return format && format[0] != '\0' && format[1] == 'K';
}

Glib::ustring temperature(const char *format, const unsigned char *data, std::size_t n)
{
    if (n < sizeof(int32_t))
        return {};
    const int digits = format[2] != '\0' ? format[2] - '0' : 1;
    const float divisor = digits > 0 ? std::pow(10.0f, static_cast<float>(digits)) : 1.0f;
    const float quotient = static_cast<float>(fieldAt<int32_t>(data, 0)) / divisor;
    return numberText(static_cast<double>(quotient) + -273.15) + " C";
}

Glib::ustring stringValue(const unsigned char *data, std::size_t n)
{
    const void *nul = std::memchr(data, '\0', n);
    std::size_t length = nul ? static_cast<const unsigned char *>(nul) - data : n;
    if (length > 0 && data[length - 1] == '\n')
        --length;
    const char *text = reinterpret_cast<const char *>(data);
    if (isValidUtf8(text, length))
        return Glib::ustring(text, text + length);
    // The toolkit shows nothing for invalid UTF-8; show the rest of the text.
    gchar *valid = g_utf8_make_valid(text, static_cast<gssize>(length));
    Glib::ustring result(valid);
    g_free(valid);
    return result;
}

Glib::ustring clockinfo(const unsigned char *data, std::size_t n)
{
    if (n < 20)
        return {};
    return "{ hz = " + numberText(fieldAt<int32_t>(data, 0)) +
           ", tick = " + numberText(fieldAt<int32_t>(data, 4)) +
           ", profhz = " + numberText(fieldAt<int32_t>(data, 16)) +
           ", stathz = " + numberText(fieldAt<int32_t>(data, 12)) + " }";
}

Glib::ustring inputId(const unsigned char *data, std::size_t n)
{
    if (n < 8)
        return {};
    return "{ bustype = 0x" + hexText(fieldAt<uint16_t>(data, 0)) +
           ", vendor = 0x" + hexText(fieldAt<uint16_t>(data, 2)) +
           ", product = 0x" + hexText(fieldAt<uint16_t>(data, 4)) +
           ", version = 0x" + hexText(fieldAt<uint16_t>(data, 6)) + " }";
}

Glib::ustring loadavg(const unsigned char *data, std::size_t n)
{
    if (n < 24)
        return {};
    const double scale = static_cast<double>(fieldAt<int64_t>(data, 16));
    return "{ " + numberText(fieldAt<uint32_t>(data, 0) / scale) + " " +
           numberText(fieldAt<uint32_t>(data, 4) / scale) + " " +
           numberText(fieldAt<uint32_t>(data, 8) / scale) + " }";
}

Glib::ustring smap(const unsigned char *data, std::size_t n)
{
    Glib::ustring text;
    for (std::size_t at = 0; at + 24 <= n; at += 24)
        text += "\nSMAP type=" + hexText(fieldAt<uint32_t>(data, at + 16)) +
                ", xattr=" + hexText(fieldAt<uint32_t>(data, at + 20)) +
                ", base=" + hexText(fieldAt<uint64_t>(data, at)) +
                ", len=" + hexText(fieldAt<uint64_t>(data, at + 8));
    return text;
}

Glib::ustring pagesizes(const unsigned char *data, std::size_t n)
{
    Glib::ustring text = "{ ";
    for (std::size_t at = 0; at + 8 <= n; at += 8) {
        const uint64_t size = fieldAt<uint64_t>(data, at);
        if (size == 0)
            break;
        if (at)
            text += ", ";
        text += numberText(size);
    }
    return text + " }";
}

Glib::ustring timeval(const unsigned char *data, std::size_t n)
{
    if (n < 16)
        return {};
    const int64_t sec = fieldAt<int64_t>(data, 0);
    Glib::ustring text =
        "{ sec = " + numberText(sec) + ", usec = " + numberText(fieldAt<int64_t>(data, 8)) + " } ";
    // ctime fails for years it cannot print; the braces alone are shown then.
    char date[64];
    const time_t seconds = static_cast<time_t>(sec);
    if (seconds == sec && ctime_r(&seconds, date)) {
        std::size_t length = std::strlen(date);
        if (length > 0 && date[length - 1] == '\n')
            date[length - 1] = '\0';
        text += ' ';
        text += date;
    }
    return text;
}

Glib::ustring opaque(const char *format, const unsigned char *data, std::size_t n)
{
    if (std::strcmp(format, "S,clockinfo") == 0)
        return clockinfo(data, n);
    if (std::strcmp(format, "S,input_id") == 0)
        return inputId(data, n);
    if (std::strcmp(format, "S,loadavg") == 0)
        return loadavg(data, n);
    if (std::strcmp(format, "S,bios_smap_xattr") == 0)
        return smap(data, n);
    if (std::strcmp(format, "S,pagesizes") == 0)
        return pagesizes(data, n);
    if (std::strcmp(format, "S,timeval") == 0)
        return timeval(data, n);
    return {};
}

}  // namespace

bool isShownOpaque(const char *format)
{
    if (!format)
        return false;
    for (const char *shown : shownOpaqueFormats)
        if (std::strcmp(format, shown) == 0)
            return true;
    return false;
}

Glib::ustring formatBytes(unsigned type, const char *format, const unsigned char *data,
                          std::size_t n)
{
    switch (type) {
    case ctlTypeInt:
        return isTemperature(format) ? temperature(format, data, n) : numberArray<int32_t>(data, n);
    case ctlTypeS64:
    case ctlTypeLong:
        return numberArray<int64_t>(data, n);
    case ctlTypeUint:
    case ctlTypeU32:
        return numberArray<uint32_t>(data, n);
    case ctlTypeUlong:
    case ctlTypeU64:
        return numberArray<uint64_t>(data, n);
    case ctlTypeU8:
        return numberArray<uint8_t>(data, n);
    case ctlTypeU16:
        return numberArray<uint16_t>(data, n);
    case ctlTypeS8:
        return numberArray<int8_t>(data, n);
    case ctlTypeS16:
        return numberArray<int16_t>(data, n);
    case ctlTypeS32:
        return numberArray<int32_t>(data, n);
    case ctlTypeString:
        return stringValue(data, n);
    case ctlTypeOpaque:
        return isShownOpaque(format) ? opaque(format, data, n) : Glib::ustring();
    default:
        return {};
    }
}
