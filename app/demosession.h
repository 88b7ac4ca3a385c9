#pragma once

// rovi-tool --demo: the window connected to a simulated reader. The reader
// (reader-sim, installed beside rovi-tool) runs on a pseudo-terminal with
// four cards in front of it, read in turn, one of which is walked away and
// brought back every few seconds; the tool works in a scratch folder
// whose set.ini names that terminal with auto-connect on, so the window
// opens it at start-up. Closing the window stops the reader and removes
// the folder.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace rovi {

class DemoSession {
public:
    // Starts the simulated reader, makes the scratch folder the working
    // directory and writes its set.ini. Nothing (and `why`) when it cannot.
    static std::unique_ptr<DemoSession> Start(QString *why);
    ~DemoSession(); // stops the reader

    const QString &PortPath() const { return port_; }

    // Where reader-sim is: beside this program, in the build tree's tools/
    // folder, or on PATH; empty when nowhere.
    static QString FindReaderSim();

private:
    DemoSession() = default;

    QTemporaryDir scratch_;
    QProcess reader_;
    QString port_;
    QString previous_folder_;
    QTimer walk_;       // the fourth card away and back
    bool away_ = false;
};

} // namespace rovi
