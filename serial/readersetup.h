#pragma once

// Sets fields on a reader over an open link and, when asked, reads them back
// and compares: the one set-then-verify that rovi-cli's set and provision
// and the window's batch setup share. Asynchronous: Start() sends the set
// frame, the link's chunks carry it on (the reply found across chunks, card
// traffic around it passed over), and `finished` says the one outcome, on
// the link's thread. A reader that acknowledges a new baud rate answers the
// verifying query at that rate: the link follows it.

#include "seriallink.h"

#include "base/bytes.h"
#include "protocol/fieldwords.h"

#include <QObject>

#include <optional>
#include <string>
#include <vector>

class QTimer;

namespace rovi {

class ReaderSetup : public QObject {
    Q_OBJECT

public:
    enum class Result {
        Done,        // acknowledged (and, verifying, read back as set)
        NoReply,     // silence until the time-out
        Garbled,     // bytes came, but no reader's reply (another baud rate, an echo)
        Refused,     // a negative acknowledgement
        NotVerified, // the wrong kind of reply, a bad report, or fields read back otherwise
        HungUp,      // the port went away meanwhile
    };
    struct Outcome {
        Result result = Result::NoReply;
        std::string problem;         // in words; empty when done
        std::optional<Frame> report; // the report read back, when one came
    };
    explicit ReaderSetup(SerialLink &link, QObject *parent = nullptr);

    // `values` as one set-all frame (or a single-field frame for one field);
    // each wait lasts at most timeout_ms.
    void Start(const std::vector<FieldValue> &values, bool verify, int timeout_ms);
    // A frame answered by an acknowledgement (出厂设置's), nothing verified.
    void StartCommand(const Frame &frame, int timeout_ms);
    // The query: the outcome carries the report.
    void StartQuery(int timeout_ms);
    // Gives up: no outcome comes.
    void Stop();
    bool Running() const { return step_ != Step::Idle; }
    // The set was acknowledged and the verifying query awaits its report.
    bool Verifying() const { return step_ == Step::AwaitReport; }

signals:
    // The conversation's end; Running() is false by then.
    void finished(const rovi::ReaderSetup::Outcome &outcome);

private:
    enum class Step { Idle, AwaitAck, AwaitReport };
    void Begin(const Frame &frame, Step step, std::vector<FieldValue> values, bool verify, int timeout_ms);
    void Ask(const Frame &frame, Step step);
    void OnChunk(const QByteArray &chunk);
    void OnReply(bool ack, std::string_view bytes);
    void OnTimeout();
    void Finish(Outcome outcome);

    SerialLink &link_;
    QTimer *timer_;
    Step step_ = Step::Idle;
    std::vector<FieldValue> values_;
    bool verify_ = false;
    int timeout_ms_ = 0;
    Frame sent_{};
    ByteString received_;
};

// The fields set that a report does not show as set ("id is 5, not 17"), or
// empty when it shows them all.
std::string Mismatches(const std::vector<FieldValue> &values, const Frame &report);

} // namespace rovi
