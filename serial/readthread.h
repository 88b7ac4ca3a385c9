#pragma once

#include "device.h"
#include "notice.h"

#include "worker.h"

#include <array>
#include <atomic>
#include <memory>
#include <optional>

namespace rovi {

// Cuts the received byte stream into chunks by the read time-outs and posts
// each to the window thread, with line errors before the chunk they came
// with. A separate waiter reports carrier-detect and ring changes where the
// device supports it. Ends on the close event, or after a hang-up notice
// when the device goes away.
class TReadThread : public CommWorker {
public:
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
    // Line-error counters (frame, parity, overrun, break, buffer overrun) at the last read.
    using ErrorCounts = std::array<int, 5>;
    std::optional<ErrorCounts> error_counts_;

    struct LineWaiter;
    std::unique_ptr<LineWaiter> line_waiter_;
};

} // namespace rovi
