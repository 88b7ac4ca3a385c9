#pragma once

#include "device.h"
#include "lineerrors.h"
#include "notice.h"
#include "worker.h"

#include <array>
#include <chrono>
#include <atomic>
#include <memory>

namespace rovi {

// Cuts the received byte stream into chunks by the read time-outs and posts
// each to the window thread, with line errors before the chunk they came
// with, and carrier-detect and ring changes where the device reports them.
// Ends on the close event, or after a hang-up notice when the device goes
// away. The waiting is the platform's (serialreader_posix.cpp,
// serialreader_win32.cpp); the hand-over of a chunk is shared.
class SerialReader : public SerialWorker {
public:
    // Test seam: when set, runs on the reader between a wait that found
    // input and the read that takes it, to widen that window (Linux).
    static inline std::atomic<void (*)(NativeHandle device)> BeforeReadHook{nullptr};
    // Test seam: when set, runs on the reader each time it rests between
    // reads of a streaming line, with how long after the last byte the
    // rest ends (Linux).
    static inline std::atomic<void (*)(std::chrono::steady_clock::duration rest_end)> RestHook{nullptr};

    SerialReader(std::shared_ptr<SerialDevice> device, std::shared_ptr<CloseEvent> close_event, NoticeTarget notify);
    ~SerialReader() override; // joins: the body must not outlive the members it uses

protected:
    void Body() override;

private:
    // Posts `count` bytes as one chunk (nothing for none), then waits while
    // the window thread is too far behind.
    void HandOver(const char *bytes, std::size_t count);

#ifdef _WIN32
    // The pending read and the pending line-event wait, each with its
    // overlapped record and event.
    struct ReadWait;
    struct LineWait;
    bool ArmRead(ReadWait &read);
    bool FinishRead(ReadWait &read);
    bool ReadAgainAfterAbort(ReadWait &read);
    bool ArmLineWait(LineWait &line);
    bool HandleLineEvent(LineWait &line, bool overlapped);
    void PostFailure();
#else
    enum class ReadEnd { complete, closed, hangup, gone };
    ReadEnd GatherRead(std::size_t &count);
    bool RestUntil(std::chrono::steady_clock::time_point until);
    void PostLineErrors();
    void StartLineWaiter();
    void StopLineWaiter();

    std::array<char, kReadBufferSize> buffer_{};

    // The driver's line-error counters, first read when the port opened.
    LineErrorWatch line_errors_;

    struct LineWaiter;
    std::unique_ptr<LineWaiter> line_waiter_;
#endif
};

} // namespace rovi
