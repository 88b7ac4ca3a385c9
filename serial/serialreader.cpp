#include "serialreader.h"

namespace rovi {

void SerialReader::HandOver(const char *bytes, std::size_t count)
{
    if (count == 0)
        return; // an empty read posts nothing; the next read starts at once
    notify_->PostChunk(QByteArray(bytes, static_cast<qsizetype>(count)));
    // A window that cannot keep up holds the reader here, and the rest of
    // the stream waits in the driver.
    notify_->Backlog().WaitBelowLimit([this] { return close_event_->IsSignalled(); });
}

} // namespace rovi
