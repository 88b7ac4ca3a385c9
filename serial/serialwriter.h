#pragma once

#include "device.h"
#include "notice.h"
#include "writequeue.h"

#include "worker.h"

#include <memory>

namespace rovi {

// Takes requests from its queue and writes each completely, in order.
// Posts the send-queue-empty notice once after it starts and once each time the queue
// runs dry after writing. Ends on the close event (dropping what is queued)
// or after a hang-up notice when a write fails. The waiting and writing are
// the platform's (serialwriter_posix.cpp, serialwriter_win32.cpp).
class SerialWriter : public SerialWorker {
public:
    using SerialWorker::SerialWorker;
    ~SerialWriter() override; // joins: the body must not outlive the members it uses

    // Usable from the moment the writer is created; refuses once it has ended.
    WriteQueue &Queue() { return queue_; }

protected:
    void Body() override;

private:
    bool WriteRequest(const ByteString &request);
    bool WaitForInput();

    WriteQueue queue_;
#ifdef _WIN32
    WaitEvent written_; // the overlapped write's event
#endif
};

} // namespace rovi
