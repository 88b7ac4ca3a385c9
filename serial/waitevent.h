#pragma once

#include "nativehandle.h"

namespace rovi {

// A manual-reset event the workers wait on: signalled from Signal() until
// Clear(). An eventfd (readable for poll) on Linux, an event object on
// Windows.
class WaitEvent {
public:
    WaitEvent();
    ~WaitEvent();
    WaitEvent(const WaitEvent &) = delete;
    WaitEvent &operator=(const WaitEvent &) = delete;

    bool Valid() const { return handle_ != kNoHandle; }
    NativeHandle Handle() const { return handle_; }
    void Signal();
    void Clear();
    bool IsSignalled() const;

private:
    NativeHandle handle_;
};

} // namespace rovi
