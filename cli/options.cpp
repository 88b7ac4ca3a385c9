#include "options.h"

#include <algorithm>

#include "protocol/profile.h"
#include "ui/qtext.h"

#include <QCommandLineParser>
#include <QFile>

#include <array>

namespace rovi::cli {

namespace {

struct CommandInfo {
    Command command;
    const char *name;
    bool needs_port;
    const char *help;
};

const std::array<CommandInfo, 9> kCommands{{
    {Command::Ports, "ports", false,
     "rovi-cli ports [--json]\n"
     "  The serial devices present: path, stable by-id name, description, and\n"
     "  who holds it when it is busy.\n"
     "  example: rovi-cli ports --json\n"},
    {Command::Query, "query", true,
     "rovi-cli -p PORT query [--json]\n"
     "  Sends the query frame and prints the reader's settings and raw bytes.\n"
     "  example: rovi-cli -p /dev/ttyUSB0 query\n"},
    {Command::Set, "set", true,
     "rovi-cli -p PORT set FIELD=VALUE... [--profile FILE] [--verify]\n"
     "  One field goes as a single-field frame, several as one set-all frame\n"
     "  with the others left unchanged. Fields:\n"
     "    ctrl=HH  id=1..240  wiegand=dip|26|34|36|44|off\n"
     "    format=standard|hex|dec|off  baud=1200..115200\n"
     "    power=external|software:1..32  reread=Ns|Nm[,leave] (0..60)\n"
     "    send=Ns (0..60) or N.Ns (0.0..6.0, in tenths)\n"
     "  --profile FILE takes the fields from a profile (one FIELD=VALUE a line,\n"
     "  # comments; the window's 保存参数 writes one); words given as well take\n"
     "  the place of the profile's.\n"
     "  example: rovi-cli -p /dev/ttyUSB0 set id=17 wiegand=34 baud=9600 --verify\n"},
    {Command::Reset, "reset", true,
     "rovi-cli -p PORT reset\n"
     "  Restores the reader's factory settings.\n"
     "  example: rovi-cli -p /dev/ttyUSB0 reset\n"},
    {Command::Send, "send", true,
     "rovi-cli -p PORT send HEX\n"
     "  Sends raw bytes typed as hex (pairs from the first digit, anything else\n"
     "  separates) and prints the first chunk that comes back.\n"
     "  example: rovi-cli -p /dev/ttyUSB0 send 'FE F1 00 00 00 00 00 00 00 00 00 FF'\n"},
    {Command::Monitor, "monitor", true,
     "rovi-cli -p PORT monitor [--json] [--cards] [--count N] [--timeout MS]\n"
     "  Prints every received chunk as it closes (time, hex, text) until\n"
     "  interrupted, N chunks, or (with --timeout) MS ms of silence (exit 4).\n"
     "  --cards prints each chunk that is no reply: its digits, or its hex\n"
     "  line for a card in the reader's binary format (标准格式).\n"
     "  example: rovi-cli -p /dev/ttyUSB0 monitor --cards\n"},
    {Command::Provision, "provision", true,
     "rovi-cli -p PORT provision FIELD=VALUE... [--profile FILE] [--id-from N] [--record FILE] [--count N]\n"
     "  For each reader plugged in: waits for PORT to appear, sets the fields\n"
     "  (and the next ID with --id-from), verifies them by a query, prints a\n"
     "  result line (appended to FILE as CSV), waits for PORT to disappear.\n"
     "  Runs until interrupted or N readers are done. --profile as for set (with\n"
     "  --id-from the counting ID takes the place of the profile's id).\n"
     "  example: rovi-cli -p /dev/serial/by-id/usb-… provision wiegand=34 baud=9600 \\\n"
     "           --id-from 17 --record site.csv\n"},
    {Command::Scan, "scan", false,
     "rovi-cli scan [--port PORT]... [--baud RATE]... [--timeout MS] [--json]\n"
     "  Finds readers whose port and baud rate nobody knows: the query at each\n"
     "  rate (all eight, or those given) on each port (the USB and ACM adapters\n"
     "  present, or those given) at once; one line per reader found: port,\n"
     "  rate and its settings. Exit 0 when one answered, 4 when none did, 3\n"
     "  when no port could be opened. --timeout bounds the whole search.\n"
     "  example: rovi-cli scan --port /dev/ttyUSB0 --port /dev/ttyUSB1\n"},
    {Command::Cards, "cards", true,
     "rovi-cli -p PORT cards [--seconds S] [--json]\n"
     "  Listens for S seconds (default 10) and prints which cards the reader\n"
     "  read: one line a card with its reads, first and last read, the mean\n"
     "  interval, the reads in the last minute and whether it has left (not\n"
     "  read for the last 3 s). Replies to other programs' commands are no\n"
     "  cards. Exit 0 when a card was read, 4 when none was.\n"
     "  example: rovi-cli -p /dev/ttyUSB0 cards --seconds 30 --json\n"},
}};

const char kUsage[] =
    "usage: rovi-cli [options] COMMAND [arguments]\n"
    "\n"
    "The 2.4 GHz card reader from scripts. Commands: ports, query, set, reset,\n"
    "send, monitor, provision, scan, cards; `rovi-cli COMMAND --help` tells more.\n"
    "\n"
    "options:\n"
    "  -p, --port PORT       the serial device (/dev/ttyUSB0, /dev/serial/by-id/…, COMn)\n"
    "  -b, --baud RATE       line speed (default 9600)\n"
    "  --parity P            none, odd, even, mark or space (default none)\n"
    "  --data-bits N         5 to 8 (default 8)\n"
    "  --stop-bits N         1, 1.5 or 2 (default 1)\n"
    "  --timeout MS          how long to wait for a reply (default 1000);\n"
    "                        monitor: the silence that ends it (default none)\n"
    "  --json                print JSON (one object; monitor: one a line)\n"
    "  --verify              set: query afterwards and compare\n"
    "  --cards               monitor: card numbers only (no replies)\n"
    "  --count N             monitor: stop after N chunks; provision: after N readers\n"
    "  --seconds S           cards: listen this long (default 10)\n"
    "  --id-from N           provision: the first reader's ID, counting up\n"
    "  --record FILE         provision: append each result to FILE as CSV\n"
    "  --profile FILE        set, provision: the fields from a profile file\n"
    "  --version             print the version\n"
    "  -h, --help            this text\n"
    "\n"
    "exit codes:\n"
    "  0 done   1 other failure   2 bad arguments (nothing sent)\n"
    "  3 the port could not be opened   4 no reply within the time-out\n"
    "  5 the reader refused (negative acknowledgement)\n"
    "  6 a reply that does not verify\n";

Message Error(const QString &text)
{
    return {"rovi-cli: " + text.toStdString() + "\n(rovi-cli --help tells more)\n", true};
}

std::optional<int> PositiveInt(const QString &text, int low, int high)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return std::nullopt;
    return v;
}

// A profile's fields, or why it cannot be used.
std::variant<std::vector<FieldValue>, QString> ReadProfile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read the profile %1: %2").arg(path, file.errorString());
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxProfileBytes) + 1);
    const auto parsed = ParseProfile(ViewOf(bytes));
    if (const auto *error = std::get_if<ProfileError>(&parsed))
        return error->line > 0 ? QStringLiteral("profile %1, line %2: %3").arg(path).arg(error->line).arg(QString::fromStdString(error->reason))
                               : QStringLiteral("profile %1: %2").arg(path, QString::fromStdString(error->reason));
    return std::get<std::vector<FieldValue>>(parsed);
}

} // namespace

