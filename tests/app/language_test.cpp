#include "app/aboutdialog.h"
#include "tests/support/window.h"
#include "app/batchsetupdialog.h"
#include "app/linetrouble.h"
#include "app/mainwindow.h"
#include "app/openadvice.h"
#include "app/readersearchdialog.h"
#include "app/startlanguage.h"
#include "base/appendfile.h"
#include "panel/logview.h"
#include "panel/mirrorrules.h"
#include "serial/linetypes.h"
#include "settings/portdialog.h"
#include "ui/captionroom.h"
#include "ui/messages.h"
#include "ui/translation.h"
#include "tests/support/files.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/showntexts.h"
#include "tests/support/tempdir.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QStyleOptionComboBox>
#include <QTabWidget>
#include <QFile>
#include <QLayout>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <fstream>

using namespace rovi;

namespace {

// The texts of the window, of each of its dialogs and of the logs' context
// menu, as a user can meet them.
// The window and, beside it, each of its dialogs and the logs' context menu.
struct EveryWindow {
    MainWindow window;
    settings::PortSettings port_settings;
    settings::PortDialog ports{&window, port_settings};
    AboutDialog about{&window};
    ReaderSearchDialog search{&window, QString(), 19200};
    BatchSetupDialog *batch = new BatchSetupDialog(*window.Panel(), &window); // the window owns it
    QMenu menu;
    EveryWindow() { window.findChild<panel::LogView *>(QStringLiteral("hexLog"))->FillContextMenu(menu); }
    std::vector<const QWidget *> All() const { return {&window, &ports, &about, &search, batch, &menu}; }
};

QStringList EveryShownText(bool geometry = true)
{
    EveryWindow windows;
    QStringList lines;
    for (const QWidget *w : windows.All())
        lines << test::ShownTexts(w, geometry);
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
    QStringList lines = EveryShownText();
    const QString text = lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (const QByteArray out = qgetenv("ROVI_WRITE_SHOWN_TEXTS"); !out.isEmpty()) {
        QFile file(QString::fromLocal8Bit(out));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        return;
    }
    QFile file(QStringLiteral(CHINESE_TEXTS_PATH));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList expected = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
#ifdef _WIN32
    // Under Wine's offscreen platform there are no fonts, and the parts Qt
    // sizes from the font (table headers) differ: the texts alone.
    const auto geometry = [](const QString &line) { return line.contains(QLatin1String(" geometry: ")); };
    lines.removeIf(geometry);
    expected.removeIf(geometry);
#endif
    EXPECT_EQ(lines.size(), expected.size());
    for (qsizetype i = 0; i < std::min(lines.size(), expected.size()); ++i)
        ASSERT_EQ(lines[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
}

namespace {

bool HasChinese(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x303F) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

// The window in English while a test runs; Chinese again after it.
class English : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(UseLanguage(Language::English)); }
    void TearDown() override { UseLanguage(Language::Chinese); }
};

} // namespace

TEST_F(English, NoTextOfTheWindowOrItsDialogsIsChinese)
{
    const QStringList lines = EveryShownText(false);
    ASSERT_GT(lines.size(), 150);
    for (const QString &line : lines) {
        // The language menu names itself and Chinese in both languages.
        if (line.endsWith(QStringLiteral("text: 语言 / Language")) || line.endsWith(QStringLiteral("text: 中文")))
            continue;
        EXPECT_FALSE(HasChinese(line)) << line.toStdString();
    }
    EXPECT_TRUE(lines.contains(QStringLiteral(
        "mainWindow/clientArea/topPanel/pages/qt_tabwidget_stackedwidget/settingsPage/paramPanel/group1/queryButton text: "
        "Read settings")));
}

TEST_F(English, QtsOwnTextsFollow)
{
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), "OK");
    ASSERT_TRUE(UseLanguage(Language::Chinese));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), "确定");
    ASSERT_TRUE(UseLanguage(Language::English));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), "OK");
}

