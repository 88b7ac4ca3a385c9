#include "utool.h"

#include "ui/messages.h"

#include <QApplication>

namespace {

// The backstop of the default error report: every handler already runs
// through RunHandler, so nothing should arrive here.
class ToolApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &e) {
            rovi::ReportError(activeWindow(), e);
        } catch (...) {
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    ToolApplication app(argc, argv);
    QApplication::setApplicationName(rovi::kAppTitle);

    rovi::InstallChineseQtTranslation();

    rovi::TFtool window;
    window.show();
    return app.exec();
}
