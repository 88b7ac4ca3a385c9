// The panel's rules through real widgets (offscreen), with message boxes recorded.
#include "app/mainwindow.h"
#include "tests/support/controls.h"
#include "panel/parampanel.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/tempdir.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace rovi;
using namespace rovi::panel;

namespace {

class PanelFixture : public testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void Focus(QWidget *w)
    {
        w->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }

    void OpenAndClose(RuleComboBox *box, int pick = -1)
    {
        box->showPopup();
        QCoreApplication::processEvents();
        if (pick >= 0) {
            const QModelIndex index = box->view()->model()->index(pick, 0);
            box->view()->setCurrentIndex(index);
            QTest::keyClick(box->view(), Qt::Key_Return);
        } else {
            QTest::keyClick(box->view(), Qt::Key_Escape);
        }
        QCoreApplication::processEvents();
    }

    // Its own folder, so the window reads no set.ini left in the working directory.
    test::TempDir dir;
    test::MessageRecorder recorder;
    MainWindow window;
    ParamPanel &p = *window.Panel();
    test::PanelControls c{&window};
};

} // namespace

TEST_F(PanelFixture, StartsInTheInitialStates)
{
    EXPECT_EQ(c.idAddress->text(), "1");
    EXPECT_TRUE(c.dipSwitchControl->isChecked());
    EXPECT_FALSE(c.wiegandFormat->isEnabled());
    EXPECT_EQ(c.wiegandFormat->currentIndex(), -1);
    EXPECT_EQ(c.serialFormat->currentText(), "标准格式");
    EXPECT_EQ(c.baudRate->currentText(), "9600");
    EXPECT_TRUE(c.externalPower->isChecked());
    EXPECT_EQ(c.powerLevel->count(), 32);
    EXPECT_EQ(c.continuousReread->text(), "连续重读");
    EXPECT_EQ(c.rereadUnit->currentText(), "秒");
    EXPECT_FALSE(c.sendTimeEnabled->isEnabled());
    EXPECT_EQ(c.sendTimeUnit->currentText(), "秒");
    for (RuleEdit *m : c.Mirrors())
        EXPECT_TRUE(m->text().isEmpty());
    EXPECT_EQ(window.findChild<QWidget *>("sendTimeMirror"), c.Mirror(Field::send_time));
    EXPECT_EQ(window.findChild<QWidget *>("wiegandSetButton"), c.SetButton(Field::wiegand));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(PanelFixture, TypingIntoAnEmptiedIdBox)
{
    Focus(c.idAddress);
    QTest::keyClick(c.idAddress, Qt::Key_Backspace); // deletes "1": the empty text does not parse
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "'' is not a valid integer value.");
    EXPECT_EQ(recorder.messages[0].title, "ROVI-2.4Didodezi");
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(c.Mirror(Field::id_addr)->text().isEmpty());

    QTest::keyClick(c.idAddress, Qt::Key_2);
    EXPECT_EQ(c.Mirror(Field::id_addr)->text(), "02");
    QTest::keyClick(c.idAddress, Qt::Key_4);
    EXPECT_EQ(c.Mirror(Field::id_addr)->text(), "18");
    QTest::keyClick(c.idAddress, Qt::Key_1);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[1].text, "数据在1到240之间");
    EXPECT_EQ(recorder.messages[1].icon, MessageIcon::Warning);
    EXPECT_EQ(c.Mirror(Field::id_addr)->text(), "18");
    EXPECT_TRUE(c.idAddress->hasFocus());
    EXPECT_EQ(c.idAddress->selectedText(), "241");
}

TEST_F(PanelFixture, RadioAndListCascades)
{
    c.wiegandOutput->click();
    EXPECT_EQ(c.Mirror(Field::wiegand)->text(), "41");
    EXPECT_TRUE(c.wiegandFormat->isEnabled());
    EXPECT_EQ(c.wiegandFormat->currentText(), "韦根26");
    OpenAndClose(c.wiegandFormat, 4);
    EXPECT_EQ(c.Mirror(Field::wiegand)->text(), "45");
    c.dipSwitchControl->click();
    EXPECT_EQ(c.Mirror(Field::wiegand)->text(), "01");
    EXPECT_FALSE(c.wiegandFormat->isEnabled());
    EXPECT_EQ(c.wiegandFormat->currentIndex(), -1);

    c.softwarePower->click();
    EXPECT_EQ(c.Mirror(Field::power)->text(), "20");
    EXPECT_EQ(c.powerLevel->currentText(), "1");
    OpenAndClose(c.powerLevel, 31);
    EXPECT_EQ(c.Mirror(Field::power)->text(), "3F");
    c.externalPower->click();
    EXPECT_EQ(c.Mirror(Field::power)->text(), "01");
}