TEST_F(English, MessagesFromThePlainCodeAreEnglish)
{
    test::TempDir dir;
    std::string folder_refused;
    EXPECT_FALSE(AppendFile::Open(dir.Path().string(), &folder_refused));
    using Kind = OpenFailure::Kind;
    const std::string texts[] = {
        OpenFailureAdvice({Kind::Missing, ENOENT, "/dev/ttyUSB7", "", {}}),
        OpenFailureAdvice({Kind::Permission, EACCES, "/dev/ttyUSB7", "dialout", {}, "root"}),
        OpenFailureAdvice({Kind::Permission, EACCES, "/dev/ttyUSB7", "root", {}, "root", false}),
        OpenFailureAdvice({Kind::Busy, EBUSY, "/dev/ttyUSB7", "", {{42, "minicom"}, {43, "cat"}}}),
        OpenFailureAdvice({Kind::Busy, EBUSY, "/dev/ttyUSB7", "", {}}),
        OpenFailureAdvice({Kind::Other, EIO, "/dev/ttyUSB7", "", {}}),
        LineErrorLogLine(LineError::Framing | LineError::Parity | LineError::Break | LineError::Overrun |
                         LineError::InputOverflow),
        LineErrorLogLine(0),
        LineErrorHint(LineError::Break),
        LineErrorHint(0),
        Translated("LineTrouble", kCarrierHint),
        Translated("LineTrouble", kCarrierLogLine),
        settings::StatusSummary(settings::PortSettings{}),
        folder_refused,
        MessageSlot::LaterLine(3).toStdString(),
    };
    for (const std::string &text : texts) {
        EXPECT_FALSE(HasChinese(QString::fromStdString(text))) << text;
        EXPECT_FALSE(text.empty());
    }
    EXPECT_EQ(settings::StatusSummary(settings::PortSettings{}), "Port COM1, 9600 baud, no parity, 8 data bits, 1 stop bit");
}

TEST_F(English, ThePanelsRuleMessagesAreEnglish)
{
    test::MessageRecorder recorder;
    MainWindow window;
    auto *id = window.findChild<QLineEdit *>(QStringLiteral("idAddress"));
    id->setText(QStringLiteral("241"));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Enter a value from 1 to 240");
}

namespace {

// Each caption against the room its control gives it.
void ExpectCaptionsFit(const QWidget *root)
{
    for (const QWidget *w : root->findChildren<QWidget *>()) {
        if (w->window() != root->window() || !w->isVisibleTo(root->window()) || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const std::string where = test::PathOf(w, root).toStdString();
        if (auto *b = qobject_cast<const QAbstractButton *>(w); b && !b->text().isEmpty()) {
            EXPECT_LE(CaptionWidth(*b), b->width()) << where << " " << b->text().toStdString();
        }
        if (auto *l = qobject_cast<const QLabel *>(w); l && !l->text().isEmpty() && !l->wordWrap()) {
            EXPECT_LE(l->sizeHint().width(), l->width()) << where << " " << l->text().toStdString();
        }
        if (auto *g = qobject_cast<const QGroupBox *>(w); g && !g->title().isEmpty()) {
            EXPECT_LE(g->fontMetrics().horizontalAdvance(g->title()) + 8, g->width())
                << where << " " << g->title().toStdString();
        }
        if (auto *c = qobject_cast<const QComboBox *>(w); c && !c->isEditable()) {
            for (int i = 0; i < c->count(); ++i) {
                // What the closed list shows: the item beside the arrow.
                QStyleOptionComboBox option;
                option.initFrom(c);
                const QRect room = c->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, c);
                EXPECT_LE(c->fontMetrics().horizontalAdvance(c->itemText(i)), room.width())
                    << where << " " << c->itemText(i).toStdString();
            }
        }
    }
}

} // namespace

TEST_F(English, EveryCaptionFitsTheFixedLayout)
{
#ifdef _WIN32
    GTEST_SKIP() << "Wine's offscreen platform has no fonts to measure captions with";
#endif
    EveryWindow windows;
    for (const QWidget *w : windows.All()) {
        // A dialog laid out by a layout is measured as it is shown.
        if (w->layout())
            w->layout()->activate();
        ExpectCaptionsFit(w);
    }
    // Each other page of the window as it is shown when chosen.
    windows.window.show();
    auto *pages = windows.window.findChild<QTabWidget *>(QStringLiteral("pages"));
    for (int page = 1; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        QCoreApplication::processEvents();
        ExpectCaptionsFit(pages->widget(page));
    }
    pages->setCurrentIndex(0);
    // The reread box says its other mode when checked.
    windows.window.findChild<QCheckBox *>(QStringLiteral("continuousReread"))->setChecked(true);
    ExpectCaptionsFit(&windows.window);
}

