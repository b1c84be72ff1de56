#include "ValueText.h"

#include "CtlCodes.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>

namespace linuxmib {

namespace {

struct Number {
    bool negative;
    std::uint64_t magnitude;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The numbers of the text, or false when any token is not a decimal integer
// within 64 bits or there is none.
bool parseNumbers(const std::string &text, std::vector<Number> &numbers)
{
    constexpr std::uint64_t maxU64 = std::numeric_limits<std::uint64_t>::max();
    constexpr std::uint64_t minS64Magnitude = std::uint64_t{1} << 63;
    std::size_t i = 0;
    const std::size_t n = text.size();
    for (;;) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i == n)
            break;
        Number number{false, 0};
        if (text[i] == '-' || text[i] == '+') {
            number.negative = text[i] == '-';
            ++i;
        }
        const std::size_t digitsStart = i;
        for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
            const unsigned digit = static_cast<unsigned>(text[i] - '0');
            if (number.magnitude > (maxU64 - digit) / 10)
                return false;
            number.magnitude = number.magnitude * 10 + digit;
        }
        if (i == digitsStart || (i < n && !isBlank(text[i])))
            return false;
        if (number.negative && number.magnitude > minS64Magnitude)
            return false;
        numbers.push_back(number);
    }
    return !numbers.empty();
}

void appendBytes(std::vector<unsigned char> &bytes, const void *data, std::size_t size)
{
    const auto *p = static_cast<const unsigned char *>(data);
    bytes.insert(bytes.end(), p, p + size);
}

}  // namespace

ValueText::Value ValueText::decode(const std::string &text)
{
    std::vector<Number> numbers;
    bool anyNegative = false;
    bool anyOverS64 = false;
    // One token that is not a number makes the whole text a string.
    if (!parseNumbers(text, numbers))
        numbers.clear();
    for (const Number &number : numbers) {
        anyNegative = anyNegative || (number.negative && number.magnitude != 0);
        anyOverS64 = anyOverS64 ||
                     (!number.negative &&
                      number.magnitude > std::uint64_t{std::numeric_limits<std::int64_t>::max()});
    }
    Value value;
    // A negative and a number beyond INT64_MAX fit no one integer type.
    if (numbers.empty() || (anyNegative && anyOverS64)) {
        value.type = typeString;
        appendBytes(value.bytes, text.data(), text.size());
        value.bytes.push_back(0);
        return value;
    }
    value.type = anyOverS64 ? typeU64 : typeS64;
    value.bytes.reserve(numbers.size() * 8);
    for (const Number &number : numbers) {
        if (value.type == typeU64) {
            appendBytes(value.bytes, &number.magnitude, sizeof number.magnitude);
        } else {
            // Negate in the unsigned domain so that INT64_MIN does not overflow.
            const std::uint64_t bits = number.negative ? ~number.magnitude + 1 : number.magnitude;
            std::int64_t signedValue;
            std::memcpy(&signedValue, &bits, sizeof signedValue);
            appendBytes(value.bytes, &signedValue, sizeof signedValue);
        }
    }
    return value;
}

int ValueText::encode(std::uint8_t type, const void *data, std::size_t length, std::string &text)
{
    text.clear();
    const auto *bytes = static_cast<const unsigned char *>(data);
    if (type == typeString) {
        if (length == 0)
            return 0;
        const void *nul = std::memchr(bytes, 0, length);
        const std::size_t end = nul ? static_cast<std::size_t>(static_cast<const unsigned char *>(nul) - bytes)
                                    : length;
        text.assign(reinterpret_cast<const char *>(bytes), end);
        return 0;
    }
    if (type != typeS64 && type != typeU64)
        return EINVAL;
    if (length == 0 || length % 8 != 0)
        return EINVAL;
    for (std::size_t offset = 0; offset < length; offset += 8) {
        if (offset != 0)
            text += '\t';
        if (type == typeS64) {
            std::int64_t number;
            std::memcpy(&number, bytes + offset, sizeof number);
            text += std::to_string(number);
        } else {
            std::uint64_t number;
            std::memcpy(&number, bytes + offset, sizeof number);
            text += std::to_string(number);
        }
    }
    text += '\n';
    return 0;
}

}  // namespace linuxmib
