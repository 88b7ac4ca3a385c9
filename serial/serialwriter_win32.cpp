#include "serialwriter.h"

#include "base/winapi.h"

namespace rovi {

// Sleeps until a request or the close event; false on the close event or
// a failed wait (which is a hang-up).
bool SerialWriter::WaitForInput()
{
    HANDLE list[2] = {close_event_->Handle(), queue_.WakeHandle()};
    const DWORD r = WaitForMultipleObjects(2, list, FALSE, INFINITE);
    if (r == WAIT_OBJECT_0 + 1)
        return true;
    if (r != WAIT_OBJECT_0)
        notify_->PostHangup();
    return false;
}

// Writes all of one request with overlapped writes. A write the write
// time-outs cut short is continued with the bytes still missing, until all
// are out or the close event abandons the request.
bool SerialWriter::WriteRequest(const ByteString &request)
{
    const HANDLE device = device_->Handle();
    if (!written_.Valid()) {
        notify_->PostHangup();
        return false;
    }
    std::size_t offset = 0;
    while (offset < request.size()) {
        OVERLAPPED record{};
        record.hEvent = written_.Handle();
        const DWORD length = static_cast<DWORD>(request.size() - offset);
        DWORD count = 0;
        if (!WriteFile(device, request.data() + offset, length, &count, &record)) {
            const DWORD error = GetLastError();
            if (error == ERROR_INVALID_HANDLE)
                return false;
            if (error != ERROR_IO_PENDING) {
                notify_->PostHangup();
                return false;
            }
            HANDLE list[2] = {close_event_->Handle(), written_.Handle()};
            const DWORD r = WaitForMultipleObjects(2, list, FALSE, INFINITE);
            if (r != WAIT_OBJECT_0 + 1) {
                // Abandoned (the close event) or a wait that failed: the
                // record must outlive the write, so cancel it and let it
                // complete before leaving.
                (void)CancelIoEx(device, &record);
                (void)GetOverlappedResult(device, &record, &count, TRUE);
                if (r != WAIT_OBJECT_0)
                    notify_->PostHangup();
                return false;
            }
            if (!GetOverlappedResult(device, &record, &count, TRUE)) {
                if (GetLastError() != ERROR_INVALID_HANDLE)
                    notify_->PostHangup();
                return false;
            }
        }
        offset += count;
    }
    return true;
}

} // namespace rovi
