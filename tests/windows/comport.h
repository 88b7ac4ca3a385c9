#pragma once

// The COM port the simulated reader is on (ROVI_TEST_COM, set by
// scripts/test-windows), and the reader put back to its factory settings,
// so a test starts from a state it set up itself.

#include "protocol/frame.h"
#include "serial/seriallink.h"
#include "tests/support/qtwait.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace rovi::test {

inline std::string TestComPort()
{
    const char *port = std::getenv("ROVI_TEST_COM");
    return port ? port : "COM5";
}

// Sends the factory reset over a link of its own and checks the reader
// accepted it (FE F1 00 FF).
inline void RestoreFactorySet(const std::string &port)
{
    SerialLink link;
    link.SetPortName(port);
    link.SetLineSettings(ReaderLine(9600));
    QByteArray reply;
    QObject::connect(&link, &SerialLink::chunkReceived, [&](const QByteArray &chunk) { reply += chunk; });
    link.StartPort();
    link.WriteAll(AsBytes(ComposeFactoryReset()));
    ASSERT_TRUE(WaitUntil([&] { return reply.size() >= static_cast<qsizetype>(kAckSize); }, 5000));
    EXPECT_EQ(reply.toHex(' ').toUpper(), "FE F1 00 FF");
    link.StopPort();
}

} // namespace rovi::test
