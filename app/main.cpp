#include "protocol/hexstr.h"
#include "protocol/frame.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const rovi::Frame query = rovi::ComposeQuery();
    QLabel label(QString::fromStdString(
        rovi::HexLine(std::string_view(reinterpret_cast<const char *>(query.data()), query.size()))));
    label.setWindowTitle(QStringLiteral("ROVI-2.4Didodezi"));
    label.show();
    return app.exec();
}
