#include "trafficfile.h"

#include "base/texts.h"
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

TrafficFile::TrafficFile(std::string folder, Writer writer, Now now)
    : folder_(std::move(folder)), writer_(std::move(writer)), now_(std::move(now))
{
    if (!writer_)
        writer_ = [](AppendFile &file, std::string_view bytes) { return file.Write(bytes); };
    if (!now_)
        now_ = [] { return Clock::now(); };
}

TrafficFile::~TrafficFile()
{
    Flush();
}

std::string TrafficFile::PathOfDay(const std::string &day) const
{
    return folder_ + "/rovi-" + day + ".log";
}

std::string TrafficFile::PathFor(Clock::time_point when) const
{
    return PathOfDay(Format("%Y-%m-%d", Local(when).tm));
}

std::size_t TrafficFile::Buffered() const
{
    std::size_t n = 0;
    for (const Segment &s : pending_)
        n += s.text.size();
    return n;
}

bool TrafficFile::StartLine(Clock::time_point when)
{
    const LocalTime local = Local(when);
    const std::string day = Format("%Y-%m-%d", local.tm);
    if (Buffered() > kMaxBuffered) {
        ++lost_lines_; // the disk has refused for a long while: the view still has the lines
        return false;
    }
    if (pending_.empty() || pending_.back().day != day)
        pending_.push_back({day, {}});
    pending_.back().text += day + " " + Format("%H:%M:%S", local.tm) + Millis(local.millis);
    return true;
}

void TrafficFile::EndLine()
{
    pending_.back().text += '\n';
    if (pending_.back().text.size() >= kFlushAt)
        Flush();
}

void TrafficFile::Append(Clock::time_point when, bool sent, std::string_view bytes)
{
    if (!StartLine(when))
        return;
    std::string &text = pending_.back().text;
    text += sent ? "\tTX\t" : "\tRX\t";
    text += HexLine(bytes);
    text += '\t';
    text += TextLine(bytes);
    EndLine();
}

void TrafficFile::AppendNote(Clock::time_point when, std::string_view note)
{
    if (!StartLine(when))
        return;
    std::string &text = pending_.back().text;
    text += "\tERR\t\t";
    text += note;
    EndLine();
}

// Writes a day's lines to that day's file; on a partial write, what was
// written leaves `text` and the rest waits for the next flush.
bool TrafficFile::WriteSegment(const std::string &day, std::string &text)
{
    if (!file_ || file_day_ != day) {
        file_.reset();
        file_ = AppendFile::Open(PathOfDay(day), &last_error_);
        if (!file_)
            return false;
        file_day_ = day;
    }
    std::size_t done = 0;
    while (done < text.size()) {
        const std::ptrdiff_t n = writer_(*file_, std::string_view(text).substr(done));
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    text.erase(0, done);
    if (!text.empty()) {
        last_error_ = Filled(Translated("TrafficFile", "%1 写入失败(磁盘已满?)"), {PathOfDay(day)});
        file_.reset(); // reopened at the next flush
        return false;
    }
    return true;
}

bool TrafficFile::Flush()
{
    while (!pending_.empty()) {
        Segment &front = pending_.front();
        if (!WriteSegment(front.day, front.text))
            return false;
        pending_.pop_front();
    }
    if (lost_lines_ > 0) {
        // Said once the file takes lines again, in the file of the day it is said.
        const std::size_t lost = lost_lines_;
        lost_lines_ = 0;
        AppendNote(now_(), Filled(Translated("TrafficFile", "[记录文件曾无法写入，丢失 %1 行]"), {std::to_string(lost)}));
        return Flush();
    }
    last_error_.clear();
    // Closed until the next flush, which opens the day's file anew (and
    // looks again at what stands under its name).
    file_.reset();
    return true;
}

} // namespace rovi::panel
