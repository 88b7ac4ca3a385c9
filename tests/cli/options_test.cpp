#include "cli/options.h"

#include "tests/support/rowname.h"
#include "tests/support/tempdir.h"

#include <fstream>

#include <gtest/gtest.h>

using namespace rovi;
using namespace rovi::cli;

namespace {

struct ArgsCase {
    const char *name;
    QStringList args;
    const char *error; // part of the message, or nullptr when it parses
};

class CommandLine : public testing::TestWithParam<ArgsCase> {};

std::variant<Invocation, Message> Parse(QStringList args)
{
    args.prepend("rovi-cli");
    return ParseCommandLine(args);
}

} // namespace

TEST_P(CommandLine, ParsesOrSaysWhatIsWrong)
{
    const auto parsed = Parse(GetParam().args);
    if (!GetParam().error) {
        EXPECT_TRUE(std::holds_alternative<Invocation>(parsed)) << std::get<Message>(parsed).text;
        return;
    }
    ASSERT_TRUE(std::holds_alternative<Message>(parsed));
    EXPECT_TRUE(std::get<Message>(parsed).error);
    EXPECT_NE(std::get<Message>(parsed).text.find(GetParam().error), std::string::npos) << std::get<Message>(parsed).text;
}

INSTANTIATE_TEST_SUITE_P(Args, CommandLine, testing::Values(
    ArgsCase{"PortsNeedsNoPort", {"ports"}, nullptr},
    ArgsCase{"QueryWithPort", {"-p", "/dev/ttyUSB0", "query"}, nullptr},
    ArgsCase{"LineOptions", {"--port=COM3", "-b", "115200", "--parity", "even", "--data-bits", "7", "--stop-bits", "2", "query"}, nullptr},
    ArgsCase{"NoCommand", {"-p", "x"}, "no command given"},
    ArgsCase{"UnknownCommand", {"-p", "x", "read"}, "unknown command 'read'"},
    ArgsCase{"QueryWithoutPort", {"query"}, "query needs a port"},
    ArgsCase{"UnknownOption", {"-p", "x", "--fast", "query"}, "fast"},
    ArgsCase{"BadParity", {"-p", "x", "--parity", "red", "query"}, "--parity wants none, odd, even"},
    ArgsCase{"BadDataBits", {"-p", "x", "--data-bits", "9", "query"}, "--data-bits wants 5 to 8"},
    ArgsCase{"BadStopBits", {"-p", "x", "--stop-bits", "3", "query"}, "--stop-bits wants 1, 1.5 or 2"},
    ArgsCase{"BadTimeout", {"-p", "x", "--timeout", "0", "query"}, "--timeout wants"},
    ArgsCase{"QueryTakesNoArguments", {"-p", "x", "query", "id=1"}, "query takes no arguments"},
    ArgsCase{"SendWantsOneHex", {"-p", "x", "send"}, "send wants one HEX"},
    ArgsCase{"SetOutOfRange", {"-p", "x", "set", "id=300"}, "field id"},
    ArgsCase{"ProvisionIdOnly", {"-p", "x", "provision", "--id-from", "5"}, nullptr},
    ArgsCase{"ProvisionIdTwice", {"-p", "x", "provision", "--id-from", "5", "id=3"}, "either id= or --id-from"},
    ArgsCase{"ProvisionIdFromPastRange", {"-p", "x", "provision", "--id-from", "241"}, "--id-from wants an ID from 1 to 240"},
    ArgsCase{"PortsTakesNoLine", {"-b", "9600", "ports"}, "--baud does not apply to ports"},
    ArgsCase{"VerifyIsForSet", {"-p", "x", "--verify", "query"}, "--verify does not apply to query"},
    ArgsCase{"CardsAreForMonitor", {"-p", "x", "--cards", "send", "01"}, "--cards does not apply to send"},
    ArgsCase{"RecordIsForProvision", {"-p", "x", "--record", "a.csv", "set", "id=3"}, "--record does not apply to set"},
    ArgsCase{"CountIsNotForReset", {"-p", "x", "--count", "2", "reset"}, "--count does not apply to reset"},
    ArgsCase{"JsonIsNotForReset", {"-p", "x", "--json", "reset"}, "--json does not apply to reset"},
    ArgsCase{"CardsListens", {"-p", "x", "cards", "--seconds", "30", "--json"}, nullptr},
    ArgsCase{"CardsWantsWholeSeconds", {"-p", "x", "cards", "--seconds", "0.5"}, "--seconds wants a number of seconds from 1"},
    ArgsCase{"SecondsAreForCards", {"-p", "x", "--seconds", "3", "monitor"}, "--seconds does not apply to monitor"},
    ArgsCase{"CardsHaveNoTimeout", {"-p", "x", "--timeout", "3", "cards"}, "--timeout does not apply to cards"}),
    test::RowName{});

