// The panel's rules through real widgets (offscreen), with message boxes recorded.
#include "app/utool.h"
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
    TFtool window;
    ParamPanel &p = *window.Panel();
};

} // namespace

TEST_F(PanelFixture, StartsInTheInitialStates)
{
    EXPECT_EQ(p.Edit_set2->text(), "1");
    EXPECT_TRUE(p.RadioButton1->isChecked());
    EXPECT_FALSE(p.ComboBox_wg->isEnabled());
    EXPECT_EQ(p.ComboBox_wg->currentIndex(), -1);
    EXPECT_EQ(p.ComboBox3->currentText(), "标准格式");
    EXPECT_EQ(p.ComboBox_btl->currentText(), "9600");
    EXPECT_TRUE(p.RadioButton3->isChecked());
    EXPECT_EQ(p.ComboBox_gl->count(), 32);
    EXPECT_EQ(p.CheckBox1->text(), "连续重读");
    EXPECT_EQ(p.ComboBox1->currentText(), "秒");
    EXPECT_FALSE(p.CheckBox3->isEnabled());
    EXPECT_EQ(p.ComboBox2->currentText(), "秒");
    for (RuleEdit *m : p.Mirrors())
        EXPECT_TRUE(m->text().isEmpty());
    EXPECT_EQ(window.findChild<QWidget *>("Edit_data8"), p.Edit_data8);
    EXPECT_EQ(window.findChild<QWidget *>("BitBtn_set3"), p.BitBtn_set3);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(PanelFixture, TypingIntoAnEmptiedIdBox)
{
    Focus(p.Edit_set2);
    QTest::keyClick(p.Edit_set2, Qt::Key_Backspace); // deletes "1": the empty text does not parse
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "'' is not a valid integer value.");
    EXPECT_EQ(recorder.messages[0].title, "ROVI-2.4Didodezi");
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(p.Edit_data2->text().isEmpty());

    QTest::keyClick(p.Edit_set2, Qt::Key_2);
    EXPECT_EQ(p.Edit_data2->text(), "02");
    QTest::keyClick(p.Edit_set2, Qt::Key_4);
    EXPECT_EQ(p.Edit_data2->text(), "18");
    QTest::keyClick(p.Edit_set2, Qt::Key_1);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[1].text, "数据在1到240之间");
    EXPECT_EQ(recorder.messages[1].icon, MessageIcon::Warning);
    EXPECT_EQ(p.Edit_data2->text(), "18");
    EXPECT_TRUE(p.Edit_set2->hasFocus());
    EXPECT_EQ(p.Edit_set2->selectedText(), "241");
}

TEST_F(PanelFixture, RadioAndListCascades)
{
    p.RadioButton2->click();
    EXPECT_EQ(p.Edit_data3->text(), "41");
    EXPECT_TRUE(p.ComboBox_wg->isEnabled());
    EXPECT_EQ(p.ComboBox_wg->currentText(), "韦根26");
    OpenAndClose(p.ComboBox_wg, 4);
    EXPECT_EQ(p.Edit_data3->text(), "45");
    p.RadioButton1->click();
    EXPECT_EQ(p.Edit_data3->text(), "01");
    EXPECT_FALSE(p.ComboBox_wg->isEnabled());
    EXPECT_EQ(p.ComboBox_wg->currentIndex(), -1);

    p.RadioButton4->click();
    EXPECT_EQ(p.Edit_data6->text(), "20");
    EXPECT_EQ(p.ComboBox_gl->currentText(), "1");
    OpenAndClose(p.ComboBox_gl, 31);
    EXPECT_EQ(p.Edit_data6->text(), "3F");
    p.RadioButton3->click();
    EXPECT_EQ(p.Edit_data6->text(), "01");
}

TEST_F(PanelFixture, ListsChangedByKeyboardAndBackspaceRunTheChangeRule)
{
    p.RadioButton2->click();
    p.Edit_data3->setText("77");
    Focus(p.ComboBox_wg);
    QTest::keyClick(p.ComboBox_wg, Qt::Key_Down);
    EXPECT_EQ(p.Edit_data3->text(), "42");
    p.Edit_data3->setText("77");
    QTest::keyClick(p.ComboBox_wg, Qt::Key_Backspace);
    EXPECT_EQ(p.Edit_data3->text(), "42");
    p.ComboBox_wg->setCurrentIndex(3); // the program's selection runs no rule
    EXPECT_EQ(p.Edit_data3->text(), "42");
}

TEST_F(PanelFixture, CloseUpRulesOverwriteAHandTypedMirror)
{
    p.Edit_data4->setText("77");
    OpenAndClose(p.ComboBox3); // closed without a change
    EXPECT_EQ(p.ComboBox3->currentIndex(), 0);
    EXPECT_EQ(p.Edit_data4->text(), "01");
    OpenAndClose(p.ComboBox_btl, 7);
    EXPECT_EQ(p.Edit_data5->text(), "08");
    // A keyboard change with the list closed leaves the mirror as it was.
    p.Edit_data5->setText("77");
    Focus(p.ComboBox_btl);
    QTest::keyClick(p.ComboBox_btl, Qt::Key_Up);
    EXPECT_EQ(p.ComboBox_btl->currentText(), "57600");
    EXPECT_EQ(p.Edit_data5->text(), "77");
}

