#include "commands.h"

#include "protocol/batchrecord.h"

#include "base/appendfile.h"

#include "cardscommand.h"
#include "readerlink.h"

#include "protocol/hexstr.h"
#include "protocol/replyscan.h"
#include "serial/batchsetup.h"
#include "serial/readersearch.h"
#include "serial/readersetup.h"

#include <QDateTime>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <sstream>

namespace rovi::cli {

namespace {

// Looks at a present port that will not open before its reader is failed.
constexpr int kOpenTries = 11;

void PrintJson(std::ostream &out, const QJsonObject &object)
{
    out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << std::endl;
}

QString Q(const std::string &text)
{
    return QString::fromStdString(text);
}

std::string Now()
{
    return QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toStdString();
}

const char *const kTitles[kFieldCount] = {"Control byte", "ID address", "Wiegand", "Serial format",
                                          "Baud rate",    "Power",      "Re-read time", "Send time"};

QJsonObject FieldsJson(const FieldBytes &fields)
{
    QJsonObject object;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        const auto value = ValueText(field, fields[i]);
        object.insert(FieldName(field), QJsonObject{{"byte", fields[i]},
                                                    {"value", value ? QJsonValue(Q(*value)) : QJsonValue()},
                                                    {"text", Q(Describe(field, fields[i]))}});
    }
    return object;
}

void PrintReport(std::ostream &out, const Frame &report, bool json)
{
    const FieldBytes fields = FieldBytesOf(report);
    if (json) {
        PrintJson(out, {{"fields", FieldsJson(fields)}, {"raw", Q(HexLine(AsBytes(report)))}});
        return;
    }
    // Control byte last, as it is the least read.
    for (std::size_t n = 1; n <= kFieldCount; ++n) {
        const std::size_t i = n % kFieldCount;
        std::string title = kTitles[i];
        title.resize(15, ' ');
        out << title << Describe(static_cast<Field>(i), fields[i]) << "\n";
    }
    out << "Raw            " << HexLine(AsBytes(report)) << std::endl;
}

// A command's outcome: an exit code and what to tell a person.
struct Outcome {
    int code;
    std::string problem; // empty when done
};

// Nothing came: the line went away, or it stayed silent.
Outcome NoReply(const ReaderLink &link, int timeout_ms)
{
    if (link.HungUp())
        return {kExitFailure, "the port went away"};
    return {kExitNoReply, "no reply within " + std::to_string(timeout_ms) + " ms"};
}

// Runs one conversation with the reader to its end: the outcome as an exit
// code and words, and the report read back (when there was one).
std::pair<Outcome, std::optional<Frame>> Converse(ReaderLink &link, const std::function<void(ReaderSetup &)> &start)
{
    ReaderSetup setup(link.Serial());
    std::optional<ReaderSetup::Outcome> outcome;
    QEventLoop loop;
    QObject::connect(&setup, &ReaderSetup::finished, &loop, [&](const ReaderSetup::Outcome &o) {
        outcome = o;
        loop.quit();
    });
    start(setup);
    if (!outcome)
        loop.exec();
    int code = kExitDone;
    switch (outcome->result) {
    case ReaderSetup::Result::Done: code = kExitDone; break;
    case ReaderSetup::Result::NoReply: code = kExitNoReply; break;
    case ReaderSetup::Result::Garbled: code = kExitNotVerified; break;
    case ReaderSetup::Result::Refused: code = kExitRefused; break;
    case ReaderSetup::Result::NotVerified: code = kExitNotVerified; break;
    case ReaderSetup::Result::HungUp: code = kExitFailure; break;
    }
    return {{code, outcome->problem}, outcome->report};
}

// Sets the fields and, with `verify`, queries and compares.
std::pair<Outcome, std::optional<Frame>> SetFields(ReaderLink &link, const std::vector<FieldValue> &values, bool verify,
                                                  int timeout_ms)
{
    return Converse(link, [&](ReaderSetup &setup) { setup.Start(values, verify, timeout_ms); });
}

int Finish(const Outcome &outcome, std::ostream &err)
{
    if (!outcome.problem.empty())
        err << "rovi-cli: " << outcome.problem << std::endl;
    return outcome.code;
}

int RunPorts(const Invocation &inv, std::ostream &out)
{
    const auto ports = ListPorts();
    if (inv.json) {
        QJsonArray list;
        for (const PortEntry &p : ports) {
            QJsonArray holders;
            for (const PortHolder &h : p.holders)
                holders.append(QJsonObject{{"pid", static_cast<int>(h.pid)}, {"command", Q(h.command)}});
            list.append(QJsonObject{{"path", Q(p.path)}, {"by_id", Q(p.by_id)}, {"description", Q(p.description)},
                                    {"holders", holders}});
        }
        PrintJson(out, {{"ports", list}});
        return kExitDone;
    }
    for (const PortEntry &p : ports) {
        out << p.path << "\t" << (p.by_id.empty() ? "-" : p.by_id) << "\t" << (p.description.empty() ? "-" : p.description);
        for (const PortHolder &h : p.holders)
            out << "\tbusy: " << h.command << " (pid " << h.pid << ")";
        out << "\n";
    }
    out.flush();
    return kExitDone;
}

// The ports a scan searches when none are given: the USB and ACM adapters
// present (by their stable names where udev gives them); built-in ports are
// left out, as they are consoles or absent on many machines.
std::vector<std::string> ScanCandidates()
{
    std::vector<std::string> ports;
    for (const PortEntry &p : ListPorts(PortHolders::Skip)) {
#ifndef _WIN32
        if (p.path.starts_with("/dev/ttyS"))
            continue;
#endif
        ports.push_back(p.by_id.empty() ? p.path : p.by_id);
    }
    return ports;
}

// A report's fields in rovi-cli's words: "id=1 wiegand=26 …".
std::string ReportWords(const Frame &report)
{
    const FieldBytes fields = FieldBytesOf(report);
    std::vector<FieldValue> shown; // all but the control byte
    for (std::size_t i = 1; i < kFieldCount; ++i)
        shown.push_back({static_cast<Field>(i), fields[i]});
    return Words(shown);
}

int RunScan(const Invocation &inv, std::ostream &out, std::ostream &err)
{
    const std::vector<std::string> ports = inv.scan_ports.empty() ? ScanCandidates() : inv.scan_ports;
    if (ports.empty())
        return Finish({kExitOpenFailed, "no serial adapter to search (give ports with --port)"}, err);
    std::vector<int> rates = inv.scan_rates;
    if (rates.empty())
        rates.assign(std::begin(kBaudRateValues), std::end(kBaudRateValues));
    ReaderSearch search;
    QEventLoop loop;
    int found = 0;
    int failed = 0;
    QObject::connect(&search, &ReaderSearch::found, [&](const QString &port, int rate, const Frame &report) {
        ++found;
        if (inv.json)
            PrintJson(out, {{"port", port}, {"baud", rate}, {"fields", FieldsJson(FieldBytesOf(report))},
                            {"raw", Q(HexLine(AsBytes(report)))}});
        else
            out << "found   " << port.toStdString() << "  baud=" << rate << "  " << ReportWords(report) << std::endl;
    });
    QObject::connect(&search, &ReaderSearch::portFailed, [&](const QString &port, int error) {
        ++failed;
        const std::string name = port.toStdString();
        err << "rovi-cli: " << ExplainOpenFailure(name, DiagnoseOpenFailure(name, error)) << std::endl;
    });
    QObject::connect(&search, &ReaderSearch::portSilent, [&](const QString &port) {
        err << "rovi-cli: no reader answered on " << port.toStdString() << std::endl;
    });
    QObject::connect(&search, &ReaderSearch::finished, &loop, &QEventLoop::quit);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    search.Start(ports, SearchRateOrder(rates, std::nullopt));
    if (search.Running()) {
        if (inv.timeout_set)
            limit.start(inv.timeout_ms);
        loop.exec();
        search.Stop();
    }
    if (found > 0)
        return kExitDone;
    if (failed == static_cast<int>(ports.size()))
        return kExitOpenFailed;
    return kExitNoReply;
}

int RunSet(const Invocation &inv, ReaderLink &link, std::ostream &out, std::ostream &err)
{
    const auto [outcome, report] = SetFields(link, inv.fields, inv.verify, inv.timeout_ms);
    const bool accepted = outcome.code == kExitDone || (report && outcome.code == kExitNotVerified);
    if (!accepted)
        return Finish(outcome, err);
    if (inv.json) {
        QJsonObject result{{"set", Q(Words(inv.fields))}, {"accepted", true}};
        if (report) {
            result.insert("verified", outcome.code == kExitDone);
            result.insert("fields", FieldsJson(FieldBytesOf(*report)));
            result.insert("raw", Q(HexLine(AsBytes(*report))));
        }
        PrintJson(out, result);
    } else {
        const char *said = !report ? "accepted: " : outcome.code == kExitDone ? "verified: " : "accepted, but not verified: ";
        out << said << Words(inv.fields) << std::endl;
    }
    return Finish(outcome, err);
}

int RunSend(const Invocation &inv, ReaderLink &link, std::ostream &out, std::ostream &err)
{
    const ByteString bytes = HexToBytes(inv.hex);
    link.Send(bytes);
    const auto reply = link.NextChunk(inv.timeout_ms);
    if (!reply)
        return Finish(NoReply(link, inv.timeout_ms), err);
    if (inv.json)
        PrintJson(out, {{"sent", Q(HexLine(bytes))}, {"hex", Q(HexLine(*reply))}, {"text", Q(TextLine(*reply))}});
    else
        out << HexLine(*reply) << "\n" << TextLine(*reply) << std::endl;
    return kExitDone;
}

// A chunk that is one reply frame and nothing else.
bool IsWholeReply(const ByteString &chunk)
{
    const auto found = FindReply(chunk, {});
    return found && found->offset == 0 && found->bytes.size() == chunk.size();
}

int RunMonitor(const Invocation &inv, ReaderLink &link, std::ostream &out, std::ostream &err)
{
    int seen = 0;
    // Without --timeout it watches until stopped; with it, silence that
    // long ends the watch.
    const int wait_ms = inv.timeout_set ? inv.timeout_ms : -1;
    while (!inv.count || seen < *inv.count) {
        const auto chunk = link.NextChunk(wait_ms);
        if (!chunk) {
            if (link.HungUp())
                return Finish({kExitFailure, "the port went away"}, err);
            return Finish({kExitNoReply, "nothing came within " + std::to_string(inv.timeout_ms) + " ms"}, err);
        }
        const std::string text = TextLine(*chunk);
        if (inv.cards && IsWholeReply(*chunk))
            continue; // a reply to another program's command: no card
        ++seen;
        // A card in the reader's binary format has no digits: its hex line, then.
        const std::string card = text.empty() ? HexLine(*chunk) : text;
        if (inv.json && inv.cards)
            PrintJson(out, {{"time", Q(Now())}, {"card", Q(card)}});
        else if (inv.json)
            PrintJson(out, {{"time", Q(Now())}, {"hex", Q(HexLine(*chunk))}, {"text", Q(text)}});
        else if (inv.cards)
            out << card << std::endl;
        else
            out << Now() << "  " << HexLine(*chunk) << "  " << text << std::endl;
    }
    return kExitDone;
}

// Readers one after another (BatchSetup, as the window's batch runs them):
// each result a line (or a JSON object), in the record when one is named.
int RunProvision(const Invocation &inv, std::ostream &out, std::ostream &err)
{
    BatchSetup::Plan plan;
    plan.port = inv.line.port;
    plan.line = LineOf(inv.line);
    plan.fields = inv.fields;
    plan.firstId = inv.id_from;
    plan.count = inv.count.value_or(0);
    plan.timeoutMs = inv.timeout_ms;
    plan.record = inv.record;
    // A freshly plugged adapter may need a moment, while udev sets its mode;
    // one that stays shut is that reader's failure.
    plan.openTries = kOpenTries;
    plan.openProblem = [&](int error) { return ExplainOpenFailure(inv.line.port, DiagnoseOpenFailure(inv.line.port, error)); };

    BatchSetup batch;
    QEventLoop loop;
    int code = kExitDone;
    QObject::connect(&batch, &BatchSetup::stateChanged, &loop, [&](BatchSetup::State state) {
        if (state == BatchSetup::State::WaitingForReader && !PortPresent(inv.line.port))
            err << "rovi-cli: waiting for " << inv.line.port << std::endl;
        else if (state == BatchSetup::State::WaitingForUnplug)
            err << "rovi-cli: unplug this reader and plug in the next" << std::endl;
    });
    QObject::connect(&batch, &BatchSetup::readerFinished, &loop, [&](const BatchSetup::Reader &reader) {
        const bool ok = reader.Ok();
        if (inv.json)
            PrintJson(out, {{"time", Q(reader.when.toString(Qt::ISODateWithMs).toStdString())},
                            {"port", Q(inv.line.port)}, {"result", ok ? "ok" : "failed"},
                            {"set", Q(Words(reader.values))}, {"detail", Q(reader.problem)},
                            {"raw", reader.report ? Q(HexLine(AsBytes(*reader.report))) : QJsonValue()}});
        else
            out << (ok ? "ok      " : "FAILED  ") << Words(reader.values) << (ok ? "" : "  (" + reader.problem + ")")
                << std::endl;
    });
    QObject::connect(&batch, &BatchSetup::ended, &loop, [&](BatchSetup::End end) {
        switch (end) {
        case BatchSetup::End::Done:
        case BatchSetup::End::Stopped: break;
        case BatchSetup::End::RecordFailed:
            code = Finish({kExitFailure, "cannot write the record " + inv.record + "; stopping"}, err);
            break;
        case BatchSetup::End::IdsUsedUp:
            if (!inv.count) // until stopped: the IDs have run out
                err << "rovi-cli: the next ID would pass " << kIdMax << "; stopping" << std::endl;
            else
                code = Finish({kExitFailure, "the next ID would pass " + std::to_string(kIdMax) + "; stopping after " +
                                                 std::to_string(batch.Finished()) + " reader(s)"},
                              err);
            break;
        }
        loop.quit();
    });
    std::string why;
    if (!batch.Start(plan, &why))
        return Finish({kExitUsage, "cannot write the record: " + why + "; nothing sent"}, err);
    loop.exec();
    return code;
}

} // namespace

