#pragma once

// 批量设置: readers set up one after another on the configured port, each
// with the same fields and the next ID, each verified and recorded. The
// set-then-verify and the record are rovi-cli provision's (ReaderSetup,
// batchrecord.h), so a batch done from either leaves the same record.
//
// The loop: wait for the port to be there (a reader plugged into the
// adapter, or the adapter itself plugged in), open it, set and verify, add
// a row to the table and the record, close, then wait for the port to go
// away (or for 下一台, on a port that never goes away) and for the next.
// A failed reader keeps its ID for the next one. While the batch runs the
// window's own port is closed; stopping opens it again if it was open.
//
// Object names: profileSource, profilePath, firstId, readerCount,
// verifyAfterSet, recordPath, startButton, stopButton, nextButton,
// batchStatus, batchTable.

#include "portuse.h"
#include "serial/readersetup.h"
#include "serial/seriallink.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QDateTime;
class QTableWidget;
class QTimer;

namespace rovi {

class MainWindow;

class BatchSetupDialog : public QDialog {
    Q_OBJECT

public:
    explicit BatchSetupDialog(MainWindow &window);
    ~BatchSetupDialog() override;

    // 开始: false, said in a message box, when the profile or the record
    // cannot be used (nothing is sent then).
    bool Start();
    // 停止: the reader being set is left, the window's port as it was.
    void Stop();
    // 下一台: the next reader is on the line now.
    void Next();
    bool Running() const { return state_ != State::Idle; }
    int Finished() const { return done_; }

    static constexpr int kPollMs = 200;
    // A present port that cannot be opened this many looks in a row is said so.
    static constexpr int kOpenFailuresSaid = 10;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum class State { Idle, WaitingForReader, Setting, WaitingForUnplug };
    void Poll();
    void SetUp();
    void OnOutcome(const ReaderSetup::Outcome &outcome);
    // A reader being set when the batch stops: its row says what is known
    // (in the table too when `shown`); false when the record cannot take it.
    bool RecordStopped(bool shown);
    void AddRow(const QDateTime &when, const QString &result, bool ok, const QString &report);
    // A status line, made again when the language changes.
    using StatusText = std::function<QString()>;
    void Finish(StatusText why, bool reopen);
    void SetState(State state, StatusText status);
    StatusText WaitingText() const;
    bool LoadFields(QString *why);

    MainWindow &window_;
    SerialLink link_;
    ReaderSetup setup_;
    QTimer *poll_;
    State state_ = State::Idle;
    std::vector<FieldValue> fields_; // the profile's, without the ID
    int next_id_ = 1;
    int done_ = 0;
    int wanted_ = 0; // 0: until stopped
    PortUse port_before_ = PortUse::Idle;
    int open_failures_ = 0; // opens of a present port failed in a row
    std::string port_;
    std::string record_;

    QComboBox *profileSource_;
    QLineEdit *profilePath_;
    QPushButton *browse_;
    QSpinBox *firstId_;
    QSpinBox *readerCount_;
    QCheckBox *verifyAfterSet_;
    QLineEdit *recordPath_;
    QPushButton *startButton_;
    QPushButton *stopButton_;
    QPushButton *nextButton_;
    QLabel *batchStatus_;
    StatusText status_;
    QTableWidget *batchTable_;
};

} // namespace rovi
