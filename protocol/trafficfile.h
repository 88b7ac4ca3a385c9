#pragma once

// The traffic log on disk: every chunk sent and received, one line each,
// appended to a file per day in a folder (rovi-YYYY-MM-DD.log):
//
//   2026-12-10 14:03:07.412<TAB>RX<TAB>FE F1 00 FF<TAB>1234
//
// local time with milliseconds, direction (TX or RX), the bytes in spaced
// hex, and the chunk's hex-digit text (the text log's line). Lines are
// buffered and written by Flush, which the owner calls at least once a
// second; a large buffer is written at once. Each line goes to its own
// day's file, exactly once: what a failed or partial write left is written
// from where it stopped at the next flush. The file must be a regular file
// (see base/appendfile.h): a FIFO, device or link of that name is refused.

#include "trafficline.h"

#include "base/appendfile.h"

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace rovi {

class TrafficFile {
public:
    using Clock = std::chrono::system_clock;

    // How the bytes reach the file: the system's write, or a test's.
    using Writer = std::function<std::ptrdiff_t(AppendFile &file, std::string_view bytes)>;
    // What time it is, for the lines the file writes of its own accord (the
    // note of lost lines): the system clock, or a test's.
    using Now = std::function<Clock::time_point()>;

    explicit TrafficFile(std::string folder, Writer writer = {}, Now now = {});
    ~TrafficFile(); // flushes
    TrafficFile(const TrafficFile &) = delete;
    TrafficFile &operator=(const TrafficFile &) = delete;

    // A chunk's line as TX or RX; a note about the line (a line error) as
    // "ERR" with no bytes:
    //   2026-12-10 14:03:07.412<TAB>ERR<TAB><TAB>[线路错误: 帧错误]
    void Append(const TrafficLine &line);
    // Writes what is buffered; false when the file cannot be written (the
    // lines stay buffered, up to a bound, for the next try; LastError says
    // why). Lines that came while the buffer was full are lost, and the
    // file says how many once it can be written again.
    bool Flush();
    const std::string &LastError() const { return last_error_; }
    // The file the lines of `when` go to.
    std::string PathFor(Clock::time_point when) const;

    static constexpr std::size_t kFlushAt = 64 * 1024;
    static constexpr std::size_t kMaxBuffered = 16 * 1024 * 1024;

private:
    // Starts a line of `when` in the buffer (its day's), or false when the
    // buffer is full.
    bool StartLine(Clock::time_point when);
    void EndLine();

    bool WriteSegment(const std::string &day, std::string &text);
    std::string PathOfDay(const std::string &day) const;
    std::size_t Buffered() const;

    // The lines not yet written, by day, oldest first.
    struct Segment {
        std::string day;
        std::string text;
    };
    std::string folder_;
    Writer writer_;
    Now now_;
    std::deque<Segment> pending_;
    std::optional<AppendFile> file_;
    std::string file_day_;
    std::string last_error_;
    std::size_t lost_lines_ = 0;
};

} // namespace rovi