int Run(const Invocation &inv, std::ostream &out, std::ostream &err)
{
    if (inv.command == Command::Ports)
        return RunPorts(inv, out);
    if (inv.command == Command::Provision)
        return RunProvision(inv, out, err);
    if (inv.command == Command::Scan)
        return RunScan(inv, out, err);
    if (inv.command == Command::Send && HexToBytes(inv.hex).empty())
        return Finish({kExitUsage, "'" + inv.hex + "' has no hexadecimal digit; nothing to send"}, err);
    std::optional<ReaderLink> link;
    try {
        link.emplace(inv.line);
    } catch (const OpenError &e) {
        return Finish({kExitOpenFailed, ExplainOpenFailure(inv.line.port, e.failure)}, err);
    }
    switch (inv.command) {
    case Command::Query: {
        const auto [outcome, report] = Converse(*link, [&](ReaderSetup &setup) { setup.StartQuery(inv.timeout_ms); });
        if (outcome.code != kExitDone || !report)
            return Finish(outcome, err);
        PrintReport(out, *report, inv.json);
        return kExitDone;
    }
    case Command::Set: return RunSet(inv, *link, out, err);
    case Command::Reset: {
        const Outcome ack = Converse(*link, [&](ReaderSetup &setup) {
            setup.StartCommand(ComposeFactoryReset(), inv.timeout_ms);
        }).first;
        if (ack.code == kExitDone)
            out << "factory settings restored" << std::endl;
        return Finish(ack, err);
    }
    case Command::Send: return RunSend(inv, *link, out, err);
    case Command::Monitor: return RunMonitor(inv, *link, out, err);
    case Command::Cards: return RunCards(inv, *link, out, err);
    case Command::Ports:
    case Command::Provision:
    case Command::Scan: break;
    }
    return kExitFailure;
}

} // namespace rovi::cli
