#ifndef OIDSCOPE_SYSCTL_EXCEPTION_H
#define OIDSCOPE_SYSCTL_EXCEPTION_H

#include <exception>
#include <optional>
#include <string>

// The program's one exception type: a refused or failed value change, or a
// failed library query. Thrown as a pointer made with new; the catcher owns
// it and deletes it once it has shown what().
class SysctlException : public std::exception {
public:
    // Keeps the pointer itself: the text must outlive the exception (a
    // string literal).
    explicit SysctlException(const char *messageText);
    // The system's text for an error number.
    explicit SysctlException(int errorNumber);
    virtual ~SysctlException();

    const char *what() const noexcept override;

    const char *message;  // not owned
    // For a write that the kernel refused: the value text read back after
    // it, when it could be read. A failed write may still have changed the
    // value (a list written in part), and the user must see that.
    std::optional<std::string> valueAfter;
};

#endif
