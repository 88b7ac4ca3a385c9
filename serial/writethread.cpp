#include "writethread.h"

namespace rovi {

TWriteThread::~TWriteThread()
{
    Join();
}

void TWriteThread::Body()
{
    bool empty_notice = true;
    for (;;) {
        std::optional<ByteString> request = queue_.TryPop();
        if (!request) {
            if (empty_notice)
                notify_.Post(COMM_MSG_TX_EMPTY);
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
