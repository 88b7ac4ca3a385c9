#pragma once

// Whether another program could open a port now: nothing holds it.

#include "serial/seriallink.h"

#include <string>

namespace rovi::test {

inline bool PortFree(const std::string &port)
{
    SerialLink other;
    other.SetPortName(port);
    try {
        other.StartPort();
    } catch (const SerialError &) {
        return false;
    }
    other.StopPort();
    return true;
}

} // namespace rovi::test
