// The panel's rules through real widgets (offscreen), with message boxes recorded.
#include "app/mainwindow.h"
#include "panel/parampanel.h"
#include "tests/support/messagerecorder.h"

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

    test::MessageRecorder recorder;
    MainWindow window;
    ParamPanel &p = *window.Panel();
};

} // namespace

TEST_F(PanelFixture, StartsInTheInitialStates)
{
    EXPECT_EQ(p.idAddress->text(), "1");
    EXPECT_TRUE(p.dipSwitchControl->isChecked());
    EXPECT_FALSE(p.wiegandFormat->isEnabled());
    EXPECT_EQ(p.wiegandFormat->currentIndex(), -1);
    EXPECT_EQ(p.serialFormat->currentText(), "标准格式");
    EXPECT_EQ(p.baudRate->currentText(), "9600");
    EXPECT_TRUE(p.externalPower->isChecked());
    EXPECT_EQ(p.powerLevel->count(), 32);
    EXPECT_EQ(p.continuousReread->text(), "连续重读");
    EXPECT_EQ(p.rereadUnit->currentText(), "秒");
    EXPECT_FALSE(p.sendTimeEnabled->isEnabled());
    EXPECT_EQ(p.sendTimeUnit->currentText(), "秒");
    for (RuleEdit *m : p.Mirrors())
        EXPECT_TRUE(m->text().isEmpty());
    EXPECT_EQ(window.findChild<QWidget *>("sendTimeMirror"), p.Mirror(Field::send_time));
    EXPECT_EQ(window.findChild<QWidget *>("wiegandSetButton"), p.SetButton(Field::wiegand));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(PanelFixture, TypingIntoAnEmptiedIdBox)
{
    Focus(p.idAddress);
    QTest::keyClick(p.idAddress, Qt::Key_Backspace); // deletes "1": the empty text does not parse
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "'' is not a valid integer value.");
    EXPECT_EQ(recorder.messages[0].title, "ROVI-2.4Didodezi");
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(p.Mirror(Field::id_addr)->text().isEmpty());

    QTest::keyClick(p.idAddress, Qt::Key_2);
    EXPECT_EQ(p.Mirror(Field::id_addr)->text(), "02");
    QTest::keyClick(p.idAddress, Qt::Key_4);
    EXPECT_EQ(p.Mirror(Field::id_addr)->text(), "18");
    QTest::keyClick(p.idAddress, Qt::Key_1);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[1].text, "数据在1到240之间");
    EXPECT_EQ(recorder.messages[1].icon, MessageIcon::Warning);
    EXPECT_EQ(p.Mirror(Field::id_addr)->text(), "18");
    EXPECT_TRUE(p.idAddress->hasFocus());
    EXPECT_EQ(p.idAddress->selectedText(), "241");
}

TEST_F(PanelFixture, RadioAndListCascades)
{
    p.wiegandOutput->click();
    EXPECT_EQ(p.Mirror(Field::wiegand)->text(), "41");
    EXPECT_TRUE(p.wiegandFormat->isEnabled());
    EXPECT_EQ(p.wiegandFormat->currentText(), "韦根26");
    OpenAndClose(p.wiegandFormat, 4);
    EXPECT_EQ(p.Mirror(Field::wiegand)->text(), "45");
    p.dipSwitchControl->click();
    EXPECT_EQ(p.Mirror(Field::wiegand)->text(), "01");
    EXPECT_FALSE(p.wiegandFormat->isEnabled());
    EXPECT_EQ(p.wiegandFormat->currentIndex(), -1);

    p.softwarePower->click();
    EXPECT_EQ(p.Mirror(Field::power)->text(), "20");
    EXPECT_EQ(p.powerLevel->currentText(), "1");
    OpenAndClose(p.powerLevel, 31);
    EXPECT_EQ(p.Mirror(Field::power)->text(), "3F");
    p.externalPower->click();
    EXPECT_EQ(p.Mirror(Field::power)->text(), "01");
}