TEST_F(PanelFixture, ListsChangedByKeyboardAndBackspaceRunTheChangeRule)
{
    c.wiegandOutput->click();
    c.Mirror(Field::wiegand)->setText("77");
    Focus(c.wiegandFormat);
    QTest::keyClick(c.wiegandFormat, Qt::Key_Down);
    EXPECT_EQ(c.Mirror(Field::wiegand)->text(), "42");
    c.Mirror(Field::wiegand)->setText("77");
    QTest::keyClick(c.wiegandFormat, Qt::Key_Backspace);
    EXPECT_EQ(c.Mirror(Field::wiegand)->text(), "42");
    c.wiegandFormat->setCurrentIndex(3); // the program's selection runs no rule
    EXPECT_EQ(c.Mirror(Field::wiegand)->text(), "42");
}

TEST_F(PanelFixture, CloseUpRulesOverwriteAHandTypedMirror)
{
    c.Mirror(Field::serial_fmt)->setText("77");
    OpenAndClose(c.serialFormat); // closed without a change
    EXPECT_EQ(c.serialFormat->currentIndex(), 0);
    EXPECT_EQ(c.Mirror(Field::serial_fmt)->text(), "01");
    OpenAndClose(c.baudRate, 7);
    EXPECT_EQ(c.Mirror(Field::baud)->text(), "08");
    // A keyboard change with the list closed leaves the mirror as it was.
    c.Mirror(Field::baud)->setText("77");
    Focus(c.baudRate);
    QTest::keyClick(c.baudRate, Qt::Key_Up);
    EXPECT_EQ(c.baudRate->currentText(), "57600");
    EXPECT_EQ(c.Mirror(Field::baud)->text(), "77");
}

TEST_F(PanelFixture, RereadAndSendTimeGroups)
{
    Focus(c.rereadTime);
    QTest::keyClicks(c.rereadTime, "0");
    EXPECT_EQ(c.Mirror(Field::reread)->text(), "40");
    c.continuousReread->click(); // empties the box and the mirror, caption follows
    EXPECT_EQ(c.continuousReread->text(), "离开重读");
    EXPECT_TRUE(c.rereadTime->text().isEmpty());
    EXPECT_TRUE(c.Mirror(Field::reread)->text().isEmpty());
    QTest::keyClicks(c.rereadTime, "10");
    EXPECT_EQ(c.Mirror(Field::reread)->text(), "8A");
    OpenAndClose(c.rereadUnit, 0);
    EXPECT_TRUE(c.rereadTime->text().isEmpty());
    EXPECT_TRUE(c.Mirror(Field::reread)->text().isEmpty());
    QTest::keyClicks(c.rereadTime, "60");
    EXPECT_EQ(c.Mirror(Field::reread)->text(), "FC");

    Focus(c.sendTime);
    QTest::keyClicks(c.sendTime, "5");
    EXPECT_EQ(c.Mirror(Field::send_time)->text(), "45");
    OpenAndClose(c.sendTimeUnit, 1);
    EXPECT_TRUE(c.sendTime->text().isEmpty());
    QTest::keyClicks(c.sendTime, "5");
    EXPECT_EQ(c.Mirror(Field::send_time)->text(), "05");
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(PanelFixture, DigitFilterDropsTypedCharactersButNotPastedText)
{
    Focus(c.rereadTime);
    QTest::keyClicks(c.rereadTime, "a1-");
    EXPECT_EQ(c.rereadTime->text(), "1");
    QApplication::clipboard()->setText("2");
    QTest::keyClick(c.rereadTime, Qt::Key_V, Qt::ControlModifier); // the chord types ^V: discarded
    EXPECT_EQ(c.rereadTime->text(), "1");
    QTest::keyClick(c.rereadTime, Qt::Key_Left); // keys that type nothing still work
    QTest::keyClick(c.rereadTime, Qt::Key_Delete);
    EXPECT_EQ(c.rereadTime->text(), "");

    QApplication::clipboard()->setText("-3");
    recorder.messages.clear();
    c.rereadTime->paste(); // what the context menu's paste does
    EXPECT_EQ(c.rereadTime->text(), "-3");
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "数据在0到60之间");

    QApplication::clipboard()->setText("12345678901");
    c.rereadTime->selectAll();
    c.rereadTime->paste();
    EXPECT_EQ(c.Mirror(Field::reread)->text(), "40"); // overflow counts as zero time
}

namespace {

void Commit(QWidget *box, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(box, &event);
}

} // namespace

