#include "serialreader.h"

#include "lineevents.h"

#include "base/winapi.h"

namespace rovi {

namespace {

// An overlapped record with its event: manual reset and initially
// signalled; a pending operation resets it and its completion sets it again.
struct OverlappedRecord {
    OVERLAPPED record{};
    bool pending = false;
    OverlappedRecord() { record.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr); }
    ~OverlappedRecord()
    {
        if (record.hEvent)
            CloseHandle(record.hEvent);
    }
    OverlappedRecord(const OverlappedRecord &) = delete;
    OverlappedRecord &operator=(const OverlappedRecord &) = delete;
};

} // namespace

struct SerialReader::ReadWait : OverlappedRecord {};

struct SerialReader::LineWait : OverlappedRecord {
    DWORD mask = 0;
    // Off when the driver cannot wait for line events (WaitCommEvent answers
    // ERROR_NOT_SUPPORTED, as Wine does on a pseudo-terminal): reading goes
    // on without them.
    bool supported = true;
};

SerialReader::SerialReader(std::shared_ptr<CommDevice> device, std::shared_ptr<CloseEvent> close_event,
                         NoticeTarget notify)
    : CommWorker(std::move(device), std::move(close_event), notify)
{
    static_assert(kLineEventMask == (EV_RLSD | EV_ERR | EV_RING));
}

SerialReader::~SerialReader()
{
    Join();
}

namespace {

// A purge (PurgeComm with PURGE_RXABORT) aborts the pending read, and so
// does a driver whose device was unplugged. The device still answering tells
// the first from the second.
bool AbortedByPurge(HANDLE device)
{
    DCB block{};
    block.DCBlength = sizeof block;
    return GetLastError() == ERROR_OPERATION_ABORTED && GetCommState(device, &block);
}

} // namespace

// A failure ends the reader; it is a hang-up unless the device is being
// closed under it (ERROR_INVALID_HANDLE).
void SerialReader::PostFailure()
{
    if (GetLastError() != ERROR_INVALID_HANDLE)
        notify_.PostHangup();
}

// Starts reads until one is left pending (true), handing over those that
// complete at once.
bool SerialReader::ArmRead(ReadWait &read)
{
    for (;;) {
        if (close_event_->IsSignalled())
            return false;
        DWORD count = 0;
        if (ReadFile(device_->Handle(), buffer_.data(), kReadBufferSize, &count, &read.record)) {
            HandOver(count);
            if (count == 0) // time-outs that let a read end empty: do not spin
                (void)WaitForSingleObject(close_event_->Handle(), 1);
            continue;
        }
        if (GetLastError() == ERROR_IO_PENDING) {
            read.pending = true;
            return true;
        }
        if (AbortedByPurge(device_->Handle()))
            continue; // read again
        PostFailure();
        return false;
    }
}

bool SerialReader::FinishRead(ReadWait &read)
{
    read.pending = false;
    DWORD count = 0;
    if (!GetOverlappedResult(device_->Handle(), &read.record, &count, FALSE)) {
        if (AbortedByPurge(device_->Handle()))
            return true; // not a hang-up: the next read takes what follows
        PostFailure();
        return false;
    }
    HandOver(count);
    return true;
}

// Leaves a line-event wait pending (true), serving events that are there
// at once; a driver without line events leaves none and reports true.
bool SerialReader::ArmLineWait(LineWait &line)
{
    for (;;) {
        if (close_event_->IsSignalled())
            return false;
        if (WaitCommEvent(device_->Handle(), &line.mask, &line.record)) {
            if (!HandleLineEvent(line, false))
                return false;
            continue;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING) {
            line.pending = true;
            return true;
        }
        if (error == ERROR_NOT_SUPPORTED) {
            line.supported = false;
            return true;
        }
        PostFailure();
        return false;
    }
}

bool SerialReader::HandleLineEvent(LineWait &line, bool overlapped)
{
    if (overlapped) {
        line.pending = false;
        DWORD unused = 0;
        if (!GetOverlappedResult(device_->Handle(), &line.record, &unused, FALSE)) {
            PostFailure();
            return false;
        }
    }
    const LineEventNotices notices = NoticesOfLineEvent(line.mask);
    if (notices.post_errors) {
        DWORD errors = 0;
        if (!ClearCommError(device_->Handle(), &errors, nullptr)) {
            PostFailure();
            return false;
        }
        notify_.PostLineError(errors);
    }
    if (notices.modem_bits != 0)
        notify_.PostModemChange(notices.modem_bits);
    if (notices.ends_reader) {
        notify_.PostHangup();
        return false;
    }
    return true;
}

void SerialReader::Body()
{
    const HANDLE device = device_->Handle();
    ReadWait read;
    LineWait line;
    if (!read.record.hEvent || !line.record.hEvent) {
        notify_.PostHangup();
    } else if (!SetCommMask(device, kLineEventMask)) {
        notify_.PostHangup();
    } else if (ArmLineWait(line) && ArmRead(read)) {
        for (;;) {
            HANDLE list[3];
            DWORD n = 0;
            list[n++] = close_event_->Handle();
            if (line.supported)
                list[n++] = line.record.hEvent;
            list[n++] = read.record.hEvent;
            const DWORD r = WaitForMultipleObjects(n, list, FALSE, INFINITE);
            if (r == WAIT_OBJECT_0)
                break;
            if (r > WAIT_OBJECT_0 && r < WAIT_OBJECT_0 + n) {
                const HANDLE which = list[r - WAIT_OBJECT_0];
                const bool ok = which == line.record.hEvent ? HandleLineEvent(line, true) && ArmLineWait(line)
                                                           : FinishRead(read) && ArmRead(read);
                if (ok)
                    continue;
                break;
            }
            notify_.PostHangup();
            break;
        }
    }
    // Abort what is pending and let it complete before its records go:
    // the purge ends the read, clearing the event mask ends the line wait.
    device_->PurgeInput();
    DWORD unused = 0;
    if (read.pending) {
        (void)CancelIoEx(device, &read.record);
        (void)GetOverlappedResult(device, &read.record, &unused, TRUE);
    }
    if (line.pending) {
        (void)SetCommMask(device, 0);
        (void)CancelIoEx(device, &line.record);
        (void)GetOverlappedResult(device, &line.record, &unused, TRUE);
    }
}

} // namespace rovi
