#pragma once

// Runs a call that must raise the program's error of type E with exactly
// this message (a conversion error, an INI write error …).

#include <gtest/gtest.h>

#include <string>

namespace rovi::test {

template <class E, class Call> void ExpectError(Call call, const std::string &message)
{
    try {
        call();
        ADD_FAILURE() << "no error; expected: " << message;
    } catch (const E &e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
}

} // namespace rovi::test
