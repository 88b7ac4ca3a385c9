#pragma once

// 批量设置: readers set up one after another on the configured port, each
// with the same fields and the next ID, each verified and recorded. The loop
// is BatchSetup's (serial/batchsetup.h), rovi-cli provision's too, so a
// batch done from either runs and records alike; the dialog asks for it and
// shows its rows. While the batch runs the window's own port is left to it:
// portNeeded at 开始, portReleased when the batch is over.
//
// Object names: profileSource, profilePath, firstId, readerCount,
// verifyAfterSet, recordPath, startButton, stopButton, nextButton,
// batchStatus, batchTable.

#include "serial/batchsetup.h"
#include "settings/portsettings.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace rovi {

namespace panel {
class ParamPanel;
} // namespace panel

class BatchSetupDialog : public QDialog {
    Q_OBJECT

public:
    // "面板当前参数" are `panel`'s fields at 开始.
    BatchSetupDialog(const panel::ParamPanel &panel, QWidget *parent);
    ~BatchSetupDialog() override;

    // The port and line the batch runs on, as the window's port settings
    // name them; taken at the next 开始.
    void SetPortSettings(const settings::PortSettings &settings) { port_settings_ = settings; }

    // 开始: false, said in a message box, when the profile or the record
    // cannot be used (nothing is sent then). A rate in the settings that is
    // no number throws the conversion error, before the port is asked for.
    bool Start();
    // 停止: the reader being set is left, the window's port as it was.
    void Stop();
    // 下一台: the next reader is on the line now.
    void Next();
    bool Running() const { return batch_.Running(); }
    int Finished() const { return batch_.Finished(); }

    // A present port that cannot be opened this many looks in a row is said so.
    static constexpr int kOpenFailuresSaid = 10;

signals:
    // 开始: the window closes its port and leaves it alone meanwhile.
    void portNeeded();
    // The batch is over: the window may take its port back.
    void portReleased();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void OnState(BatchSetup::State state);
    void OnReader(const BatchSetup::Reader &reader);
    void OnEnded(BatchSetup::End end);
    void AddRow(const BatchSetup::Reader &reader, const QString &result, const QString &report);
    // A status line, made again when the language changes.
    using StatusText = std::function<QString()>;
    void ShowStatus(StatusText status);
    StatusText WaitingText() const;
    bool LoadFields(QString *why);

    const panel::ParamPanel &panel_;
    settings::PortSettings port_settings_;
    BatchSetup batch_;
    std::vector<FieldValue> fields_; // the profile's, without the ID
    StatusText unplug_text_;         // what the last reader's result says while waiting for the next

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
