#include "readersetup.h"

#include "protocol/hexstr.h"
#include "protocol/replyscan.h"

#include <QTimer>

namespace rovi {

ReaderSetup::ReaderSetup(SerialLink &link, QObject *parent) : QObject(parent), link_(link), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { OnTimeout(); });
    connect(&link_, &SerialLink::chunkReceived, this, [this](const QByteArray &chunk) { OnChunk(chunk); });
    connect(&link_, &SerialLink::hungUp, this, [this] {
        if (Running())
            Finish({Result::HungUp, "the port went away", std::nullopt});
    });
}

void ReaderSetup::Start(const std::vector<FieldValue> &values, bool verify, int timeout_ms)
{
    Begin(SetFrameFor(values), Step::AwaitAck, values, verify, timeout_ms);
}

void ReaderSetup::StartCommand(const Frame &frame, int timeout_ms)
{
    Begin(frame, Step::AwaitAck, {}, false, timeout_ms);
}

void ReaderSetup::StartQuery(int timeout_ms)
{
    Begin(ComposeQuery(), Step::AwaitReport, {}, true, timeout_ms);
}

void ReaderSetup::Begin(const Frame &frame, Step step, std::vector<FieldValue> values, bool verify, int timeout_ms)
{
    values_ = std::move(values);
    verify_ = verify;
    timeout_ms_ = timeout_ms;
    Ask(frame, step);
}

void ReaderSetup::Stop()
{
    timer_->stop();
    step_ = Step::Idle;
}

void ReaderSetup::Ask(const Frame &frame, Step step)
{
    sent_ = frame;
    received_.clear();
    step_ = step;
    timer_->start(timeout_ms_);
    link_.WriteAll(AsBytes(frame));
}

void ReaderSetup::OnChunk(const QByteArray &chunk)
{
    if (!Running())
        return;
    received_.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    if (const auto found = FindReply(received_, AsBytes(sent_)))
        OnReply(found->form == FoundReply::Form::Ack, found->bytes);
}

void ReaderSetup::OnReply(bool ack, std::string_view bytes)
{
    const std::string hex = HexLine(bytes);
    if (step_ == Step::AwaitAck) {
        if (!ack)
            return Finish({Result::NotVerified, "the reader answered with a report, not an acknowledgement: " + hex, {}});
        const auto *a = reinterpret_cast<const std::uint8_t *>(bytes.data());
        if (!AckSucceeded(std::span<const std::uint8_t, kAckSize>(a, kAckSize)))
            return Finish({Result::Refused, "the reader refused the setting (acknowledgement " + hex + ")", {}});
        if (!verify_)
            return Finish({Result::Done, {}, {}});
        // A reader whose baud rate was set runs at the new one once it has
        // acknowledged: the verifying query follows it there.
        for (const FieldValue &v : values_)
            if (v.field == Field::baud)
                if (const auto index = DecodeBaud(v.byte)) {
                    LineSettings line = link_.Line();
                    line.baudRate = static_cast<std::uint32_t>(kBaudRateValues[*index]);
                    link_.SetLineSettings(line);
                }
        return Ask(ComposeQuery(), Step::AwaitReport);
    }
    if (ack)
        return Finish({Result::NotVerified, "the reader answered with an acknowledgement, not a report: " + hex, {}});
    const auto report = VerifiedReport(bytes);
    if (!report)
        return Finish({Result::NotVerified, "the reply is not a valid report: " + hex, {}});
    const std::string wrong = Mismatches(values_, *report);
    if (!wrong.empty())
        return Finish({Result::NotVerified, "the reader reports " + wrong, report});
    Finish({Result::Done, {}, report});
}

void ReaderSetup::OnTimeout()
{
    if (!Running())
        return;
    if (!received_.empty()) {
        constexpr std::size_t kShown = 48;
        const std::string shown = HexLine(std::string_view(received_).substr(0, kShown));
        return Finish({Result::Garbled, "not a reader's reply: " + shown + (received_.size() > kShown ? " …" : ""), {}});
    }
    Finish({Result::NoReply, "no reply within " + std::to_string(timeout_ms_) + " ms", {}});
}

void ReaderSetup::Finish(Outcome outcome)
{
    timer_->stop();
    step_ = Step::Idle;
    emit finished(outcome);
}

std::string Mismatches(const std::vector<FieldValue> &values, const Frame &report)
{
    std::string text;
    const FieldBytes fields = FieldBytesOf(report);
    for (const FieldValue &v : values) {
        const std::uint8_t got = fields[static_cast<std::size_t>(v.field)];
        if (got != v.byte)
            text += std::string(text.empty() ? "" : "; ") + FieldName(v.field) + " is " +
                    ValueText(v.field, got).value_or(Describe(v.field, got)) + ", not " +
                    ValueText(v.field, v.byte).value_or("?");
    }
    return text;
}

} // namespace rovi