TEST_F(PanelFixture, MirrorsHoldTwoCharactersHoweverTextEnters)
{
    Focus(c.Mirror(Field::ctrl));
    QTest::keyClicks(c.Mirror(Field::ctrl), "ABC");
    EXPECT_EQ(c.Mirror(Field::ctrl)->text(), "AB");
    c.Mirror(Field::id_addr)->clear();
    QApplication::clipboard()->setText("123");
    c.Mirror(Field::id_addr)->paste(); // Ctrl+V and the context menu alike
    EXPECT_EQ(c.Mirror(Field::id_addr)->text(), "12");
    c.Mirror(Field::wiegand)->clear();
    Commit(c.Mirror(Field::wiegand), "ABCD");
    EXPECT_EQ(c.Mirror(Field::wiegand)->text(), "AB");
}

TEST_F(PanelFixture, InputMethodTextPassesTheDigitFilter)
{
    Focus(c.rereadTime);
    c.rereadTime->clear();
    Commit(c.rereadTime, "五a");
    EXPECT_EQ(c.rereadTime->text(), "");
    Commit(c.rereadTime, "1五2");
    EXPECT_EQ(c.rereadTime->text(), "12");
}

TEST_F(PanelFixture, AltToTheMenuBarIsNoExit)
{
    Focus(c.rereadTime);
    c.rereadTime->setText("99");
    recorder.messages.clear();
    window.menuBar()->setFocus(Qt::MenuBarFocusReason); // what pressing Alt does
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.menuBar()->hasFocus()); // the focus did move
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(c.rereadTime->text(), "99"); // and the box was left as it was
}

// A click on another box or a button while an exit rule refuses the text:
// the move is cancelled, the target's own exit rule does not run, and the
// button is neither left pressed nor clicked by the release.
TEST_F(PanelFixture, ACancelledFocusMoveRunsNoRuleOfItsTarget)
{
    Focus(c.idAddress);
    c.idAddress->setText("5");
    Focus(c.rereadTime);
    c.Mirror(Field::id_addr)->setText("77");
    c.rereadTime->setText("99");
    recorder.messages.clear();
    QTest::mouseClick(c.idAddress, Qt::LeftButton);
    ASSERT_EQ(recorder.Texts(), QStringList{"请填写数据0到60之间的数据"});
    EXPECT_TRUE(c.rereadTime->hasFocus());
    EXPECT_EQ(c.Mirror(Field::id_addr)->text(), "77"); // idAddress's exit rule would have written 05

    recorder.messages.clear();
    QSignalSpy clicked(c.SetButton(Field::id_addr), &QPushButton::clicked);
    QTest::mousePress(c.SetButton(Field::id_addr), Qt::LeftButton);
    EXPECT_EQ(recorder.Texts(), QStringList{"请填写数据0到60之间的数据"});
    EXPECT_TRUE(c.rereadTime->hasFocus());
    EXPECT_FALSE(c.SetButton(Field::id_addr)->isDown());
    QTest::mouseRelease(c.SetButton(Field::id_addr), Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_FALSE(c.SetButton(Field::id_addr)->isDown());
}

// Leaving a box whose text its exit rule refuses: the rule's message, and
// the focus stays. Each row puts its text in, leaves, then puts a valid text
// back so the next row starts free.
TEST_F(PanelFixture, ExitRulesShowTheirMessageAndKeepTheFocus)
{
    const struct {
        const char *name;
        RuleEdit *box;
        std::function<void(RuleEdit *)> enter;
        const char *message;
        const char *valid;
    } rows[] = {
        {"send time 61", c.sendTime, [](RuleEdit *b) { b->setText("61"); }, "请填写数据1到60之间的数据", "6"},
        {"ID 300", c.idAddress, [](RuleEdit *b) { b->setText("300"); }, "数据在1到240之间", "5"},
        {"ID x, pasted", c.idAddress,
         [](RuleEdit *b) {
             QApplication::clipboard()->setText("x");
             b->selectAll();
             b->paste(); // the change rule reports the conversion error
         },
         "数据格式不对", "5"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Focus(row.box);
        row.enter(row.box);
        recorder.messages.clear();
        Focus(c.Mirror(Field::id_addr)); // the exit rule runs
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].text, row.message);
        EXPECT_TRUE(row.box->hasFocus());
        row.box->setText(row.valid);
        recorder.messages.clear();
    }
}

TEST_F(PanelFixture, ValidIdExitRewritesTheMirrorWithoutAMessage)
{
    Focus(c.idAddress);
    c.Mirror(Field::id_addr)->setText("77");
    Focus(c.Mirror(Field::wiegand));
    EXPECT_EQ(c.Mirror(Field::id_addr)->text(), "01");
    EXPECT_TRUE(c.Mirror(Field::wiegand)->hasFocus());
    EXPECT_TRUE(recorder.messages.empty());
}
