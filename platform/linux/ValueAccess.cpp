#include "ValueAccess.h"

#include "ObjectTree.h"
#include "RootDirectory.h"
#include "ValueFile.h"
#include "ValueText.h"
#include "ctlvocab.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>

namespace linuxmib {

namespace {

std::uint32_t fileFlags(mode_t mode)
{
    std::uint32_t flags = 0;
    if (mode & S_IRUSR)
        flags |= NM_CTLFLAG_RD;
    if (mode & S_IWUSR)
        flags |= NM_CTLFLAG_WR;
    if (mode & S_IWOTH)
        flags |= NM_CTLFLAG_ANYBODY;
    return flags;
}

const char *formatOf(std::uint8_t type)
{
    switch (type) {
    case NM_CTLTYPE_NODE:
        return "N";
    case NM_CTLTYPE_S64:
        return "Q";
    case NM_CTLTYPE_U64:
        return "QU";
    default:
        return "A";
    }
}

// 0 and the content of the file name in dirFd, with its status.
int readContent(int dirFd, const std::string &name, std::string &content, struct stat &st)
{
    FileDescriptor file;
    if (int err = RootDirectory::openFile(dirFd, name, O_RDONLY, file, st))
        return err;
    return ValueFile::read(file.get(), content);
}

// Whether the mode lets the file's value be read. A write-only file (such
// as vm.drop_caches) is an action; even root cannot read it in /proc/sys.
bool readableMode(mode_t mode)
{
    return mode & S_IRUSR;
}

}  // namespace

std::uint8_t ValueAccess::typeOf(KnownObject &object, const std::string *content)
{
    // Files that cannot be read (write-only ones, or those whose read
    // fails) take their new values as text.
    if (object.type == 0)
        object.type = content ? ValueText::typeOf(*content) : NM_CTLTYPE_STRING;
    return object.type;
}

int ValueAccess::describe(KnownObject &object, std::uint32_t &kind, const char *&format)
{
    FileDescriptor dir;
    struct stat st;
    if (int err = tree.openParent(object, dir))
        return err;
    if (int err = RootDirectory::status(dir.get(), object.fileName, st))
        return err;
    if (S_ISDIR(st.st_mode)) {
        // Nodes only group objects: readable, whatever the directory's mode.
        kind = NM_CTLTYPE_NODE | NM_CTLFLAG_RD;
        format = formatOf(NM_CTLTYPE_NODE);
        return 0;
    }
    if (!S_ISREG(st.st_mode))
        return ENOENT;
    std::uint8_t type = object.type;
    if (type == 0) {
        std::string content;
        const int err = readableMode(st.st_mode)
                            ? readContent(dir.get(), object.fileName, content, st)
                            : EACCES;
        if (err == ENOENT || err == EISDIR)
            return ENOENT;
        type = typeOf(object, err == 0 ? &content : nullptr);
    }
    kind = type | fileFlags(st.st_mode);
    format = formatOf(type);
    return 0;
}

int ValueAccess::read(KnownObject &object, std::vector<unsigned char> &bytes)
{
    FileDescriptor dir;
    std::string content;
    struct stat st;
    if (int err = tree.openParent(object, dir))
        return err;
    if (int err = readContent(dir.get(), object.fileName, content, st))
        return err;
    const std::uint8_t type = typeOf(object, readableMode(st.st_mode) ? &content : nullptr);
    return ValueText::toBytes(type, content, bytes);
}

int ValueAccess::write(KnownObject &object, const void *data, std::size_t length)
{
    FileDescriptor dir, file;
    struct stat st;
    if (int err = tree.openParent(object, dir))
        return err;
    // Opening for writing checks existence and permission; only write(2)
    // acts on a value.
    if (int err = RootDirectory::openFile(dir.get(), object.fileName, O_WRONLY, file, st))
        return err;
    if (length == 0)
        return EINVAL;
    const bool readable = readableMode(st.st_mode);
    // A string is written as it comes; numbers are checked against what the
    // file holds, and an undetermined type is taken from it.
    std::string content;
    struct stat current;
    int readError = 0;
    if (readable && object.type != NM_CTLTYPE_STRING)
        readError = readContent(dir.get(), object.fileName, content, current);
    const std::uint8_t type = typeOf(object, readable && readError == 0 ? &content : nullptr);

    std::string text;
    if (type == NM_CTLTYPE_STRING) {
        text = ValueText::stringText(data, length);
        if (text.empty()) {
            // /proc/sys clears a string with a lone line feed; a file that
            // cannot be read runs an action when written, which no text
            // must set off.
            if (!readable)
                return EINVAL;
            text = "\n";
        }
    } else {
        if (int err = ValueText::numbersText(type, data, length, text))
            return err;
        if (readable) {
            if (readError)
                return readError;
            std::vector<unsigned char> held;
            if (ValueText::toBytes(type, content, held) != 0)
                return EINVAL;
            // Elements beyond those the file holds would be dropped by the
            // kernel after it had taken the first ones.
            if (length / 8 > held.size() / 8)
                return EINVAL;
        }
    }
    return ValueFile::write(file.get(), st, text);
}

}  // namespace linuxmib
