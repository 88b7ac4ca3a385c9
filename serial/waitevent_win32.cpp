#include "waitevent.h"

#include "base/winapi.h"

namespace rovi {

// Unnamed, manual reset, initially not signalled.
WaitEvent::WaitEvent() : handle_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

WaitEvent::~WaitEvent()
{
    if (handle_)
        CloseHandle(handle_);
}

void WaitEvent::Signal()
{
    SetEvent(handle_);
}

void WaitEvent::Clear()
{
    ResetEvent(handle_);
}

bool WaitEvent::IsSignalled() const
{
    return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0;
}

} // namespace rovi
