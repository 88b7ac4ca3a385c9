#pragma once

// Overlapped operations the serial reader leaves pending, and what becomes
// of one that a driver never ends: it is kept alive, never freed, with the
// memory the driver may still write into (a read's buffer is its record's
// own), rather than released under a late completion.

#include "serialconstants.h"

#include "base/winapi.h"

#include <array>
#include <memory>

namespace rovi {

// An overlapped record with its event: manual reset and initially
// signalled; a pending operation resets it and its completion sets it again.
struct OverlappedRecord {
    OVERLAPPED record{};
    bool pending = false;
    OverlappedRecord() { record.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr); }
    virtual ~OverlappedRecord()
    {
        if (record.hEvent)
            CloseHandle(record.hEvent);
    }
    OverlappedRecord(const OverlappedRecord &) = delete;
    OverlappedRecord &operator=(const OverlappedRecord &) = delete;
};

// A read and the buffer it reads into, one object.
struct ReadRecord : OverlappedRecord {
    std::array<char, kReadBufferSize> buffer{};
};

// Cancels the record's pending operation on `device` and waits for it to
// end, at most `wait_ms`; one that does not end is kept for the rest of the
// program. True when it ended (the record is the caller's again).
bool CancelOrKeep(HANDLE device, std::unique_ptr<OverlappedRecord> &record, DWORD wait_ms = 2000);

} // namespace rovi
