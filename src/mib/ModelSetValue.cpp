#include "mib/CtlType.h"
#include "mib/SysctlException.h"
#include "mib/ObjectValue.h"
#include "model/Model.h"
#include "nmeta.h"

#include <glib.h>

#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr std::size_t maxOidLevels = NM_CTL_MAXNAME;

// Library and kernel calls that fail without an error number must still give
// the user a reason rather than "Success".
int lastError()
{
    return errno ? errno : EIO;
}

using SplitText = std::unique_ptr<gchar *, decltype(&g_strfreev)>;
using ByteBuffer = std::unique_ptr<void, decltype(&std::free)>;

// Grows the value's buffer to newLength bytes; on failure the buffer is left
// as it was (and is released by its owner).
void growBuffer(ByteBuffer &buffer, std::size_t &length, std::size_t newLength)
{
    void *grown = std::realloc(buffer.get(), newLength);
    if (!grown)
        throw new SysctlException("realloc() to create the numeric value");
    static_cast<void>(buffer.release());
    buffer.reset(grown);
    length = newLength;
}

bool isSignedType(unsigned type)
{
    switch (type) {
    case ctlTypeInt:
    case ctlTypeS64:
    case ctlTypeLong:
    case ctlTypeS8:
    case ctlTypeS16:
    case ctlTypeS32:
        return true;
    default:
        return false;
    }
}

bool hasParseRule(unsigned type)
{
    return type < ctlTypeCount && ctlTypeTable[type].elementSize > 0;
}

// Parses one comma-separated piece in base 0 with the 64-bit parse of the
// type's signedness; the result as its two's-complement bits.
std::uint64_t parsePiece(const char *piece, unsigned type)
{
    char *end = nullptr;
    std::uint64_t bits;
    errno = 0;
    if (type == ctlTypeS64)
        bits = static_cast<std::uint64_t>(std::strtoimax(piece, &end, 0));
    else if (isSignedType(type))
        bits = static_cast<std::uint64_t>(std::strtoll(piece, &end, 0));
    else if (type == ctlTypeU64)
        bits = static_cast<std::uint64_t>(std::strtoumax(piece, &end, 0));
    else
        bits = static_cast<std::uint64_t>(std::strtoull(piece, &end, 0));
    if (errno == ERANGE || end == piece)
        throw new SysctlException("The new value is not a number");
    return bits;
}

// Keeps the low bytes of the number in the element's width, in the machine's
// own byte order (no range check: 300 as a uint8_t stores 44).
void storeElement(unsigned char *element, std::size_t width, std::uint64_t bits)
{
    switch (width) {
    case 1: {
        const auto v = static_cast<std::uint8_t>(bits);
        std::memcpy(element, &v, 1);
        break;
    }
    case 2: {
        const auto v = static_cast<std::uint16_t>(bits);
        std::memcpy(element, &v, 2);
        break;
    }
    case 4: {
        const auto v = static_cast<std::uint32_t>(bits);
        std::memcpy(element, &v, 4);
        break;
    }
    default:
        std::memcpy(element, &bits, 8);
        break;
    }
}

// One element per comma-separated piece, each parsed on its own.
void buildNumbers(ByteBuffer &buffer, std::size_t &length, const Glib::ustring &newValue,
                  unsigned type)
{
    SplitText pieces(g_strsplit(newValue.c_str(), ",", -1), &g_strfreev);
    for (gchar **piece = pieces.get(); *piece; ++piece) {
        if (!hasParseRule(type))
            throw new SysctlException("Unknown Object type");
        const std::size_t width = ctlTypeTable[type].elementSize;
        const std::size_t offset = length;
        growBuffer(buffer, length, length + width);
        storeElement(static_cast<unsigned char *>(buffer.get()) + offset, width,
                     parsePiece(*piece, type));
    }
}

}  // namespace

bool Model::hasHandler(const Glib::ustring &fullName)
{
    return hasHandler(fullName.c_str());
}

bool Model::hasHandler(const char *fullName)
{
    bool defined = false;
    errno = 0;
    if (nmeta_hashandlerbyname(fullName, &defined) != 0)
        throw new SysctlException(lastError());
    return defined;
}

Glib::ustring Model::setValue(Gtk::TreeModel::Row row, Glib::ustring newValue)
{
    // The kernel knows the object by its own bytes, not by the mended text.
    const std::string objectName = kernelName(row);
    const unsigned objectType = row[typeCode];
    const bool readable = row[RD];

    if (objectType == ctlTypeNode)
        throw new SysctlException("A node object is not writable");
    if (row[TUN])
        throw new SysctlException("TUN flag: the value should be set in /boot/loader.conf");
    if (objectType == ctlTypeOpaque)
        throw new SysctlException("oidscope can not set an OPAQUE value");
    if (!row[WR])
        throw new SysctlException("The value is not writable (the object has not the WR flag)");
    if (objectType != ctlTypeString && newValue.empty())
        throw new SysctlException("Empty numeric new value");
    // Writing a write-only object runs its action: an empty text is no value
    // to run it with.
    if (objectType == ctlTypeString && newValue.empty() && !readable)
        throw new SysctlException(EINVAL);

    // A string goes as its own bytes with their NUL; numbers are built.
    ByteBuffer numbers(nullptr, &std::free);
    std::size_t length = 0;
    const void *bytes = nullptr;
    if (objectType == ctlTypeString) {
        bytes = newValue.c_str();
        length = newValue.bytes() + 1;
    } else {
        buildNumbers(numbers, length, newValue, objectType);
        bytes = numbers.get();
    }
    if (length == 0)
        throw new SysctlException(EINVAL);  // never a write of no bytes

    int levels[maxOidLevels];
    std::size_t levelCount = maxOidLevels;
    errno = 0;
    if (nmeta_oidbyname(objectName.c_str(), levels, &levelCount) != 0 || levelCount == 0 ||
        levelCount > maxOidLevels)
        throw new SysctlException("nodemeta2 cannot get the OID of the object");
    const auto levelsUsed = static_cast<unsigned>(levelCount);

    // A kernel that takes the numbers it has room for and refuses the rest
    // would keep part of the list: a list longer than the value it holds now
    // is refused before anything is written.
    if (objectType != ctlTypeString && readable) {
        std::size_t held = 0;
        errno = 0;
        if (sysctl(levels, levelsUsed, nullptr, &held, nullptr, 0) != 0)
            throw new SysctlException(lastError());
        const std::size_t width = ctlTypeTable[objectType].elementSize;
        if (length / width > held / width)
            throw new SysctlException("The new value has more numbers than the object holds");
    }

    errno = 0;
    if (sysctl(levels, levelsUsed, nullptr, nullptr, bytes, length) != 0) {
        std::unique_ptr<SysctlException> refused(new SysctlException(lastError()));
        bool unread = false;
        const Glib::ustring now = readValue(objectName.c_str(), true, -1, "", &unread);
        if (!unread)
            refused->valueAfter = now.raw();
        throw refused.release();
    }

    const Glib::ustring readBack = readValue(objectName.c_str(), true, -1, "");
    putValue(row, readBack);
    return readBack;
}

void Model::putValue(Gtk::TreeModel::Row row, const Glib::ustring &text)
{
    row[value] = text.size() > static_cast<Glib::ustring::size_type>(rowValueLimit) ? unreadValueText : text;
}
