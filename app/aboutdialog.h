#pragma once

#include <QDialog>

namespace rovi {

// The about box: caption, version label and an empty status bar.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *owner);
};

} // namespace rovi
