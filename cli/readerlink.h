#pragma once

// The reader on its serial line, for a program without a window: the same
// serial link the window uses (exclusive open, the 100 ms chunk rule), with
// waits that run the event loop until a chunk comes or time is up. The
// conversations that set and read the reader run on Serial() (ReaderSetup).

#include "options.h"
#include "base/bytes.h"
#include "serial/seriallink.h"
#include "serial/portinfo.h"

#include <deque>
#include <optional>

class QEventLoop;

namespace rovi::cli {

// A port that could not be opened, and why.
struct OpenError {
    OpenFailure failure;
};

// One line of words for an open failure ("busy: held by ModemManager (pid 612)").
std::string ExplainOpenFailure(const std::string &port, const OpenFailure &failure);

// The line the options ask for: the reader's line at their rate and format.
LineSettings LineOf(const LineOptions &line);

class ReaderLink {
public:
    // Throws OpenError.
    explicit ReaderLink(const LineOptions &line);
    ~ReaderLink();
    ReaderLink(const ReaderLink &) = delete;
    ReaderLink &operator=(const ReaderLink &) = delete;

    void Send(const ByteString &bytes);
    // The line's rate from now on (the reader's changed).
    void SetBaudRate(std::uint32_t rate);
    // The next chunk, waiting at most timeout_ms (forever when negative).
    std::optional<ByteString> NextChunk(int timeout_ms);
    // The device went away (unplugged); no more chunks will come.
    bool HungUp() const { return hung_up_; }
    // The link itself, for what runs on its signals (ReaderSetup).
    SerialLink &Serial() { return link_; }

private:
    SerialLink link_;
    std::deque<ByteString> chunks_;
    bool hung_up_ = false;
    QEventLoop *waiting_ = nullptr;
};

} // namespace rovi::cli
