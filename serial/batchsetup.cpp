#include "batchsetup.h"

#include "portinfo.h"

#include "base/appendfile.h"
#include "protocol/batchrecord.h"

#include <QTimer>

namespace rovi {

namespace {

BatchSetup::Verdict VerdictOf(ReaderSetup::Result result)
{
    switch (result) {
    case ReaderSetup::Result::Done: return BatchSetup::Verdict::Done;
    case ReaderSetup::Result::NoReply: return BatchSetup::Verdict::NoReply;
    case ReaderSetup::Result::Garbled: return BatchSetup::Verdict::Garbled;
    case ReaderSetup::Result::Refused: return BatchSetup::Verdict::Refused;
    case ReaderSetup::Result::NotVerified: return BatchSetup::Verdict::NotVerified;
    case ReaderSetup::Result::HungUp: return BatchSetup::Verdict::HungUp;
    }
    return BatchSetup::Verdict::NoReply;
}

} // namespace

BatchSetup::BatchSetup(QObject *parent) : QObject(parent), setup_(link_), poll_(new QTimer(this))
{
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, &BatchSetup::Poll);
    connect(&setup_, &ReaderSetup::finished, this, &BatchSetup::OnOutcome);
}

BatchSetup::~BatchSetup()
{
    Stop();
}

bool BatchSetup::Start(Plan plan, std::string *why)
{
    if (Running())
        return true;
    // Before any reader is changed: a record that cannot be written stops here.
    if (!plan.record.empty() && !AppendFile::Open(plan.record, why))
        return false;
    plan_ = std::move(plan);
    link_.SetPortName(plan_.port);
    next_id_ = plan_.firstId.value_or(0);
    done_ = 0;
    open_failures_ = 0;
    SetState(State::WaitingForReader);
    poll_->start();
    // The first look once the caller is back in the event loop: the port's
    // owner (a window lending its port) can let it go first.
    QTimer::singleShot(0, this, &BatchSetup::Poll);
    return true;
}

bool BatchSetup::Stop()
{
    if (!Running())
        return true;
    bool recorded = true;
    if (state_ == State::Setting && setup_.Running()) {
        const bool acknowledged = setup_.Verifying();
        const std::string id = plan_.firstId ? "ID " + std::to_string(next_id_) : std::string("the fields");
        setup_.Stop();
        recorded = Conclude(acknowledged ? ThisReader(Verdict::StoppedUnverified,
                                                      "stopped before the read-back: the reader acknowledged " + id +
                                                          ", not verified")
                                         : ThisReader(Verdict::StoppedUnanswered,
                                                      "stopped before the reader answered: it may have taken " + id));
    }
    Finish(End::Stopped);
    return recorded;
}

void BatchSetup::Next()
{
    if (state_ == State::WaitingForUnplug) {
        SetState(State::WaitingForReader);
        Poll();
    }
}

void BatchSetup::Finish(BatchSetup::End end)
{
    poll_->stop();
    setup_.Stop();
    link_.StopPort();
    SetState(State::Idle);
    emit ended(end);
}

void BatchSetup::SetState(State state)
{
    state_ = state;
    emit stateChanged(state);
}

std::vector<FieldValue> BatchSetup::Values() const
{
    if (!plan_.firstId)
        return plan_.fields;
    std::vector<FieldValue> values{{Field::id_addr, static_cast<std::uint8_t>(next_id_)}};
    for (const FieldValue &v : plan_.fields)
        if (v.field != Field::id_addr) // each reader's own ID takes its place
            values.push_back(v);
    return values;
}

void BatchSetup::Poll()
{
    const bool present = PortPresent(plan_.port);
    if (state_ == State::WaitingForUnplug && !present)
        SetState(State::WaitingForReader);
    else if (state_ == State::WaitingForReader && present)
        SetUp();
}

void BatchSetup::SetUp()
{
    try {
        link_.StopPort();
        link_.SetLineSettings(plan_.line); // a reader before may have moved it to its new rate
        link_.StartPort();
    } catch (const SerialError &e) {
        // There, but not yet to be opened (its permissions being set): the
        // next look tries again.
        ++open_failures_;
        emit openFailing(open_failures_, QString::fromLocal8Bit(e.what()));
        if (plan_.openTries > 0 && open_failures_ >= plan_.openTries) {
            open_failures_ = 0;
            const std::string problem = plan_.openProblem ? plan_.openProblem(e.Errno()) : std::string(e.what());
            if (!Conclude(ThisReader(Verdict::OpenFailed, problem)))
                return Finish(End::RecordFailed);
            SetState(State::WaitingForUnplug);
        }
        return;
    }
    open_failures_ = 0;
    SetState(State::Setting);
    setup_.Start(Values(), plan_.verify, plan_.timeoutMs);
}

void BatchSetup::OnOutcome(const ReaderSetup::Outcome &outcome)
{
    link_.StopPort();
    Reader reader = ThisReader(VerdictOf(outcome.result), outcome.problem, outcome.report);
    const bool ok = reader.Ok();
    if (!Conclude(std::move(reader)))
        return Finish(End::RecordFailed);
    if (ok) {
        ++done_;
        if (plan_.count > 0 && done_ >= plan_.count)
            return Finish(End::Done);
        if (plan_.firstId && ++next_id_ > kIdMax)
            return Finish(End::IdsUsedUp);
    }
    SetState(State::WaitingForUnplug);
}

BatchSetup::Reader BatchSetup::ThisReader(Verdict verdict, std::string problem, std::optional<Frame> report) const
{
    Reader reader{QDateTime::currentDateTime(), {}, Values(), verdict, std::move(problem), std::move(report)};
    if (plan_.firstId)
        reader.id = next_id_;
    return reader;
}

bool BatchSetup::Conclude(Reader reader)
{
    emit readerFinished(reader);
    return plan_.record.empty() ||
           AppendBatchRecord(plan_.record, {reader.when.toString(Qt::ISODateWithMs).toStdString(), plan_.port,
                                            reader.Ok(), reader.report, reader.problem});
}

} // namespace rovi
