#pragma once

#include "portsettings.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace rovi::settings {

// The port settings dialog: shows the settings; its button hands them back
// (settingsChosen), saves them to set.ini and asks for the port to be opened
// with them (openRequested), while the dialog is still on screen, so an open
// failure is said over it. The 串口自动连接 box is saved, not handed back:
// the flag itself changes at the next start.
class PortDialog : public QDialog {
    Q_OBJECT

public:
    PortDialog(QWidget *owner, const PortSettings &settings, std::string ini_path = kIniPath);

    QComboBox *portBox;
    QComboBox *baudBox;
    QComboBox *parityBox;
    QComboBox *dataBitsBox;
    QComboBox *stopBitsBox;
    QCheckBox *autoConnectBox;
    QPushButton *openButton;

    void ShowSettings();
    void SaveAndOpen();
    // The settings as last chosen (as given, before the button).
    const PortSettings &Settings() const { return settings_; }

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

signals:
    // 打开串口: the settings shown, before they are saved (a save that fails
    // leaves them taken, the keys before it written, the dialog open).
    void settingsChosen(const rovi::settings::PortSettings &settings);
    // Saved: open the port with them now.
    void openRequested();

private:
    void FillPorts(const QList<Device> &devices);

    PortSettings settings_;
    QList<Device> shown_devices_;
    std::string ini_path_;
    bool close_requested_ = false;
};

} // namespace rovi::settings