std::variant<Invocation, Message> ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption port(QStringList{"p", "port"}, "", "PORT");
    const QCommandLineOption baud(QStringList{"b", "baud"}, "", "RATE");
    const QCommandLineOption parity("parity", "", "P");
    const QCommandLineOption data_bits("data-bits", "", "N");
    const QCommandLineOption stop_bits("stop-bits", "", "N");
    const QCommandLineOption timeout("timeout", "", "MS");
    const QCommandLineOption json("json");
    const QCommandLineOption verify("verify");
    const QCommandLineOption cards("cards");
    const QCommandLineOption count("count", "", "N");
    const QCommandLineOption seconds("seconds", "", "S");
    const QCommandLineOption id_from("id-from", "", "N");
    const QCommandLineOption record("record", "", "FILE");
    const QCommandLineOption profile("profile", "", "FILE");
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version("version");
    parser.addOptions({version, port, baud, parity, data_bits, stop_bits, timeout, json, verify, cards, count, seconds, id_from, record, profile, help});
    if (!parser.parse(arguments))
        return Error(parser.errorText());

    const QStringList words = parser.positionalArguments();
    const CommandInfo *info = nullptr;
    if (!words.isEmpty())
        for (const CommandInfo &c : kCommands)
            if (words[0] == QLatin1String(c.name))
                info = &c;
    if (parser.isSet(version))
        return Message{std::string("rovi-cli ") + ROVI_VERSION + "\n", false};
    if (parser.isSet(help))
        return Message{info ? info->help : kUsage, false};
    if (words.isEmpty())
        return Error("no command given");
    if (!info)
        return Error("unknown command '" + words[0] + "'");

    // Options the command has no use for are refused, not ignored.
    {
        struct Use {
            const QCommandLineOption &option;
            std::initializer_list<Command> commands;
        };
        const std::initializer_list<Command> on_line{Command::Query,   Command::Set,       Command::Reset,
                                                     Command::Send,    Command::Monitor,   Command::Provision,
                                                     Command::Cards};
        const std::initializer_list<Command> on_line_or_scan{Command::Query,   Command::Set,       Command::Reset,
                                                             Command::Send,    Command::Monitor,   Command::Provision,
                                                             Command::Scan,    Command::Cards};
        const std::initializer_list<Command> waiting_for_replies{Command::Query,   Command::Set,       Command::Reset,
                                                                 Command::Send,    Command::Monitor,   Command::Provision,
                                                                 Command::Scan};
        const Use uses[] = {
            {port, on_line_or_scan},
            {baud, on_line_or_scan},
            {parity, on_line},
            {data_bits, on_line},
            {stop_bits, on_line},
            {timeout, waiting_for_replies},
            {json, {Command::Ports, Command::Query, Command::Set, Command::Send, Command::Monitor, Command::Provision,
                    Command::Scan, Command::Cards}},
            {verify, {Command::Set}},
            {cards, {Command::Monitor}},
            {count, {Command::Monitor, Command::Provision}},
            {seconds, {Command::Cards}},
            {id_from, {Command::Provision}},
            {record, {Command::Provision}},
            {profile, {Command::Set, Command::Provision}},
        };
        for (const Use &use : uses) {
            const bool applies = std::find(use.commands.begin(), use.commands.end(), info->command) != use.commands.end();
            if (parser.isSet(use.option) && !applies)
                return Error(QStringLiteral("--%1 does not apply to %2").arg(use.option.names().back(), info->name));
        }
    }

    Invocation inv;
    inv.command = info->command;
    inv.json = parser.isSet(json);
    inv.verify = parser.isSet(verify);
    inv.cards = parser.isSet(cards);
    inv.line.port = parser.value(port).toStdString();
    if (info->needs_port && inv.line.port.empty())
        return Error(QStringLiteral("%1 needs a port: -p PORT").arg(info->name));
    if (parser.isSet(baud)) {
        const auto rate = PositiveInt(parser.value(baud), 1, 4000000);
        if (!rate)
            return Error("--baud wants a rate from 1 to 4000000, not '" + parser.value(baud) + "'");
        inv.line.baud = static_cast<std::uint32_t>(*rate);
    }
    if (parser.isSet(parity)) {
        const QStringList names{"none", "odd", "even", "mark", "space"};
        const int index = names.indexOf(parser.value(parity).toLower());
        if (index < 0)
            return Error("--parity wants none, odd, even, mark or space, not '" + parser.value(parity) + "'");
        inv.line.parity = static_cast<Parity>(index);
    }
    if (parser.isSet(data_bits)) {
        const auto bits = PositiveInt(parser.value(data_bits), 5, 8);
        if (!bits)
            return Error("--data-bits wants 5 to 8, not '" + parser.value(data_bits) + "'");
        inv.line.data_bits = static_cast<DataBits>(*bits - 5);
    }
    if (parser.isSet(stop_bits)) {
        const QString v = parser.value(stop_bits);
        if (v == "1")
            inv.line.stop_bits = StopBits::One;
        else if (v == "1.5")
            inv.line.stop_bits = StopBits::OnePointFive;
        else if (v == "2")
            inv.line.stop_bits = StopBits::Two;
        else
            return Error("--stop-bits wants 1, 1.5 or 2, not '" + v + "'");
    }
    if (parser.isSet(timeout)) {
        const auto ms = PositiveInt(parser.value(timeout), 1, 3600000);
        if (!ms)
            return Error("--timeout wants milliseconds from 1 to 3600000, not '" + parser.value(timeout) + "'");
        inv.timeout_ms = *ms;
        inv.timeout_set = true;
    }
    if (parser.isSet(count)) {
        inv.count = PositiveInt(parser.value(count), 1, 2147483647);
        if (!inv.count)
            return Error("--count wants a positive number, not '" + parser.value(count) + "'");
    }
    if (parser.isSet(id_from)) {
        inv.id_from = PositiveInt(parser.value(id_from), kIdMin, kIdMax);
        if (!inv.id_from)
            return Error(QStringLiteral("--id-from wants an ID from %1 to %2, not '%3'")
                             .arg(kIdMin).arg(kIdMax).arg(parser.value(id_from)));
    }
    if (parser.isSet(seconds)) {
        const auto s = PositiveInt(parser.value(seconds), 1, 86400);
        if (!s)
            return Error("--seconds wants a number of seconds from 1 to 86400, not '" + parser.value(seconds) + "'");
        inv.seconds = *s;
    }
    inv.record = parser.value(record).toStdString();
    if (inv.command == Command::Scan) {
        // Each may be given more than once.
        for (const QString &p : parser.values(port))
            inv.scan_ports.push_back(p.toStdString());
        for (const QString &b : parser.values(baud)) {
            const auto rate = PositiveInt(b, 1, 4000000);
            if (!rate || std::find(std::begin(kBaudRateValues), std::end(kBaudRateValues), *rate) == std::end(kBaudRateValues))
                return Error("scan: --baud wants one of the reader's rates, 1200 to 115200, not '" + b + "'");
            inv.scan_rates.push_back(*rate);
        }
    }

    const QStringList rest = words.mid(1);
    switch (inv.command) {
    case Command::Ports:
    case Command::Query:
    case Command::Reset:
    case Command::Monitor:
    case Command::Scan:
    case Command::Cards:
        if (!rest.isEmpty())
            return Error(QStringLiteral("%1 takes no arguments").arg(info->name));
        break;
    case Command::Send:
        if (rest.size() != 1)
            return Error("send wants one HEX argument (quote it when it has spaces)");
        inv.hex = rest[0].toStdString();
        break;
    case Command::Set:
    case Command::Provision: {
        std::vector<std::string> assignments;
        for (const QString &word : rest)
            assignments.push_back(word.toStdString());
        std::vector<FieldValue> from_profile;
        if (parser.isSet(profile)) {
            auto read = ReadProfile(parser.value(profile));
            if (const auto *error = std::get_if<QString>(&read))
                return Error(*error);
            from_profile = std::get<std::vector<FieldValue>>(read);
        }
        if (!assignments.empty()) {
            auto parsed = ParseAssignments(assignments);
            if (const auto *error = std::get_if<FieldError>(&parsed))
                return Error(QString::fromStdString(error->message));
            inv.fields = std::get<std::vector<FieldValue>>(parsed);
        }
        if (inv.command == Command::Provision && inv.id_from)
            for (const FieldValue &f : inv.fields)
                if (f.field == Field::id_addr)
                    return Error("give either id= or --id-from, not both");
        // The words given take the place of the profile's; with --id-from
        // the counting ID takes the place of the profile's id.
        for (const FieldValue &f : from_profile) {
            const bool replaced = std::any_of(inv.fields.begin(), inv.fields.end(),
                                              [&](const FieldValue &given) { return given.field == f.field; });
            if (!replaced && !(f.field == Field::id_addr && inv.id_from))
                inv.fields.push_back(f);
        }
        if (inv.fields.empty() && !(inv.command == Command::Provision && inv.id_from))
            return Error("no FIELD=VALUE given");
        break;
    }
    }
    return inv;
}

} // namespace rovi::cli
