#pragma once

// A serial link opened on a port for a test: every chunk it receives is
// kept, and whether the line hung up.

#include "protocol/frame.h"
#include "serial/seriallink.h"
#include "tests/support/qtwait.h"

#include <string>
#include <vector>

namespace rovi::test {

struct RecordingLink {
    SerialLink serial;
    std::vector<std::string> chunks;
    bool hung_up = false;

    explicit RecordingLink(const std::string &port, int baud = kFactoryBaudRate)
    {
        serial.SetPortName(port);
        serial.SetLineSettings(ReaderLine(static_cast<std::uint32_t>(baud)));
        QObject::connect(&serial, &SerialLink::chunkReceived,
                         [this](const QByteArray &chunk) { chunks.push_back(chunk.toStdString()); });
        QObject::connect(&serial, &SerialLink::hungUp, [this] { hung_up = true; });
        serial.StartPort();
    }
    void Send(const Frame &f) { serial.WriteAll(AsBytes(f)); }
    // The reply to `f`: the chunks that came within a second, joined.
    std::string Ask(const Frame &f)
    {
        chunks.clear();
        Send(f);
        WaitUntil([&] { return !chunks.empty(); }, 1000);
        Pump(250); // a reply in more than one chunk would show here
        std::string all;
        for (const std::string &c : chunks)
            all += c;
        return all;
    }
};

} // namespace rovi::test
