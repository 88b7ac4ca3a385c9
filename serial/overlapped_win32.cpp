#include "overlapped_win32.h"

#include <mutex>
#include <vector>

namespace rovi {

bool CancelOrKeep(HANDLE device, std::unique_ptr<OverlappedRecord> &record, DWORD wait_ms)
{
    if (!record->pending)
        return true;
    (void)CancelIoEx(device, &record->record);
    if (WaitForSingleObject(record->record.hEvent, wait_ms) == WAIT_OBJECT_0) {
        DWORD unused = 0;
        (void)GetOverlappedResult(device, &record->record, &unused, FALSE);
        record->pending = false;
        return true;
    }
    static std::mutex mutex;
    static std::vector<std::unique_ptr<OverlappedRecord>> kept;
    std::lock_guard lock(mutex);
    kept.push_back(std::move(record));
    return false;
}

} // namespace rovi
