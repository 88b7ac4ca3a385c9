// The card test page in the whole window, fed by the simulated reader:
// three cards in turn, one walked away and brought back, a query between.
#include "app/mainwindow.h"
#include "panel/cardtestpage.h"
#include "protocol/cardread.h"
#include "protocol/cardsheet.h"
#include "settings/portsettings.h"
#include "tests/support/controls.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/qtwait.h"
#include "tests/support/readersim.h"
#include "tests/support/tempdir.h"
#include "tools/readersim/readermodel.h"

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace rovi;

TEST(CardTestWindow, TheSimulatorsThreeCardsAndTheOneThatLeft)
{
    test::TempDir dir;
    test::MessageRecorder recorder;
    // A card every 350 ms (well apart from the 100 ms that joins chunks), so
    // each of the three every 1.05 s.
    test::ReaderSim sim({"--tags", "3", "--cards", "350"});
    settings::PortSettings s;
    s.port = sim.Path();
    settings::SavePortSettings(settings::kIniPath, s, true);
    MainWindow window;
    window.show();
    ASSERT_TRUE(window.Link().IsOpen());
    auto *pages = window.findChild<QTabWidget *>("pages");
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), "F1");
    EXPECT_EQ(pages->tabText(1), "读卡测试");
    pages->setCurrentIndex(1);

    const CardTally &tally = window.CardTest().Model().Tally();
    const sim::ReaderModel reader; // what the simulator sends for each card
    auto row_of = [&](std::uint32_t card) -> const CardTally::Card * {
        const std::string text = CardText(reader.CardOutput(card));
        for (std::size_t row = 0; row < tally.Size(); ++row)
            if (tally.At(row).text == text)
                return &tally.At(row);
        return nullptr;
    };
    const std::uint32_t cards[3] = {12345678, 12345679, 12345680};
    ASSERT_TRUE(test::WaitUntil([&] {
        return std::all_of(std::begin(cards), std::end(cards), [&](auto c) { return row_of(c) && row_of(c)->reads >= 2; });
    }, 8000)) << tally.Size() << " cards";

    // A query's report on the same line is no card.
    test::PanelControls(&window).queryButton->click();
    ASSERT_TRUE(test::WaitUntil([&] { return !test::PanelControls(&window).Mirror(Field::id_addr)->text().isEmpty(); }));
    EXPECT_EQ(tally.Size(), 3u);

    window.CardTest().findChild<QDoubleSpinBox *>("leaveAfter")->setValue(2.5);
    sim.Command("leave 12345679\n");
    ASSERT_TRUE(test::WaitUntil([&] { return row_of(12345679)->left; }, 6000));
    test::Pump(1200); // the others go on being read
    EXPECT_FALSE(row_of(12345678)->left);
    EXPECT_FALSE(row_of(12345680)->left);
    const std::uint64_t reads_when_left = row_of(12345679)->reads;
    sim.Command("return 12345679\n");
    ASSERT_TRUE(test::WaitUntil([&] { return !row_of(12345679)->left; }, 5000));
    EXPECT_GT(row_of(12345679)->reads, reads_when_left);
    EXPECT_EQ(tally.Size(), 3u);
    EXPECT_TRUE(recorder.messages.empty()) << recorder.messages[0].text.toStdString();
    window.close();
}
