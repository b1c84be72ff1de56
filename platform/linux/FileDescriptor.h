#ifndef OIDSCOPE_LINUX_FILE_DESCRIPTOR_H
#define OIDSCOPE_LINUX_FILE_DESCRIPTOR_H

#include <unistd.h>

namespace linuxmib {

// An open descriptor, closed with its owner unless it was only borrowed (the
// root's, which stays open while the root is in use).
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd(fd), owned(true) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    // Refers to fd without closing it.
    void borrow(int other)
    {
        reset();
        fd = other;
    }

    void reset()
    {
        if (owned && fd >= 0)
            close(fd);
        fd = -1;
        owned = false;
    }
    // Takes over other's descriptor.
    void take(FileDescriptor &other)
    {
        reset();
        fd = other.fd;
        owned = other.owned;
        other.fd = -1;
        other.owned = false;
    }

    int get() const { return fd; }

private:
    int fd = -1;
    bool owned = false;
};

}  // namespace linuxmib

#endif
