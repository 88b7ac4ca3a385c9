#pragma once

#include <QDialog>

namespace rovi {

// The about box: caption, version label and an empty status bar.
class TFabout : public QDialog {
public:
    explicit TFabout(QWidget *owner);
};

} // namespace rovi
