#pragma once

namespace rovi {

// A Linux eventfd: readable (for poll) from Signal() until Clear().
class EventFd {
public:
    EventFd();
    ~EventFd();
    EventFd(const EventFd &) = delete;
    EventFd &operator=(const EventFd &) = delete;

    bool Valid() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    void Signal();
    void Clear();
    bool IsSignalled() const;

private:
    int fd_;
};

} // namespace rovi
