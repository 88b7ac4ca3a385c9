#include "demosession.h"

#include "settings/portsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace rovi {

QString DemoSession::FindReaderSim()
{
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString &candidate : {here.filePath(QStringLiteral("reader-sim")),
                                     here.filePath(QStringLiteral("../tools/reader-sim"))}) {
        const QFileInfo file(candidate);
        if (file.isFile() && file.isExecutable())
            return file.canonicalFilePath();
    }
    return QStandardPaths::findExecutable(QStringLiteral("reader-sim"));
}

std::unique_ptr<DemoSession> DemoSession::Start(QString *why)
{
    std::unique_ptr<DemoSession> demo(new DemoSession);
    const QString sim = FindReaderSim();
    if (sim.isEmpty()) {
        *why = QStringLiteral("reader-sim was not found beside rovi-tool or on PATH");
        return nullptr;
    }
    if (!demo->scratch_.isValid()) {
        *why = QStringLiteral("cannot make a scratch folder: ") + demo->scratch_.errorString();
        return nullptr;
    }
    // Four cards, one read every 0.7 s, each every 2.8 s; its traffic log in
    // the scratch folder.
    demo->reader_.setStandardErrorFile(demo->scratch_.filePath(QStringLiteral("reader-sim.log")));
    // --exit-on-eof: should this program end without stopping it, the
    // reader ends with it (its stdin is this program's pipe).
    demo->reader_.start(sim, {QStringLiteral("--tags"), QStringLiteral("4"), QStringLiteral("--cards"),
                              QStringLiteral("700"), QStringLiteral("--exit-on-eof")});
    if (!demo->reader_.waitForStarted(5000)) {
        *why = QStringLiteral("reader-sim did not start: ") + demo->reader_.errorString();
        return nullptr;
    }
    // Its first line is the terminal's path.
    while (!demo->reader_.canReadLine() && demo->reader_.waitForReadyRead(5000)) {
    }
    demo->port_ = QString::fromLocal8Bit(demo->reader_.readLine()).trimmed();
    if (demo->port_.isEmpty()) {
        *why = QStringLiteral("reader-sim gave no terminal");
        return nullptr;
    }
    demo->previous_folder_ = QDir::currentPath();
    if (!QDir::setCurrent(demo->scratch_.path())) {
        *why = QStringLiteral("cannot work in ") + demo->scratch_.path();
        return nullptr;
    }
    settings::PortSettings s;
    s.port = demo->port_.toStdString();
    try {
        settings::SavePortSettings(settings::kIniPath, s, true);
    } catch (const std::exception &e) {
        *why = QString::fromUtf8(e.what());
        return nullptr;
    }
    // The last of the four cards (reader-sim counts from 12345678) walks
    // away and comes back, so the card test shows one leaving.
    demo->walk_.setInterval(8000);
    DemoSession *session = demo.get();
    QObject::connect(&demo->walk_, &QTimer::timeout, [session] {
        session->away_ = !session->away_;
        session->reader_.write(session->away_ ? "leave 12345681\n" : "return 12345681\n");
        session->reader_.readAllStandardOutput(); // its "ok" lines
    });
    demo->walk_.start();
    return demo;
}

DemoSession::~DemoSession()
{
    if (reader_.state() != QProcess::NotRunning) {
        reader_.terminate();
        if (!reader_.waitForFinished(3000)) {
            reader_.kill();
            reader_.waitForFinished(3000);
        }
    }
    if (!previous_folder_.isEmpty())
        QDir::setCurrent(previous_folder_); // the scratch folder can go
}

} // namespace rovi
