// Takes a screenshot of the main window from the X display it runs on
// (scripts/screenshot runs it under Xvfb): screenshot OUT.png [about]
#include "app/uabout.h"
#include "app/utool.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool about = argc > 2 && QByteArray(argv[2]) == "about";
    rovi::TFtool window;
    window.show();
    rovi::TFabout box(&window);
    if (about)
        box.show();
    QTimer::singleShot(800, [&] {
        QWidget *target = about ? static_cast<QWidget *>(&box) : &window;
        const QRect frame = target->frameGeometry();
        QScreen *screen = target->screen();
        const QPixmap shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        app.exit(shot.save(out) ? 0 : 1);
    });
    return app.exec();
}
