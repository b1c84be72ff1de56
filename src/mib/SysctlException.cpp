#include "mib/SysctlException.h"

#include <cstring>

SysctlException::SysctlException(const char *messageText) : message(messageText ? messageText : "")
{
}

SysctlException::SysctlException(int errorNumber) : message(std::strerror(errorNumber))
{
}

SysctlException::~SysctlException() = default;

const char *SysctlException::what() const noexcept
{
    return message;
}
