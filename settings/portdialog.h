#pragma once

#include "portsettings.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace rovi::settings {

// The port settings dialog: shows the settings, and its button copies them
// back, saves them to set.ini and reopens the port.
class PortDialog : public QDialog {
    Q_OBJECT

public:
    // `settings` are the main window's fields; `open_com` reopens the port.
    PortDialog(QWidget *owner, PortSettings &settings, std::function<void()> open_com,
             std::string ini_path = kIniPath);

    QComboBox *portBox;
    QComboBox *baudBox;
    QComboBox *parityBox;
    QComboBox *dataBitsBox;
    QComboBox *stopBitsBox;
    QCheckBox *autoConnectBox;
    QPushButton *openButton;

    void ShowSettings();
    void SaveAndOpen();

    // The port list: "COM1".."COM20", then the serial devices present.
    // A serial device present, and the words a person knows it by.
    struct Device {
        QString path;
        QString description; // product, maker, serial number
    };
    using DeviceLister = std::function<QList<Device>()>;
    // Where the dialog learns of devices (tests replace it); empty: the system.
    static void SetDeviceLister(DeviceLister lister);
    static QList<Device> Devices();

    // While the dialog is open it looks for devices that come and go.
    static constexpr int kDeviceCheckMs = 1000;
    void RefreshDevices();

private:
    void FillPorts(const QList<Device> &devices);

    PortSettings &settings_;
    QList<Device> shown_devices_;
    std::function<void()> open_com_;
    std::string ini_path_;
    bool close_requested_ = false;
};

} // namespace rovi::settings
