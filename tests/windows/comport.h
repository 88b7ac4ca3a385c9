#pragma once

// The COM port the simulated reader is on (ROVI_TEST_COM, set by
// scripts/test-windows).

#include <cstdlib>
#include <string>

namespace rovi::test {

inline std::string TestComPort()
{
    const char *port = std::getenv("ROVI_TEST_COM");
    return port ? port : "COM5";
}

} // namespace rovi::test
