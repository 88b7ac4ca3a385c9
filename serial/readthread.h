#pragma once

#include "device.h"
#include "lineerrors.h"
#include "notice.h"
#include "worker.h"

#include <array>
#include <atomic>
#include <memory>

namespace rovi {

// Cuts the received byte stream into chunks by the read time-outs and posts
// each to the window thread, with line errors before the chunk they came
// with. A separate waiter reports carrier-detect and ring changes where the
// device supports it. Ends on the close event, or after a hang-up notice
// when the device goes away.
class TReadThread : public CommWorker {
public:
    // Test seam: when set, runs on the reader between a poll that found
    // input and the read that takes it, to widen that window.
    static inline std::atomic<void (*)(int fd)> BeforeReadHook{nullptr};

    TReadThread(std::shared_ptr<CommDevice> device, std::shared_ptr<CloseEvent> close_event, NoticeTarget notify);
    ~TReadThread() override; // joins: the body must not outlive the members it uses

protected:
    void Body() override;

private:
    enum class ReadEnd { complete, closed, hangup, gone };
    ReadEnd GatherRead(std::size_t &count);
    void HandOver(std::size_t count);
    void PostLineErrors();
    void StartLineWaiter();
    void StopLineWaiter();

    std::array<char, kReadBufferSize> buffer_{};
    // The driver's line-error counters, first read when the port opened.
    LineErrorWatch line_errors_;

    struct LineWaiter;
    std::unique_ptr<LineWaiter> line_waiter_;
};

} // namespace rovi
