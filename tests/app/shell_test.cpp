#include "ui/messages.h"
#include "tests/support/window.h"
#include "ui/translation.h"
#include "tests/support/controls.h"
#include "app/aboutdialog.h"
#include "app/mainwindow.h"
#include "panel/logview.h"
#include "panel/parampanel.h"
#include "base/exception.h"
#include "tests/support/messagerecorder.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

using namespace rovi;

TEST(ErrorReport, AddsAPeriodOnlyAfterACharacterSortingAfterIt)
{
    EXPECT_EQ(ErrorReportText("'' is not a valid integer value"), "'' is not a valid integer value.");
    EXPECT_EQ(ErrorReportText("Unable to write to .\\set.ini"), "Unable to write to .\\set.ini.");
    EXPECT_EQ(ErrorReportText("done."), "done.");
    EXPECT_EQ(ErrorReportText("a-"), "a-"); // '-' sorts before '.'
    EXPECT_EQ(ErrorReportText("无法创建事件"), "无法创建事件.");
    EXPECT_EQ(ErrorReportText(""), "");
}

TEST(RunHandler, ShowsTheErrorAndKeepsWhatWasDone)
{
    test::MessageRecorder recorder;
    int done = 0;
    RunHandler(nullptr, [&] {
        ++done;
        throw ConversionError("'G1' is not a valid integer value");
        ++done;
    });
    EXPECT_EQ(done, 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "'G1' is not a valid integer value.");
    EXPECT_EQ(recorder.messages[0].title, "ROVI-2.4Didodezi");
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Error);
}

TEST(MainWindow, FixedClientAreaMenuTabAndStatusBar)
{
    MainWindow window;
    EXPECT_EQ(window.windowTitle(), "ROVI-2.4Didodezi");
    EXPECT_EQ(window.centralWidget()->size(), QSize(792, 546));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    QStringList menus;
    for (QAction *a : window.menuBar()->actions())
        menus << a->text();
    // The original two menus, and the record, profile and language menus between them.
    EXPECT_EQ(menus, (QStringList{"通讯设置", "记录", "参数", "语言 / Language", "帮助"}));
    EXPECT_EQ(test::MenuAction(window, "portSettingsAction")->text(), "COM设置");
    EXPECT_EQ(test::MenuAction(window, "openPortAction")->text(), "打开COM口");
    EXPECT_EQ(test::MenuAction(window, "closePortAction")->text(), "关闭COM口");
    EXPECT_EQ(test::MenuAction(window, "aboutAction")->text(), "关于");
    EXPECT_EQ(test::MenuAction(window, "reconnectAction")->text(), "断线自动重连");
    EXPECT_TRUE(test::MenuAction(window, "reconnectAction")->isChecked());
    EXPECT_EQ(test::MenuAction(window, "saveLogAction")->text(), "保存记录…");
    EXPECT_FALSE(test::MenuAction(window, "logFileAction")->isChecked());
    EXPECT_FALSE(test::MenuAction(window, "timestampsAction")->isChecked());
    auto *pages = window.findChild<QTabWidget *>("pages");
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 2); // F1, and the card test beside it
    EXPECT_EQ(pages->tabText(0), "F1");
    EXPECT_EQ(pages->currentIndex(), 0);
    auto *status = window.findChild<QStatusBar *>("statusBar");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(window.findChild<QLabel *>("statusPanel0")->width(), 500);
    EXPECT_EQ(window.findChild<QLabel *>("statusPanel1")->width(), 50);
    window.SetStatusText("串口:COM1");
    // The text goes to the first panel; the second stays empty.
    EXPECT_EQ(window.findChild<QLabel *>("statusPanel0")->text(), "串口:COM1");
    EXPECT_TRUE(window.findChild<QLabel *>("statusPanel1")->text().isEmpty());
    for (QWidget *w : window.findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w) ||
                             qobject_cast<QComboBox *>(w) || dynamic_cast<panel::LogView *>(w);
        if (control && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
            ASSERT_NE(a, nullptr);
            EXPECT_FALSE(a->text(QAccessible::Name).isEmpty() && a->text(QAccessible::Description).isEmpty())
                << w->objectName().toStdString();
        }
    }
}

// What a screen reader (or UI automation) reads: the status text itself,
// each list's current value, and what each box is.
TEST(MainWindow, AScreenReaderHearsTheStatusTheListsValuesAndTheBoxesNames)
{
    MainWindow window;
    auto text = [](QWidget *w, QAccessible::Text t) { return QAccessible::queryAccessibleInterface(w)->text(t); };
    auto *status = window.findChild<QLabel *>("statusPanel0");
    window.SetStatusText("串口:COM1 波特率:9600 无校验 数据位：8 停止位：1");
    EXPECT_EQ(text(status, QAccessible::Name), "串口:COM1 波特率:9600 无校验 数据位：8 停止位：1");
    EXPECT_EQ(text(status, QAccessible::Description), "串口状态");


    test::PanelControls c{&window};
    c.wiegandOutput->setChecked(true);
    c.wiegandFormat->setCurrentIndex(1);
    c.softwarePower->setChecked(true);
    c.powerLevel->setCurrentIndex(4);
    c.baudRate->setCurrentIndex(7);
    const std::pair<QComboBox *, QString> lists[] = {
        {c.wiegandFormat, "韦根34"}, {c.powerLevel, "5"}, {c.baudRate, "115200"}};
    for (const auto &[list, value] : lists) {
        EXPECT_EQ(text(list, QAccessible::Value), value) << list->objectName().toStdString();
#ifdef _WIN32
        // UI Automation reads a list's name and value apart: the name is its label.
        EXPECT_FALSE(text(list, QAccessible::Name).trimmed().isEmpty()) << list->objectName().toStdString();
#else
        // Qt on Linux names a list by its value, as screen readers there expect.
        EXPECT_EQ(text(list, QAccessible::Name), value) << list->objectName().toStdString();
#endif
        EXPECT_FALSE(text(list, QAccessible::Description).isEmpty());
    }
    EXPECT_EQ(text(c.wiegandFormat, QAccessible::Description), "韦根格式 格式");

    EXPECT_EQ(text(c.idAddress, QAccessible::Name), "ID地址 数值");
    EXPECT_EQ(text(c.idAddress, QAccessible::Value), "1");
    EXPECT_EQ(text(c.Mirror(Field::wiegand), QAccessible::Name), "韦根格式 十六进制");
}

TEST(AboutBox, CaptionSizeAndVersion)
{
    AboutDialog about(nullptr);
    EXPECT_EQ(about.windowTitle(), "关于");
    EXPECT_EQ(about.size(), QSize(420, 276));
    EXPECT_EQ(about.findChild<QLabel *>("versionLabel")->text(), QStringLiteral("版本号：V") + ROVI_VERSION);
}

// 关于 opens the about box as a modal dialog of the window.
TEST(AboutBox, TheMenuItemOpensItModalOverTheWindow)
{
    MainWindow window;
    window.show();
    QString title;
    bool modal = false;
    QWidget *parent = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        title = box->windowTitle();
        modal = box->isModal();
        parent = box->parentWidget();
        box->close();
    });
    test::MenuAction(window, "aboutAction")->trigger(); // returns when the box has closed
    EXPECT_EQ(title, "关于");
    EXPECT_TRUE(modal);
    EXPECT_EQ(parent, &window);
}

TEST(Translation, QtsOwnButtonsReadInChinese)
{
    ASSERT_TRUE(UseLanguage(Language::Chinese));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), "确定");
    EXPECT_EQ(QCoreApplication::translate("QWidgetTextControl", "&Paste"), "粘贴(&P)");
}