TEST(LanguageMenu, SwitchesTheWindowAtOnceAndStoresTheChoice)
{
    test::TempDir dir;
    // A set.ini another program wrote: GBK keys, CRLF, a section of its own.
    const std::string before = "[comset]\r\n\xB4\xAE\xBF\xDA=COM3\r\nreconnect=0\r\n[other]\r\nkeep=1\r\n";
    std::ofstream("set.ini", std::ios::binary) << before;
    MainWindow window;
    window.ShowBatchSetup();
    auto *query = window.findChild<QPushButton *>(QStringLiteral("queryButton"));
    auto *start = window.BatchSetup()->findChild<QPushButton *>(QStringLiteral("startButton"));
    ASSERT_EQ(query->text(), "查看参数");
    window.SetReconnect(false); // nothing watches for the port
    window.Link().SetPortName("COM3");
    window.OnHungUp();
    ASSERT_EQ(window.StatusText(), "串口:COM3 已断开");

    test::MenuAction(window, "englishAction")->trigger();
    QCoreApplication::processEvents(); // the change reaches every window as a posted event
    EXPECT_EQ(query->text(), "Read settings");
    EXPECT_EQ(start->text(), "Start");
    EXPECT_EQ(window.StatusText(), "Port COM3 disconnected"); // said again
    EXPECT_EQ(window.menuBar()->actions().front()->text(), "Connection");
    EXPECT_TRUE(test::MenuAction(window, "englishAction")->isChecked());
    const std::string english = "[comset]\r\n\xB4\xAE\xBF\xDA=COM3\r\nreconnect=0\r\nlanguage=en\r\n[other]\r\nkeep=1\r\n";
    EXPECT_EQ(test::ReadAll("set.ini"), english);

    test::MenuAction(window, "chineseAction")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(query->text(), "查看参数");
    EXPECT_EQ(start->text(), "开始");
    EXPECT_EQ(window.StatusText(), "串口:COM3 已断开");
    EXPECT_EQ(window.menuBar()->actions().front()->text(), "通讯设置");
    EXPECT_TRUE(test::MenuAction(window, "chineseAction")->isChecked());
    std::string chinese = english;
    chinese.replace(chinese.find("language=en"), 11, "language=zh");
    EXPECT_EQ(test::ReadAll("set.ini"), chinese);
    EXPECT_EQ(settings::LoadStoredSettings("set.ini").options.language, Language::Chinese);
}

#ifndef _WIN32
// The language the program starts in: set.ini's choice, else the locale
// (LC_ALL, then LC_MESSAGES, then LANG).
TEST(StartLanguage, TheChoiceInSetIniElseTheLocale)
{
    struct Environment {
        const char *lc_all, *lc_messages, *lang;
    };
    const struct {
        const char *ini; // nullptr: no set.ini
        Environment env;
        Language expected;
    } rows[] = {
        {nullptr, {nullptr, nullptr, "en_US.UTF-8"}, Language::English},
        {nullptr, {nullptr, nullptr, "zh_CN.UTF-8"}, Language::Chinese},
        {nullptr, {nullptr, nullptr, "C"}, Language::Chinese},
        {nullptr, {nullptr, nullptr, nullptr}, Language::Chinese},
        {nullptr, {"zh_CN.UTF-8", nullptr, "en_US.UTF-8"}, Language::Chinese},
        {nullptr, {nullptr, "de_DE.UTF-8", "zh_CN.UTF-8"}, Language::English},
        {nullptr, {"", nullptr, "en_GB.UTF-8"}, Language::English}, // an empty variable is not set
        {"[comset]\r\nlanguage=zh\r\n", {nullptr, nullptr, "en_US.UTF-8"}, Language::Chinese},
        {"[comset]\r\nlanguage=en\r\n", {nullptr, nullptr, "C"}, Language::English},
        {"[comset]\r\nlanguage=xx\r\n", {nullptr, nullptr, "en_US.UTF-8"}, Language::English},
    };
    const char *names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::optional<std::string> saved[3];
    for (int i = 0; i < 3; ++i)
        if (const char *v = std::getenv(names[i]))
            saved[i] = v;
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.ini ? row.ini : "no set.ini") + " LANG=" + (row.env.lang ? row.env.lang : "-"));
        test::TempDir dir;
        if (row.ini)
            std::ofstream("set.ini", std::ios::binary) << row.ini;
        const char *values[] = {row.env.lc_all, row.env.lc_messages, row.env.lang};
        for (int i = 0; i < 3; ++i)
            values[i] ? setenv(names[i], values[i], 1) : unsetenv(names[i]);
        EXPECT_EQ(StartLanguage(), row.expected);
    }
    for (int i = 0; i < 3; ++i)
        saved[i] ? setenv(names[i], saved[i]->c_str(), 1) : unsetenv(names[i]);
}
#endif