TEST(CommandLine, CarriesTheValuesThrough)
{
    const auto parsed = Parse({"-p", "/dev/ttyACM0", "--baud", "19200", "--parity", "odd", "--data-bits", "7",
                               "--stop-bits", "1.5", "--timeout", "250", "--verify", "--json", "set", "id=17", "baud=9600"});
    ASSERT_TRUE(std::holds_alternative<Invocation>(parsed));
    const Invocation &inv = std::get<Invocation>(parsed);
    EXPECT_EQ(inv.command, Command::Set);
    EXPECT_EQ(inv.line.port, "/dev/ttyACM0");
    EXPECT_EQ(inv.line.baud, 19200u);
    EXPECT_EQ(inv.line.parity, Parity::Odd);
    EXPECT_EQ(inv.line.data_bits, DataBits::Seven);
    EXPECT_EQ(inv.line.stop_bits, StopBits::OnePointFive);
    EXPECT_EQ(inv.timeout_ms, 250);
    EXPECT_TRUE(inv.verify);
    EXPECT_TRUE(inv.json);
    EXPECT_EQ(inv.fields, (std::vector<FieldValue>{{Field::id_addr, 17}, {Field::baud, 4}}));
}

// The rows above that parse, with the values they give.
TEST(CommandLine, TheParsingRowsGiveTheirValues)
{
    const auto line = Parse({"--port=COM3", "-b", "115200", "--parity", "even", "--data-bits", "7", "--stop-bits", "2", "query"});
    ASSERT_TRUE(std::holds_alternative<Invocation>(line));
    const Invocation &q = std::get<Invocation>(line);
    EXPECT_EQ(q.command, Command::Query);
    EXPECT_EQ(q.line.port, "COM3");
    EXPECT_EQ(q.line.baud, 115200u);
    EXPECT_EQ(q.line.parity, Parity::Even);
    EXPECT_EQ(q.line.data_bits, DataBits::Seven);
    EXPECT_EQ(q.line.stop_bits, StopBits::Two);
    EXPECT_EQ(q.timeout_ms, 1000);
    EXPECT_FALSE(q.timeout_set);

    const auto provision = Parse({"-p", "x", "provision", "--id-from", "5"});
    ASSERT_TRUE(std::holds_alternative<Invocation>(provision));
    const Invocation &p = std::get<Invocation>(provision);
    EXPECT_EQ(p.command, Command::Provision);
    EXPECT_EQ(p.id_from, 5);
    EXPECT_TRUE(p.fields.empty());
    EXPECT_FALSE(p.count);
    EXPECT_TRUE(p.record.empty());

    const auto ports = Parse({"ports"});
    ASSERT_TRUE(std::holds_alternative<Invocation>(ports));
    EXPECT_EQ(std::get<Invocation>(ports).command, Command::Ports);
}

TEST(CommandLine, HelpForEachCommandHasAnExample)
{
    for (const char *command : {"ports", "query", "set", "reset", "send", "monitor", "provision"}) {
        const auto parsed = Parse({command, "--help"});
        ASSERT_TRUE(std::holds_alternative<Message>(parsed)) << command;
        EXPECT_FALSE(std::get<Message>(parsed).error);
        EXPECT_NE(std::get<Message>(parsed).text.find(std::string("example: rovi-cli")), std::string::npos) << command;
    }
    const auto general = Parse({"--help"});
    ASSERT_TRUE(std::holds_alternative<Message>(general));
    EXPECT_NE(std::get<Message>(general).text.find("exit codes:"), std::string::npos);
}

// --profile: the file's fields, the words given in their place, the
// counting ID in place of its id; a bad profile says its line.
TEST(CommandLine, AProfileGivesItsFields)
{
    test::TempDir dir;
    std::ofstream("site.rovi") << "# site A\r\nid=9\r\nwiegand=34\r\nbaud=9600\r\n";
    std::ofstream("bad.rovi") << "wiegand=34\nbaud=9601\n";

    const auto set = Parse({"-p", "x", "set", "--profile", "site.rovi"});
    ASSERT_TRUE(std::holds_alternative<Invocation>(set)) << std::get<Message>(set).text;
    EXPECT_EQ(std::get<Invocation>(set).fields,
              (std::vector<FieldValue>{{Field::id_addr, 9}, {Field::wiegand, 0x42}, {Field::baud, 0x04}}));

    const auto both = Parse({"-p", "x", "set", "--profile", "site.rovi", "baud=115200"});
    ASSERT_TRUE(std::holds_alternative<Invocation>(both));
    EXPECT_EQ(std::get<Invocation>(both).fields,
              (std::vector<FieldValue>{{Field::baud, 0x08}, {Field::id_addr, 9}, {Field::wiegand, 0x42}}));

    const auto batch = Parse({"-p", "x", "provision", "--profile", "site.rovi", "--id-from", "17"});
    ASSERT_TRUE(std::holds_alternative<Invocation>(batch));
    EXPECT_EQ(std::get<Invocation>(batch).fields, (std::vector<FieldValue>{{Field::wiegand, 0x42}, {Field::baud, 0x04}}));
    EXPECT_EQ(std::get<Invocation>(batch).id_from, 17);

    const struct {
        QStringList args;
        const char *error;
    } refused[] = {
        {{"-p", "x", "set", "--profile", "bad.rovi"}, "profile bad.rovi, line 2: field baud: '9601' is not allowed"},
        {{"-p", "x", "set", "--profile", "missing.rovi"}, "cannot read the profile missing.rovi"},
        {{"-p", "x", "--profile", "site.rovi", "query"}, "--profile does not apply to query"},
        {{"-p", "x", "set"}, "no FIELD=VALUE given"},
    };
    for (const auto &row : refused) {
        const auto parsed = Parse(row.args);
        ASSERT_TRUE(std::holds_alternative<Message>(parsed)) << row.args.join(' ').toStdString();
        EXPECT_NE(std::get<Message>(parsed).text.find(row.error), std::string::npos) << std::get<Message>(parsed).text;
    }
}