TEST_F(PanelFixture, ListsChangedByKeyboardAndBackspaceRunTheChangeRule)
{
    p.wiegandOutput->click();
    p.Mirror(Field::wiegand)->setText("77");
    Focus(p.wiegandFormat);
    QTest::keyClick(p.wiegandFormat, Qt::Key_Down);
    EXPECT_EQ(p.Mirror(Field::wiegand)->text(), "42");
    p.Mirror(Field::wiegand)->setText("77");
    QTest::keyClick(p.wiegandFormat, Qt::Key_Backspace);
    EXPECT_EQ(p.Mirror(Field::wiegand)->text(), "42");
    p.wiegandFormat->setCurrentIndex(3); // the program's selection runs no rule
    EXPECT_EQ(p.Mirror(Field::wiegand)->text(), "42");
}

TEST_F(PanelFixture, CloseUpRulesOverwriteAHandTypedMirror)
{
    p.Mirror(Field::serial_fmt)->setText("77");
    OpenAndClose(p.serialFormat); // closed without a change
    EXPECT_EQ(p.serialFormat->currentIndex(), 0);
    EXPECT_EQ(p.Mirror(Field::serial_fmt)->text(), "01");
    OpenAndClose(p.baudRate, 7);
    EXPECT_EQ(p.Mirror(Field::baud)->text(), "08");
    // A keyboard change with the list closed leaves the mirror as it was.
    p.Mirror(Field::baud)->setText("77");
    Focus(p.baudRate);
    QTest::keyClick(p.baudRate, Qt::Key_Up);
    EXPECT_EQ(p.baudRate->currentText(), "57600");
    EXPECT_EQ(p.Mirror(Field::baud)->text(), "77");
}

TEST_F(PanelFixture, RereadAndSendTimeGroups)
{
    Focus(p.rereadTime);
    QTest::keyClicks(p.rereadTime, "0");
    EXPECT_EQ(p.Mirror(Field::reread)->text(), "40");
    p.continuousReread->click(); // empties the box and the mirror, caption follows
    EXPECT_EQ(p.continuousReread->text(), "离开重读");
    EXPECT_TRUE(p.rereadTime->text().isEmpty());
    EXPECT_TRUE(p.Mirror(Field::reread)->text().isEmpty());
    QTest::keyClicks(p.rereadTime, "10");
    EXPECT_EQ(p.Mirror(Field::reread)->text(), "8A");
    OpenAndClose(p.rereadUnit, 0);
    EXPECT_TRUE(p.rereadTime->text().isEmpty());
    EXPECT_TRUE(p.Mirror(Field::reread)->text().isEmpty());
    QTest::keyClicks(p.rereadTime, "60");
    EXPECT_EQ(p.Mirror(Field::reread)->text(), "FC");

    Focus(p.sendTime);
    QTest::keyClicks(p.sendTime, "5");
    EXPECT_EQ(p.Mirror(Field::send_time)->text(), "45");
    OpenAndClose(p.sendTimeUnit, 1);
    EXPECT_TRUE(p.sendTime->text().isEmpty());
    QTest::keyClicks(p.sendTime, "5");
    EXPECT_EQ(p.Mirror(Field::send_time)->text(), "05");
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(PanelFixture, DigitFilterDropsTypedCharactersButNotPastedText)
{
    Focus(p.rereadTime);
    QTest::keyClicks(p.rereadTime, "a1-");
    EXPECT_EQ(p.rereadTime->text(), "1");
    QApplication::clipboard()->setText("2");
    QTest::keyClick(p.rereadTime, Qt::Key_V, Qt::ControlModifier); // the chord types ^V: discarded
    EXPECT_EQ(p.rereadTime->text(), "1");
    QTest::keyClick(p.rereadTime, Qt::Key_Left); // keys that type nothing still work
    QTest::keyClick(p.rereadTime, Qt::Key_Delete);
    EXPECT_EQ(p.rereadTime->text(), "");

    QApplication::clipboard()->setText("-3");
    p.rereadTime->paste(); // what the context menu's paste does
    EXPECT_EQ(p.rereadTime->text(), "-3");
    ASSERT_FALSE(recorder.messages.empty());
    EXPECT_EQ(recorder.messages.back().text, "数据在0到60之间");

    QApplication::clipboard()->setText("12345678901");
    p.rereadTime->selectAll();
    p.rereadTime->paste();
    EXPECT_EQ(p.Mirror(Field::reread)->text(), "40"); // overflow counts as zero time
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
    Focus(p.Mirror(Field::ctrl));
    QTest::keyClicks(p.Mirror(Field::ctrl), "ABC");
    EXPECT_EQ(p.Mirror(Field::ctrl)->text(), "AB");
    p.Mirror(Field::id_addr)->clear();
    QApplication::clipboard()->setText("123");
    p.Mirror(Field::id_addr)->paste(); // Ctrl+V and the context menu alike
    EXPECT_EQ(p.Mirror(Field::id_addr)->text(), "12");
    p.Mirror(Field::wiegand)->clear();
    Commit(p.Mirror(Field::wiegand), "ABCD");
    EXPECT_EQ(p.Mirror(Field::wiegand)->text(), "AB");
}

TEST_F(PanelFixture, InputMethodTextPassesTheDigitFilter)
{
    Focus(p.rereadTime);
    p.rereadTime->clear();
    Commit(p.rereadTime, "五a");
    EXPECT_EQ(p.rereadTime->text(), "");
    Commit(p.rereadTime, "1五2");
    EXPECT_EQ(p.rereadTime->text(), "12");
}

TEST_F(PanelFixture, AltToTheMenuBarIsNoExit)
{
    Focus(p.rereadTime);
    p.rereadTime->setText("99");
    recorder.messages.clear();
    window.menuBar()->setFocus(Qt::MenuBarFocusReason); // what pressing Alt does
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.messages.empty());
}

