#pragma once

// Readers set up one after another on one port, each with the same fields
// and, when asked, the next ID, each verified and recorded: the loop behind
// the window's 批量设置 and rovi-cli provision, so a batch done from either
// runs and records alike. No widgets; it runs on its thread's event loop.
//
// The loop: wait for the port to be there (a reader plugged into the
// adapter, or the adapter itself plugged in), open it, set and verify
// (ReaderSetup), say the result and append it to the record, close, then
// wait for the port to go away (or for Next(), on a port that never goes
// away) and for the next. A failed reader keeps its ID for the next one.

#include "readersetup.h"
#include "seriallink.h"

#include "protocol/fieldwords.h"

#include <QDateTime>
#include <QObject>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QTimer;

namespace rovi {

class BatchSetup : public QObject {
    Q_OBJECT

public:
    struct Plan {
        std::string port;
        LineSettings line;              // each reader is opened at this line
        std::vector<FieldValue> fields; // set on every reader
        std::optional<int> firstId;     // each reader its own ID from this one up (an ID in `fields` gives way)
        int count = 0;                  // readers to set; 0: until stopped
        bool verify = true;             // read back after setting and compare
        int timeoutMs = 1000;           // each wait for a reply
        std::string record;             // the CSV each result is appended to; empty: none
        // A present port that cannot be opened this many looks in a row
        // fails its reader (recorded; then the wait for the next); 0: the
        // looks go on, said through openFailing.
        int openTries = 0;
        // The words for such a failure, from the open's error number.
        std::function<std::string(int error)> openProblem;
    };
    enum class State { Idle, WaitingForReader, Setting, WaitingForUnplug };
    // How a reader's setting ended.
    enum class Verdict {
        Done,              // set (and read back as set)
        NoReply,           // silence
        Garbled,           // bytes, but no reply (another baud rate?)
        Refused,           // a negative acknowledgement
        NotVerified,       // read back otherwise
        HungUp,            // the port went away meanwhile
        OpenFailed,        // the port could not be opened (Plan::openTries)
        StoppedUnanswered, // stopped before the reader answered
        StoppedUnverified, // stopped after the acknowledgement, before the read-back
    };
    struct Reader {
        QDateTime when;
        std::optional<int> id;          // the ID it was given, when IDs are given
        std::vector<FieldValue> values; // what was sent
        Verdict verdict = Verdict::NoReply;
        std::string problem;            // in words; empty when done
        std::optional<Frame> report;    // the report read back, when one came
        bool Ok() const { return verdict == Verdict::Done; }
    };
    enum class End { Done, IdsUsedUp, RecordFailed, Stopped };

    explicit BatchSetup(QObject *parent = nullptr);
    ~BatchSetup() override;

    // Begins with the first reader; false, with why, when the record cannot
    // be written (nothing is sent then). Running: nothing changes.
    bool Start(Plan plan, std::string *why);
    // Stops: a reader being set is said and recorded as stopped. False when
    // the record could not take it.
    bool Stop();
    // The next reader is on the line now (a port that never goes away).
    void Next();

    State CurrentState() const { return state_; }
    bool Running() const { return state_ != State::Idle; }
    int Finished() const { return done_; }
    // The ID the reader being set, or the next one, gets.
    int NextId() const { return next_id_; }
    const Plan &CurrentPlan() const { return plan_; }

    static constexpr int kPollMs = 200;

signals:
    void stateChanged(rovi::BatchSetup::State state);
    // A reader's result, before it is recorded.
    void readerFinished(const rovi::BatchSetup::Reader &reader);
    // A present port could not be opened, `tries` looks in a row; the
    // system's words (the loop looks again unless Plan::openTries is reached).
    void openFailing(int tries, const QString &words);
    // The batch is over; Running() is false by then.
    void ended(rovi::BatchSetup::End end);

private:
    void Poll();
    void SetUp();
    void OnOutcome(const ReaderSetup::Outcome &outcome);
    // The reader on the line now, as it ended.
    Reader ThisReader(Verdict verdict, std::string problem, std::optional<Frame> report = {}) const;
    // Says and records a reader; false when the record could not take it.
    bool Conclude(Reader reader);
    void SetState(State state);
    void Finish(BatchSetup::End end);
    std::vector<FieldValue> Values() const;

    Plan plan_;
    SerialLink link_;
    ReaderSetup setup_;
    QTimer *poll_;
    State state_ = State::Idle;
    int next_id_ = 0;
    int done_ = 0;
    int open_failures_ = 0; // opens of a present port failed in a row
};

} // namespace rovi
