#pragma once

// "搜索读卡器…": the reader search in the window. Lists the candidate ports
// (USB and ACM adapters ticked; built-in ports listed but unticked; a busy
// port, or the one the window has open, shown and skipped), the eight
// rates (all ticked, the last used tried first), and what answered: port,
// rate, ID and the settings in words. "使用此读卡器" hands the chosen one to
// the window. Closing the dialog stops the search and lets every port go.

#include "protocol/frame.h"
#include "serial/portinfo.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace rovi {

class ReaderSearch;

class ReaderSearchDialog : public QDialog {
    Q_OBJECT
public:
    // `in_use`: the port the window has open (skipped); `last_rate`: tried
    // first; `server`: a device server's port (tcp://, rfc2217://) listed
    // first, ticked; none when empty.
    ReaderSearchDialog(QWidget *owner, const QString &in_use, std::optional<int> last_rate,
                       const QString &server = {});
    ~ReaderSearchDialog() override;

    // Where the dialog learns of ports (tests replace it); empty: the system.
    using PortLister = std::function<std::vector<PortEntry>()>;
    static void SetPortLister(PortLister lister);

    void StartSearch();
    void StopSearch();
    bool Searching() const;
    int Found() const;

signals:
    // The reader of the chosen row: where it is, at which rate, and its settings.
    void useReader(const QString &port, int rate, const rovi::Frame &report);

protected:
    void done(int result) override;

private:
    struct Answer {
        QString port;
        int rate;
        Frame report;
    };
    void FillPorts(const QString &in_use, const QString &server);
    void UseChosen();

    QListWidget *ports_;
    std::vector<QCheckBox *> rates_;
    QPushButton *start_;
    QProgressBar *progress_;
    QLabel *trying_;
    QTableWidget *answers_;
    QPushButton *use_;
    ReaderSearch *search_;
    std::optional<int> last_rate_;
    std::vector<Answer> found_;
    int steps_ = 0;
};

} // namespace rovi