// A click on another box or a button while an exit rule refuses the text:
// the move is cancelled, the target's own exit rule does not run, and the
// button is neither left pressed nor clicked by the release.
TEST_F(PanelFixture, ACancelledFocusMoveRunsNoRuleOfItsTarget)
{
    Focus(p.idAddress);
    p.idAddress->setText("5");
    Focus(p.rereadTime);
    p.Mirror(Field::id_addr)->setText("77");
    p.rereadTime->setText("99");
    recorder.messages.clear();
    QTest::mouseClick(p.idAddress, Qt::LeftButton);
    ASSERT_EQ(recorder.Texts(), QStringList{"请填写数据0到60之间的数据"});
    EXPECT_TRUE(p.rereadTime->hasFocus());
    EXPECT_EQ(p.Mirror(Field::id_addr)->text(), "77"); // idAddress's exit rule would have written 05

    recorder.messages.clear();
    QSignalSpy clicked(p.SetButton(Field::id_addr), &QPushButton::clicked);
    QTest::mousePress(p.SetButton(Field::id_addr), Qt::LeftButton);
    EXPECT_EQ(recorder.Texts(), QStringList{"请填写数据0到60之间的数据"});
    EXPECT_TRUE(p.rereadTime->hasFocus());
    EXPECT_FALSE(p.SetButton(Field::id_addr)->isDown());
    QTest::mouseRelease(p.SetButton(Field::id_addr), Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_FALSE(p.SetButton(Field::id_addr)->isDown());
}

TEST_F(PanelFixture, ExitRulesShowTheirMessageAndKeepTheFocus)
{
    Focus(p.sendTime);
    p.sendTime->setText("61"); // change rule: range message
    recorder.messages.clear();
    Focus(p.rereadTime); // exit rule of sendTime
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "请填写数据1到60之间的数据");
    EXPECT_TRUE(p.sendTime->hasFocus());

    p.sendTime->setText("6");
    recorder.messages.clear();
    Focus(p.idAddress);
    p.idAddress->setText("300");
    recorder.messages.clear();
    Focus(p.Mirror(Field::id_addr));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "数据在1到240之间");
    EXPECT_TRUE(p.idAddress->hasFocus());

    QApplication::clipboard()->setText("x");
    p.idAddress->selectAll();
    p.idAddress->paste(); // "x": the change rule reports the conversion error
    recorder.messages.clear();
    Focus(p.Mirror(Field::id_addr));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "数据格式不对");
    EXPECT_TRUE(p.idAddress->hasFocus());
}

TEST_F(PanelFixture, ValidIdExitRewritesTheMirrorWithoutAMessage)
{
    Focus(p.idAddress);
    p.Mirror(Field::id_addr)->setText("77");
    Focus(p.Mirror(Field::wiegand));
    EXPECT_EQ(p.Mirror(Field::id_addr)->text(), "01");
    EXPECT_TRUE(p.Mirror(Field::wiegand)->hasFocus());
    EXPECT_TRUE(recorder.messages.empty());
}
