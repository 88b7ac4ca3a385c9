#include "trafficfile.h"

#include "base/localtime.h"
#include "base/texts.h"

namespace rovi {

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
    return PathOfDay(LocalDay(when));
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
    const std::string day = LocalDay(when);
    if (Buffered() > kMaxBuffered) {
        ++lost_lines_; // the disk has refused for a long while: the view still has the lines
        return false;
    }
    if (pending_.empty() || pending_.back().day != day)
        pending_.push_back({day, {}});
    pending_.back().text += day + " " + LocalClock(when);
    return true;
}

void TrafficFile::EndLine()
{
    pending_.back().text += '\n';
    if (pending_.back().text.size() >= kFlushAt)
        Flush();
}

void TrafficFile::Append(const TrafficLine &line)
{
    if (!StartLine(line.when))
        return;
    std::string &text = pending_.back().text;
    switch (line.direction) {
    case TrafficDirection::Sent: (text += "\tTX\t") += line.hex; break;
    case TrafficDirection::Received: (text += "\tRX\t") += line.hex; break;
    case TrafficDirection::Note: text += "\tERR\t"; break;
    }
    text += '\t';
    text += line.text;
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
        Append(NoteLine(now_(), Filled(Translated("TrafficFile", "[记录文件曾无法写入，丢失 %1 行]"), {std::to_string(lost)})));
        return Flush();
    }
    last_error_.clear();
    // Closed until the next flush, which opens the day's file anew (and
    // looks again at what stands under its name).
    file_.reset();
    return true;
}

} // namespace rovi
