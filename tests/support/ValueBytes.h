#ifndef OIDSCOPE_TESTS_VALUE_BYTES_H
#define OIDSCOPE_TESTS_VALUE_BYTES_H

// Raw value bytes in tests: building them from numbers, and comparing them
// so that a failure shows both sides byte by byte. No toolkit and no
// simulated kernel (only its header-only number bytes): the Linux tests,
// which have neither, use it too.

#include "NumberBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

// The numbers' bytes in the machine's byte order, one after the other.
using sim::bytesOf;

// "4 bytes: 2a 00 00 00"
inline std::string hexBytes(const std::string &bytes)
{
    std::string text = std::to_string(bytes.size()) + (bytes.size() == 1 ? " byte" : " bytes");
    if (!bytes.empty())
        text += ':';
    for (unsigned char byte : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, " %02x", byte);
        text += pair;
    }
    return text;
}

inline std::string hexBytes(const std::vector<std::string> &values)
{
    std::string text = "{";
    for (std::size_t i = 0; i < values.size(); ++i)
        text += (i ? "; " : " ") + hexBytes(values[i]);
    return text + " }";
}

// For EXPECT_PRED_FORMAT2: the two byte strings (or lists of them) are equal.
template <typename Bytes>
::testing::AssertionResult equalBytes(const char *actualText, const char *expectedText,
                                      const Bytes &actual, const Bytes &expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actualText << "\n    is " << hexBytes(actual) << "\n"
                                         << expectedText << "\n    is " << hexBytes(expected);
}

inline ::testing::AssertionResult sameBytes(const char *actualText, const char *expectedText,
                                            const std::string &actual, const std::string &expected)
{
    return equalBytes(actualText, expectedText, actual, expected);
}

inline ::testing::AssertionResult sameBytes(const char *actualText, const char *expectedText,
                                            const std::vector<std::string> &actual,
                                            const std::vector<std::string> &expected)
{
    return equalBytes(actualText, expectedText, actual, expected);
}

// Equality of raw value bytes; a failure prints both sides in hex.
#define EXPECT_BYTES_EQ(actual, expected) EXPECT_PRED_FORMAT2(sameBytes, actual, expected)

#endif
