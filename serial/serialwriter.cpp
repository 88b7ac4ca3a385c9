#include "serialwriter.h"

namespace rovi {

SerialWriter::~SerialWriter()
{
    Join();
}

void SerialWriter::Body()
{
    bool empty_notice = true;
    for (;;) {
        std::optional<ByteString> request = queue_.TryPop();
        if (!request) {
            if (empty_notice)
                notify_->PostSendQueueEmpty();
            empty_notice = false;
            if (!WaitForInput())
                break;
            continue;
        }
        if (close_event_->IsSignalled())
            break;
        if (!WriteRequest(*request))
            break;
        empty_notice = true;
    }
    queue_.Close();
    device_->PurgeOutput();
}

} // namespace rovi
