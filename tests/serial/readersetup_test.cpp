// The set-then-verify conversation against a device the test plays on a
// pseudo-terminal: what it answers at each step, and the outcome.
#include "serial/readersetup.h"

#include "tests/support/pty.h"
#include "tests/support/qtwait.h"

#include <gtest/gtest.h>

#include <thread>

using namespace rovi;
using namespace rovi::test;

namespace {

const std::string kAck("\xFE\xF1\x00\xFF", 4);
const std::string kRefusal("\xFE\xF1\x01\xFF", 4);

std::string ReportOf(std::uint8_t id)
{
    FieldBytes fields{0x01, id, 0x42, 0x02, 0x04, 0x21, 0x03, 0x05};
    return std::string(AsBytes(ComposeSetAll(fields)));
}

struct Step {
    std::string answer; // written after the frame has come
    bool hang_up = false; // then the device goes away
};

struct Case {
    const char *name;
    std::vector<Step> steps; // one per frame the device reads
    ReaderSetup::Result result;
    const char *problem_has;
    bool report;
};

} // namespace

TEST(ReaderSetup, EachAnswerGivesItsOutcome)
{
    const std::vector<FieldValue> values{{Field::id_addr, 17}, {Field::wiegand, 0x42}};
    const Case cases[] = {
        {"set and read back", {{kAck}, {ReportOf(17)}}, ReaderSetup::Result::Done, "", true},
        {"refused", {{kRefusal}}, ReaderSetup::Result::Refused, "refused the setting (acknowledgement FE F1 01 FF)", false},
        {"a report for the set", {{ReportOf(17)}}, ReaderSetup::Result::NotVerified, "a report, not an acknowledgement", false},
        {"read back otherwise", {{kAck}, {ReportOf(18)}}, ReaderSetup::Result::NotVerified, "the reader reports id is 18, not 17", true},
        {"an acknowledgement for the query", {{kAck}, {kAck}}, ReaderSetup::Result::NotVerified, "an acknowledgement, not a report", false},
        {"gone between set and verify", {{kAck}, {"", true}}, ReaderSetup::Result::HungUp, "the port went away", false},
        {"garbage at another rate", {{std::string("\x55\xAA\x13\x80", 4)}}, ReaderSetup::Result::Garbled, "not a reader's reply: 55 AA 13 80", false},
        {"silence", {{""}}, ReaderSetup::Result::NoReply, "no reply within 400 ms", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Pty pty;
        SerialLink link;
        link.SetPortName(pty.SlavePath());
        link.SetLineSettings(ReaderLine(9600));
        link.StartPort();
        std::thread device([&] {
            for (const Step &step : c.steps) {
                if (pty.Read(kFrameSize, 3000).size() != kFrameSize)
                    return;
                if (!step.answer.empty())
                    pty.Write(step.answer);
                if (step.hang_up) {
                    pty.DropKeeper();
                    pty.CloseMaster();
                    return;
                }
            }
        });
        ReaderSetup setup(link);
        std::optional<ReaderSetup::Outcome> outcome;
        QObject::connect(&setup, &ReaderSetup::finished, [&](const ReaderSetup::Outcome &o) { outcome = o; });
        setup.Start(values, true, 400);
        EXPECT_TRUE(setup.Running());
        const bool finished = WaitUntil([&] { return outcome.has_value(); }, 5000);
        device.join();
        link.StopPort();
        ASSERT_TRUE(finished);
        EXPECT_FALSE(setup.Running());
        EXPECT_EQ(outcome->result, c.result);
        EXPECT_NE(outcome->problem.find(c.problem_has), std::string::npos) << outcome->problem;
        EXPECT_EQ(outcome->report.has_value(), c.report);
    }
}
