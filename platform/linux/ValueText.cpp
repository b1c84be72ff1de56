#include "ValueText.h"

#include "ctlvocab.h"

#include <cerrno>
#include <cstring>
#include <limits>

namespace linuxmib {

namespace {

struct Number {
    bool negative;
    std::uint64_t magnitude;
};

constexpr std::uint64_t maxS64 = std::uint64_t{std::numeric_limits<std::int64_t>::max()};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The numbers of the text, or false when any token is not a decimal integer
// within 64 bits or there is none.
bool parseNumbers(const std::string &text, std::vector<Number> &numbers)
{
    constexpr std::uint64_t maxU64 = std::numeric_limits<std::uint64_t>::max();
    numbers.clear();
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
        if (number.negative && number.magnitude > maxS64 + 1)
            return false;
        numbers.push_back(number);
    }
    return !numbers.empty();
}

bool isNegative(const Number &number)
{
    return number.negative && number.magnitude != 0;
}

bool fitsS64(const Number &number)
{
    return number.negative || number.magnitude <= maxS64;
}

void appendBytes(std::vector<unsigned char> &bytes, const void *data, std::size_t size)
{
    const auto *p = static_cast<const unsigned char *>(data);
    bytes.insert(bytes.end(), p, p + size);
}

}  // namespace

std::uint8_t ValueText::typeOf(const std::string &text)
{
    std::vector<Number> numbers;
    if (!parseNumbers(text, numbers))
        return NM_CTLTYPE_STRING;
    bool anyNegative = false, anyOverS64 = false;
    for (const Number &number : numbers) {
        anyNegative = anyNegative || isNegative(number);
        anyOverS64 = anyOverS64 || !fitsS64(number);
    }
    // A negative and a number beyond INT64_MAX fit no one integer type.
    if (anyNegative && anyOverS64)
        return NM_CTLTYPE_STRING;
    return anyOverS64 ? NM_CTLTYPE_U64 : NM_CTLTYPE_S64;
}

int ValueText::toBytes(std::uint8_t type, const std::string &text, std::vector<unsigned char> &bytes)
{
    bytes.clear();
    if (type == NM_CTLTYPE_STRING) {
        appendBytes(bytes, text.data(), text.size());
        bytes.push_back(0);
        return 0;
    }
    std::vector<Number> numbers;
    if ((type != NM_CTLTYPE_S64 && type != NM_CTLTYPE_U64) || !parseNumbers(text, numbers))
        return EINVAL;
    bytes.reserve(numbers.size() * 8);
    for (const Number &number : numbers) {
        if (type == NM_CTLTYPE_U64 ? isNegative(number) : !fitsS64(number)) {
            bytes.clear();
            return EINVAL;
        }
        // Negate in the unsigned domain so that INT64_MIN does not overflow;
        // the two types share the bits of every number both hold.
        const std::uint64_t bits = number.negative ? ~number.magnitude + 1 : number.magnitude;
        appendBytes(bytes, &bits, sizeof bits);
    }
    return 0;
}

int ValueText::numbersText(std::uint8_t type, const void *data, std::size_t length, std::string &text)
{
    text.clear();
    if ((type != NM_CTLTYPE_S64 && type != NM_CTLTYPE_U64) || length == 0 || length % 8 != 0)
        return EINVAL;
    const auto *bytes = static_cast<const unsigned char *>(data);
    for (std::size_t offset = 0; offset < length; offset += 8) {
        if (offset != 0)
            text += '\t';
        std::uint64_t bits;
        std::memcpy(&bits, bytes + offset, sizeof bits);
        if (type == NM_CTLTYPE_S64)
            text += std::to_string(static_cast<std::int64_t>(bits));
        else
            text += std::to_string(bits);
    }
    text += '\n';
    return 0;
}

std::string ValueText::stringText(const void *data, std::size_t length)
{
    const auto *bytes = static_cast<const char *>(data);
    const void *nul = std::memchr(bytes, 0, length);
    return std::string(bytes, nul ? static_cast<const char *>(nul) - bytes : length);
}

}  // namespace linuxmib
