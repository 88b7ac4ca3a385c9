// Takes a screenshot of the main window from the X display it runs on
// (scripts/screenshot runs it under Xvfb):
//   screenshot OUT.png [main|about|query|search PORT...|batch PORT PROFILE]
// "query" presses 查看参数 first, for a window connected to a reader;
// "cards" shows the card test page after six seconds of a reader's cards;
// "search" shows 搜索读卡器… searching the given ports, after the search;
// "batch" shows 批量设置… after three readers on PORT (a port that stays:
// 下一台 announces each next one), with the fields of PROFILE.
// The window's language is chosen as the program chooses it (set.ini, else
// the locale: LANG=en_US.UTF-8 for English).
#include "app/aboutdialog.h"
#include "app/batchsetupdialog.h"
#include "app/mainwindow.h"
#include "app/readersearchdialog.h"
#include "app/startlanguage.h"
#include "panel/parampanel.h"
#include "ui/translation.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <memory>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QByteArray mode = argc > 2 ? QByteArray(argv[2]) : QByteArray("main");
    const bool about = mode == "about";
    rovi::UseLanguage(rovi::StartLanguage());
    rovi::MainWindow window;
    window.show();
    rovi::AboutDialog box(&window);
    if (about)
        box.show();
    std::unique_ptr<rovi::ReaderSearchDialog> search;
    int shot_after_ms = 1000;
    if (mode == "search") {
        std::vector<rovi::PortEntry> ports;
        for (int i = 3; i < argc; ++i)
            ports.push_back({argv[i], {}, "USB Serial · FTDI", {}, {}, {}});
        rovi::ReaderSearchDialog::SetPortLister([ports] { return ports; });
        search = std::make_unique<rovi::ReaderSearchDialog>(&window, QString(), 9600);
        search->show();
        search->StartSearch();
        shot_after_ms = 3000;
    }
    rovi::BatchSetupDialog *batch = nullptr;
    if (mode == "batch" && argc > 4) {
        rovi::settings::PortSettings port = window.CurrentPortSettings();
        port.port = argv[3];
        window.SetPortSettings(port);
        window.ShowBatchSetup();
        batch = window.BatchSetup();
        batch->move(window.frameGeometry().topLeft() + QPoint(80, 60));
        batch->findChild<QComboBox *>("profileSource")->setCurrentIndex(1);
        batch->findChild<QLineEdit *>("profilePath")->setText(QString::fromLocal8Bit(argv[4]));
        batch->findChild<QSpinBox *>("firstId")->setValue(17);
        batch->findChild<QSpinBox *>("readerCount")->setValue(5);
        batch->findChild<QLineEdit *>("recordPath")->setText("rovi-batch.csv");
        QTimer::singleShot(300, [batch] { batch->Start(); });
        QTimer::singleShot(1300, [batch] { batch->Next(); });
        QTimer::singleShot(2300, [batch] { batch->Next(); });
        shot_after_ms = 3300;
    }
    if (mode == "cards") {
        window.ShowCardTest();
        shot_after_ms = 6000;
    }
    if (mode == "query")
        QTimer::singleShot(300, [&] { window.findChild<QPushButton *>("queryButton")->click(); });
    QTimer::singleShot(shot_after_ms, [&] {
        QWidget *target = about    ? static_cast<QWidget *>(&box)
                          : search ? static_cast<QWidget *>(search.get())
                          : batch  ? static_cast<QWidget *>(batch)
                                   : &window;
        const QRect frame = target->frameGeometry();
        QScreen *screen = target->screen();
        const QPixmap shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        app.exit(shot.save(out) ? 0 : 1);
    });
    return app.exec();
}
