#include "serialreader.h"

#include "abortrun.h"
#include "lineevents.h"

#include "overlapped_win32.h"

#include "base/winapi.h"

#include <memory>

namespace rovi {

// The read's buffer is the record's own (ReadRecord): a read a driver never
// ends keeps both alive (CancelOrKeep).
struct SerialReader::ReadWait : ReadRecord {
    AbortRun aborts;
};

struct SerialReader::LineWait : OverlappedRecord {
    DWORD mask = 0;
    // Off when the driver refuses to wait for line events (SetCommMask or
    // WaitCommEvent fails; Wine answers ERROR_NOT_SUPPORTED on a
    // pseudo-terminal): reading goes on without them.
    bool supported = true;
};

SerialReader::SerialReader(std::shared_ptr<SerialDevice> device, std::shared_ptr<CloseEvent> close_event,
                         NoticeTarget notify)
    : SerialWorker(std::move(device), std::move(close_event), notify)
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

// An aborted read: read again after a short pause on the close event,
// unless the aborts have become a run (then a hang-up). False ends the reader.
bool SerialReader::ReadAgainAfterAbort(ReadWait &read)
{
    if (read.aborts.IsHangup(AbortRun::Clock::now())) {
        notify_->PostHangup();
        return false;
    }
    const auto pause = static_cast<DWORD>(AbortRun::kPause.count());
    return WaitForSingleObject(close_event_->Handle(), pause) == WAIT_TIMEOUT;
}

// A failure ends the reader; it is a hang-up unless the device is being
// closed under it (ERROR_INVALID_HANDLE).
void SerialReader::PostFailure()
{
    if (GetLastError() != ERROR_INVALID_HANDLE)
        notify_->PostHangup();
}

// Starts reads until one is left pending (true), handing over those that
// complete at once.
bool SerialReader::ArmRead(ReadWait &read)
{
    for (;;) {
        if (close_event_->IsSignalled())
            return false;
        DWORD count = 0;
        if (ReadFile(device_->Handle(), read.buffer.data(), kReadBufferSize, &count, &read.record)) {
            read.aborts.Reset();
            HandOver(read.buffer.data(), count);
            if (count == 0) // time-outs that let a read end empty: do not spin
                (void)WaitForSingleObject(close_event_->Handle(), 1);
            continue;
        }
        if (GetLastError() == ERROR_IO_PENDING) {
            read.pending = true;
            return true;
        }
        if (AbortedByPurge(device_->Handle())) {
            if (!ReadAgainAfterAbort(read))
                return false;
            continue;
        }
        PostFailure();
        return false;
    }
}

// The pending read's result. A read not yet complete (a spurious wake) stays
// pending, its record untouched.
bool SerialReader::FinishRead(ReadWait &read)
{
    DWORD count = 0;
    if (!GetOverlappedResult(device_->Handle(), &read.record, &count, FALSE)) {
        if (GetLastError() == ERROR_IO_INCOMPLETE)
            return true;
        read.pending = false;
        if (AbortedByPurge(device_->Handle()))
            return ReadAgainAfterAbort(read); // the next read takes what follows
        PostFailure();
        return false;
    }
    read.pending = false;
    read.aborts.Reset();
    HandOver(read.buffer.data(), count);
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
        if (GetLastError() == ERROR_IO_PENDING) {
            line.pending = true;
            return true;
        }
        // Refused (ERROR_NOT_SUPPORTED on Wine's pseudo-terminals, other
        // words from other drivers): the reader goes on without line events;
        // a device that is really gone fails the read as well.
        line.supported = false;
        return true;
    }
}

bool SerialReader::HandleLineEvent(LineWait &line, bool overlapped)
{
    if (overlapped) {
        DWORD unused = 0;
        if (!GetOverlappedResult(device_->Handle(), &line.record, &unused, FALSE)) {
            if (GetLastError() == ERROR_IO_INCOMPLETE)
                return true; // a spurious wake: still pending
            line.pending = false;
            line.supported = false; // the wait failed: read on without line events
            return true;
        }
        line.pending = false;
    }
    const LineEventNotices notices = NoticesOfLineEvent(line.mask);
    if (notices.post_errors) {
        DWORD errors = 0;
        if (!ClearCommError(device_->Handle(), &errors, nullptr)) {
            PostFailure();
            return false;
        }
        notify_->PostLineError(errors);
    }
    if (notices.modem_bits != 0)
        notify_->PostModemChange(notices.modem_bits);
    if (notices.ends_reader) {
        notify_->PostHangup();
        return false;
    }
    return true;
}

void SerialReader::Body()
{
    const HANDLE device = device_->Handle();
    auto read = std::make_unique<ReadWait>();
    auto line = std::make_unique<LineWait>();
    if (!read->record.hEvent || !line->record.hEvent) {
        notify_->PostHangup();
    } else {
        if (!SetCommMask(device, kLineEventMask))
            line->supported = false; // no line events from this driver
        if ((!line->supported || ArmLineWait(*line)) && ArmRead(*read)) {
            for (;;) {
                HANDLE list[3];
                DWORD n = 0;
                list[n++] = close_event_->Handle();
                if (line->supported && line->pending)
                    list[n++] = line->record.hEvent;
                list[n++] = read->record.hEvent;
                const DWORD r = WaitForMultipleObjects(n, list, FALSE, INFINITE);
                if (r == WAIT_OBJECT_0)
                    break;
                if (r > WAIT_OBJECT_0 && r < WAIT_OBJECT_0 + n) {
                    const HANDLE which = list[r - WAIT_OBJECT_0];
                    const bool ok =
                        which == line->record.hEvent
                            ? HandleLineEvent(*line, true) && (line->pending || !line->supported || ArmLineWait(*line))
                            : FinishRead(*read) && (read->pending || ArmRead(*read));
                    if (ok)
                        continue;
                    break;
                }
                notify_->PostHangup();
                break;
            }
        }
    }
    // Abort what is pending and let it complete before its records go: the
    // purge ends the read, clearing the event mask ends the line wait. A
    // driver that ends neither within two seconds keeps its records.
    device_->PurgeInput();
    std::unique_ptr<OverlappedRecord> read_record = std::move(read);
    (void)CancelOrKeep(device, read_record);
    if (line->pending)
        (void)SetCommMask(device, 0);
    std::unique_ptr<OverlappedRecord> line_record = std::move(line);
    (void)CancelOrKeep(device, line_record);
}

} // namespace rovi
