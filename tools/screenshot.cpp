// Takes a screenshot of the main window from the X display it runs on
// (scripts/screenshot runs it under Xvfb): screenshot OUT.png [main|about|query]
// "query" presses 查看参数 first, for a window connected to a reader.
#include "app/aboutdialog.h"
#include "app/mainwindow.h"
#include "panel/parampanel.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QByteArray mode = argc > 2 ? QByteArray(argv[2]) : QByteArray("main");
    const bool about = mode == "about";
    rovi::MainWindow window;
    window.show();
    rovi::AboutDialog box(&window);
    if (about)
        box.show();
    if (mode == "query")
        QTimer::singleShot(300, [&] { window.findChild<QPushButton *>("queryButton")->click(); });
    QTimer::singleShot(1000, [&] {
        QWidget *target = about ? static_cast<QWidget *>(&box) : &window;
        const QRect frame = target->frameGeometry();
        QScreen *screen = target->screen();
        const QPixmap shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        app.exit(shot.save(out) ? 0 : 1);
    });
    return app.exec();
}
