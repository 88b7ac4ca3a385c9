#include "trafficfile.h"

#include "protocol/hexstr.h"

#include <ctime>

namespace rovi::panel {

namespace {

struct LocalTime {
    std::tm tm;
    int millis;
};

LocalTime Local(TrafficFile::Clock::time_point when)
{
    const auto since = when.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    const std::time_t t = static_cast<std::time_t>(seconds.count());
    LocalTime local{};
#ifdef _WIN32
    localtime_s(&local.tm, &t);
#else
    localtime_r(&t, &local.tm);
#endif
    local.millis = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(since - seconds).count());
    if (local.millis < 0)
        local.millis = 0;
    return local;
}

std::string Format(const char *format, const std::tm &tm)
{
    char text[64];
    const std::size_t n = std::strftime(text, sizeof text, format, &tm);
    return std::string(text, n);
}

std::string Millis(int millis)
{
    char text[8];
    std::snprintf(text, sizeof text, ".%03d", millis);
    return text;
}

} // namespace

std::string ClockTime(TrafficFile::Clock::time_point when)
{
    const LocalTime local = Local(when);
    return Format("%H:%M:%S", local.tm) + Millis(local.millis);
}

TrafficFile::TrafficFile(std::string folder) : folder_(std::move(folder)) {}

TrafficFile::~TrafficFile()
{
    Flush();
    if (file_)
        std::fclose(file_);
}

std::string TrafficFile::PathFor(Clock::time_point when) const
{
    return folder_ + "/rovi-" + Format("%Y-%m-%d", Local(when).tm) + ".log";
}

bool TrafficFile::StartLine(Clock::time_point when)
{
    const LocalTime local = Local(when);
    const std::string day = Format("%Y-%m-%d", local.tm);
    if (day != buffer_day_) {
        Flush(); // the lines of the day before go to that day's file
        buffer_day_ = day;
    }
    if (buffer_.size() > kMaxBuffered)
        return false; // the disk has refused for a long while: the view still has the lines
    buffer_ += day + " " + Format("%H:%M:%S", local.tm) + Millis(local.millis);
    return true;
}

void TrafficFile::EndLine()
{
    buffer_ += '\n';
    if (buffer_.size() >= kFlushAt)
        Flush();
}

void TrafficFile::Append(Clock::time_point when, bool sent, std::string_view bytes)
{
    if (!StartLine(when))
        return;
    buffer_ += sent ? "\tTX\t" : "\tRX\t";
    buffer_ += HexLine(bytes);
    buffer_ += '\t';
    buffer_ += TextLine(bytes);
    EndLine();
}

void TrafficFile::AppendNote(Clock::time_point when, std::string_view note)
{
    if (!StartLine(when))
        return;
    buffer_ += "\tERR\t\t";
    buffer_ += note;
    EndLine();
}

bool TrafficFile::Flush()
{
    if (buffer_.empty())
        return true;
    if (!file_ || file_day_ != buffer_day_) {
        if (file_)
            std::fclose(file_);
        file_day_ = buffer_day_;
        file_ = std::fopen((folder_ + "/rovi-" + file_day_ + ".log").c_str(), "ab");
        if (!file_)
            return false;
    }
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size() || std::fflush(file_) != 0) {
        // The file is left as the failed write left it; the next flush reopens it.
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    buffer_.clear();
    return true;
}

} // namespace rovi::panel
