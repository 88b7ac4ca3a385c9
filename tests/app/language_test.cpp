#include "app/aboutdialog.h"
#include "app/batchsetupdialog.h"
#include "app/mainwindow.h"
#include "app/readersearchdialog.h"
#include "panel/logview.h"
#include "settings/portdialog.h"
#include "tests/support/showntexts.h"

#include <QFile>
#include <QMenu>

#include <gtest/gtest.h>

using namespace rovi;

namespace {

// The texts of the window, of each of its dialogs and of the logs' context
// menu, as a user can meet them.
QStringList EveryShownText()
{
    MainWindow window;
    QStringList lines = test::ShownTexts(&window);
    settings::PortSettings port_settings;
    settings::PortDialog ports(&window, port_settings, [] {});
    lines << test::ShownTexts(&ports);
    AboutDialog about(&window);
    lines << test::ShownTexts(&about);
    ReaderSearchDialog search(&window, QString(), 19200);
    lines << test::ShownTexts(&search);
    lines << test::ShownTexts(new BatchSetupDialog(window)); // the window owns it
    QMenu menu;
    window.findChild<panel::LogView *>(QStringLiteral("hexLog"))->FillContextMenu(menu);
    lines << test::ShownTexts(&menu);
    // The record file's default name holds today's date and the folder.
    lines.removeIf([](const QString &line) { return line.contains(QLatin1String("recordPath text: ")); });
    return lines;
}

} // namespace

// The Chinese window as it has always been: every text of every dialog, and
// where each control stands. ROVI_WRITE_SHOWN_TEXTS=FILE writes the list
// instead, for a deliberate change.
TEST(ChineseWindow, ShowsTheTextsItAlwaysShowed)
{
    const QStringList lines = EveryShownText();
    const QString text = lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (const QByteArray out = qgetenv("ROVI_WRITE_SHOWN_TEXTS"); !out.isEmpty()) {
        QFile file(QString::fromLocal8Bit(out));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        return;
    }
    QFile file(QStringLiteral(CHINESE_TEXTS_PATH));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList expected = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), expected.size());
    for (qsizetype i = 0; i < std::min(lines.size(), expected.size()); ++i)
        ASSERT_EQ(lines[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
}