TEST_F(PanelFixture, RereadAndSendTimeGroups)
{
    Focus(p.edit4);
    QTest::keyClicks(p.edit4, "0");
    EXPECT_EQ(p.Edit_data7->text(), "40");
    p.CheckBox1->click(); // empties the box and the mirror, caption follows
    EXPECT_EQ(p.CheckBox1->text(), "离开重读");
    EXPECT_TRUE(p.edit4->text().isEmpty());
    EXPECT_TRUE(p.Edit_data7->text().isEmpty());
    QTest::keyClicks(p.edit4, "10");
    EXPECT_EQ(p.Edit_data7->text(), "8A");
    OpenAndClose(p.ComboBox1, 0);
    EXPECT_TRUE(p.edit4->text().isEmpty());
    EXPECT_TRUE(p.Edit_data7->text().isEmpty());
    QTest::keyClicks(p.edit4, "60");
    EXPECT_EQ(p.Edit_data7->text(), "FC");

    Focus(p.Edit1);
    QTest::keyClicks(p.Edit1, "5");
    EXPECT_EQ(p.Edit_data8->text(), "45");
    OpenAndClose(p.ComboBox2, 1);
    EXPECT_TRUE(p.Edit1->text().isEmpty());
    QTest::keyClicks(p.Edit1, "5");
    EXPECT_EQ(p.Edit_data8->text(), "05");
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(PanelFixture, DigitFilterDropsTypedCharactersButNotPastedText)
{
    Focus(p.edit4);
    QTest::keyClicks(p.edit4, "a1-");
    EXPECT_EQ(p.edit4->text(), "1");
    QApplication::clipboard()->setText("2");
    QTest::keyClick(p.edit4, Qt::Key_V, Qt::ControlModifier); // the chord types ^V: discarded
    EXPECT_EQ(p.edit4->text(), "1");
    QTest::keyClick(p.edit4, Qt::Key_Left); // keys that type nothing still work
    QTest::keyClick(p.edit4, Qt::Key_Delete);
    EXPECT_EQ(p.edit4->text(), "");

    QApplication::clipboard()->setText("-3");
    p.edit4->paste(); // what the context menu's paste does
    EXPECT_EQ(p.edit4->text(), "-3");
    ASSERT_FALSE(recorder.messages.empty());
    EXPECT_EQ(recorder.messages.back().text, "数据在0到60之间");

    QApplication::clipboard()->setText("12345678901");
    p.edit4->selectAll();
    p.edit4->paste();
    EXPECT_EQ(p.Edit_data7->text(), "40"); // overflow counts as zero time
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
    Focus(p.Edit_data1);
    QTest::keyClicks(p.Edit_data1, "ABC");
    EXPECT_EQ(p.Edit_data1->text(), "AB");
    p.Edit_data2->clear();
    QApplication::clipboard()->setText("123");
    p.Edit_data2->paste(); // Ctrl+V and the context menu alike
    EXPECT_EQ(p.Edit_data2->text(), "12");
    p.Edit_data3->clear();
    Commit(p.Edit_data3, "ABCD");
    EXPECT_EQ(p.Edit_data3->text(), "AB");
}

TEST_F(PanelFixture, InputMethodTextPassesTheDigitFilter)
{
    Focus(p.edit4);
    p.edit4->clear();
    Commit(p.edit4, "五a");
    EXPECT_EQ(p.edit4->text(), "");
    Commit(p.edit4, "1五2");
    EXPECT_EQ(p.edit4->text(), "12");
}

TEST_F(PanelFixture, AltToTheMenuBarIsNoExit)
{
    Focus(p.edit4);
    p.edit4->setText("99");
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
    Focus(p.Edit_set2);
    p.Edit_set2->setText("5");
    Focus(p.edit4);
    p.Edit_data2->setText("77");
    p.edit4->setText("99");
    recorder.messages.clear();
    QTest::mouseClick(p.Edit_set2, Qt::LeftButton);
    ASSERT_EQ(recorder.Texts(), QStringList{"请填写数据0到60之间的数据"});
    EXPECT_TRUE(p.edit4->hasFocus());
    EXPECT_EQ(p.Edit_data2->text(), "77"); // Edit_set2's exit rule would have written 05

    recorder.messages.clear();
    QSignalSpy clicked(p.BitBtn_set2, &QPushButton::clicked);
    QTest::mousePress(p.BitBtn_set2, Qt::LeftButton);
    EXPECT_EQ(recorder.Texts(), QStringList{"请填写数据0到60之间的数据"});
    EXPECT_TRUE(p.edit4->hasFocus());
    EXPECT_FALSE(p.BitBtn_set2->isDown());
    QTest::mouseRelease(p.BitBtn_set2, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_FALSE(p.BitBtn_set2->isDown());
}

TEST_F(PanelFixture, ExitRulesShowTheirMessageAndKeepTheFocus)
{
    Focus(p.Edit1);
    p.Edit1->setText("61"); // change rule: range message
    recorder.messages.clear();
    Focus(p.edit4); // exit rule of Edit1
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "请填写数据1到60之间的数据");
    EXPECT_TRUE(p.Edit1->hasFocus());

    p.Edit1->setText("6");
    recorder.messages.clear();
    Focus(p.Edit_set2);
    p.Edit_set2->setText("300");
    recorder.messages.clear();
    Focus(p.Edit_data2);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "数据在1到240之间");
    EXPECT_TRUE(p.Edit_set2->hasFocus());

    QApplication::clipboard()->setText("x");
    p.Edit_set2->selectAll();
    p.Edit_set2->paste(); // "x": the change rule reports the conversion error
    recorder.messages.clear();
    Focus(p.Edit_data2);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "数据格式不对");
    EXPECT_TRUE(p.Edit_set2->hasFocus());
}

TEST_F(PanelFixture, ValidIdExitRewritesTheMirrorWithoutAMessage)
{
    Focus(p.Edit_set2);
    p.Edit_data2->setText("77");
    Focus(p.Edit_data3);
    EXPECT_EQ(p.Edit_data2->text(), "01");
    EXPECT_TRUE(p.Edit_data3->hasFocus());
    EXPECT_TRUE(recorder.messages.empty());
}
