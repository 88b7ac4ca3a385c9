#pragma once

// The simulated reader as its own process on a new pseudo-terminal: the
// path it prints first, and its stdin for fault commands, each of which it
// acknowledges on stdout once it has taken effect.

#include "tests/support/qtwait.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

namespace rovi::test {

class ReaderSim {
public:
    explicit ReaderSim(const QStringList &args = {})
    {
        process_.start(QStringLiteral(READER_SIM_PATH), args);
        if (!process_.waitForStarted(5000)) {
            ADD_FAILURE() << "reader-sim did not start: " << process_.errorString().toStdString();
            return;
        }
        if (!WaitUntil([&] { return process_.canReadLine() || process_.state() == QProcess::NotRunning; }, 5000) ||
            !process_.canReadLine()) {
            ADD_FAILURE() << "reader-sim gave no terminal: " << process_.readAllStandardError().toStdString();
            return;
        }
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

    // What the simulator has logged so far (frames in and out, with times),
    // for a failure message.
    std::string Log()
    {
        Pump(200); // what it wrote reaches the process's buffer through the event loop
        return process_.readAllStandardError().toStdString();
    }

    // Sends one command line and waits until the simulator says it has
    // taken effect ("ok COMMAND").
    void Command(const char *line)
    {
        process_.write(line);
        process_.waitForBytesWritten();
        const QByteArray expected = "ok " + QByteArray(line).trimmed();
        const bool acknowledged = WaitUntil(
            [&] {
                while (process_.canReadLine())
                    if (process_.readLine().trimmed() == expected)
                        return true;
                return false;
            },
            5000);
        EXPECT_TRUE(acknowledged) << "reader-sim did not acknowledge " << expected.toStdString();
    }

private:
    QProcess process_;
    std::string path_;
};

} // namespace rovi::test
