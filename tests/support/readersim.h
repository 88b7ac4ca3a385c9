#pragma once

// The simulated reader as its own process on a new pseudo-terminal: the
// path it prints first, and its stdin for fault commands.

#include "tests/support/qtwait.h"

#include <QProcess>
#include <QStringList>

#include <string>

namespace rovi::test {

class ReaderSim {
public:
    explicit ReaderSim(const QStringList &args = {})
    {
        process_.start(QStringLiteral(READER_SIM_PATH), args);
        process_.waitForStarted();
        WaitUntil([&] { return process_.canReadLine(); });
        path_ = QString::fromUtf8(process_.readLine()).trimmed().toStdString();
    }
    ~ReaderSim()
    {
        process_.closeWriteChannel();
        process_.terminate();
        process_.waitForFinished(3000);
    }
    ReaderSim(const ReaderSim &) = delete;
    ReaderSim &operator=(const ReaderSim &) = delete;

    const std::string &Path() const { return path_; }
    void Command(const char *line)
    {
        process_.write(line);
        process_.waitForBytesWritten();
    }

private:
    QProcess process_;
    std::string path_;
};

} // namespace rovi::test
