#include "portdialog.h"

#include "linechoices.h"

#include "serial/portinfo.h"

#include "ui/baudrateitems.h"
#include "ui/messages.h"
#include "ui/qtext.h"
#include "ui/dialogframe.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QAbstractItemView>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>

namespace rovi::settings {

namespace {

template <class Value, std::size_t N> QStringList ListOf(const std::array<LineChoice<Value>, N> &table)
{
    QStringList items;
    for (const auto &choice : table)
        items << QCoreApplication::translate("LineChoices", choice.list);
    return items;
}

QComboBox *AddRow(QGroupBox *group, int row, const QString &label, const char *name, const QStringList &items)
{
    const int y = 28 + row * 34;
    auto *caption = new QLabel(label, group);
    caption->setGeometry(40, y + 3, 70, 16);
    auto *box = new QComboBox(group);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(120, y, 200, 22);
    box->setEditable(false);
    box->addItems(items);
    box->setAccessibleName(label);
    caption->setBuddy(box);
    return box;
}

} // namespace

namespace {

PortDialog::DeviceLister &Lister()
{
    static PortDialog::DeviceLister lister;
    return lister;
}

// The ports the system reports (Windows: the COM ports the drivers
// registered), each also under its stable by-id name where udev gives one.
QList<PortDialog::Device> SystemDevices()
{
    QList<PortDialog::Device> devices;
    for (const PortEntry &port : ListPorts(PortHolders::Skip)) {
        const QString words = QString::fromStdString(PortWords(port));
        devices.append({QString::fromStdString(port.path), words});
        if (!port.by_id.empty())
            devices.append({QString::fromStdString(port.by_id), words});
    }
    return devices;
}

// The port list's drop-down shows each device's description after its
// name; the box itself, and what is saved, is the name alone.
class PortItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString description = index.data(Qt::AccessibleDescriptionRole).toString();
        if (!description.isEmpty())
            option->text += QStringLiteral("  (") + description + QLatin1Char(')');
    }
};

} // namespace

void PortDialog::SetDeviceLister(DeviceLister lister)
{
    Lister() = std::move(lister);
}

QList<PortDialog::Device> PortDialog::Devices()
{
    QList<Device> devices = Lister() ? Lister()() : SystemDevices();
    std::sort(devices.begin(), devices.end(), [](const Device &a, const Device &b) { return a.path < b.path; });
    devices.erase(std::unique(devices.begin(), devices.end(),
                              [](const Device &a, const Device &b) { return a.path == b.path; }),
                  devices.end());
    return devices;
}

void PortDialog::FillPorts(const QList<Device> &devices)
{
    const QString current = portBox->currentText();
    // A name the user typed (no item, or not the chosen item's text) stays
    // as typed; it is not made an item of the list.
    const bool typed = portBox->currentIndex() < 0 || portBox->itemText(portBox->currentIndex()) != current;
    portBox->clear();
    for (int n = 1; n <= 20; ++n)
        portBox->addItem(QStringLiteral("COM%1").arg(n));
    for (const Device &device : devices) {
        // A present COM1…COM20 is described in its fixed row, not listed twice.
        int i = portBox->findText(device.path, Qt::MatchFixedString);
        if (i < 0) {
            portBox->addItem(device.path);
            i = portBox->count() - 1;
        }
        portBox->setItemData(i, device.description, Qt::AccessibleDescriptionRole);
        portBox->setItemData(i, device.description, Qt::ToolTipRole);
    }
    shown_devices_ = devices;
    if (current.isEmpty()) {
        portBox->setCurrentIndex(-1);
        return;
    }
    int index = portBox->findText(current, Qt::MatchFixedString);
    if (index < 0 && typed) {
        portBox->setCurrentIndex(-1);
        portBox->setEditText(current);
        return;
    }
    if (index < 0) {
        // The chosen name stays, whether stored or a device just unplugged.
        portBox->addItem(current);
        index = portBox->count() - 1;
    }
    portBox->setCurrentIndex(index);
}

void PortDialog::RefreshDevices()
{
    if (portBox->view()->isVisible())
        return; // not under the user's pointer; the next check will do
    const QList<Device> devices = Devices();
    auto same = [](const QList<Device> &a, const QList<Device> &b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const Device &x, const Device &y) {
                   return x.path == y.path && x.description == y.description;
               });
    };
    if (!same(devices, shown_devices_))
        FillPorts(devices);
}

PortDialog::PortDialog(QWidget *owner, const PortSettings &settings, std::string ini_path)
    : QDialog(owner), settings_(settings), ini_path_(std::move(ini_path))
{
    setObjectName(QStringLiteral("portDialog"));
    SetUpFixedDialog(*this, tr("串口选择"), QSize(403, 291));

    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("settingsGroup"));
    group->setGeometry(16, 8, 371, 250);
    portBox = AddRow(group, 0, tr("串口"), "portBox", {});
    portBox->setItemDelegate(new PortItemDelegate(portBox));
    // A port that is not in the list (a by-id name, a pseudo-terminal, a
    // link) can be typed; what is saved is the text shown.
    portBox->setEditable(true);
    portBox->setInsertPolicy(QComboBox::NoInsert);
    FillPorts(Devices());
    baudBox = AddRow(group, 1, tr("波特率"), "baudBox", BaudRateItems());
    parityBox = AddRow(group, 2, tr("校验位"), "parityBox", ListOf(kParityChoices));
    dataBitsBox = AddRow(group, 3, tr("数据位"), "dataBitsBox", ListOf(kDataBitsChoices));
    stopBitsBox = AddRow(group, 4, tr("停止位"), "stopBitsBox", ListOf(kStopBitsChoices));
    baudBox->setCurrentIndex(kFactoryBaudIndex);

    autoConnectBox = new QCheckBox(tr("串口自动连接"), group);
    autoConnectBox->setObjectName(QStringLiteral("autoConnectBox"));
    autoConnectBox->setGeometry(40, 202, 140, 20);
    autoConnectBox->setAccessibleName(autoConnectBox->text());
    openButton = new QPushButton(tr("打开串口"), group);
    openButton->setObjectName(QStringLiteral("openButton"));
    openButton->setGeometry(230, 198, 90, 28);
    openButton->setAccessibleName(openButton->text());

    connect(openButton, &QPushButton::clicked, this, [this] {
        RunHandler(this, [this] { SaveAndOpen(); });
        if (close_requested_)
            accept();
    });
    ShowSettings();

    auto *device_check = new QTimer(this);
    device_check->setInterval(kDeviceCheckMs);
    connect(device_check, &QTimer::timeout, this, [this] { RefreshDevices(); });
    device_check->start();
}

void PortDialog::ShowSettings()
{
    const QString port = ToQ(settings_.port);
    int index = portBox->findText(port, Qt::MatchFixedString);
    if (index < 0) {
        // A stored name that is none of the items is kept, not lost on saving.
        portBox->addItem(port);
        index = portBox->count() - 1;
    }
    portBox->setCurrentIndex(index);
    baudBox->setCurrentIndex(baudBox->findText(ToQ(settings_.baud), Qt::MatchFixedString));
    parityBox->setCurrentIndex(settings_.parity < parityBox->count() ? settings_.parity : -1);
    dataBitsBox->setCurrentIndex(settings_.dataBits < dataBitsBox->count() ? settings_.dataBits : -1);
    stopBitsBox->setCurrentIndex(settings_.stopBits < stopBitsBox->count() ? settings_.stopBits : -1);
    autoConnectBox->setChecked(settings_.autoConnect == 1);
}

void PortDialog::SaveAndOpen()
{
    settings_.port = ToStd(portBox->currentText());
    settings_.baud = ToStd(baudBox->currentText());
    settings_.parity = parityBox->currentIndex();
    settings_.dataBits = dataBitsBox->currentIndex();
    settings_.stopBits = stopBitsBox->currentIndex();
    emit settingsChosen(settings_); // taken before the save, which may fail
    SavePortSettings(ini_path_, settings_, autoConnectBox->isChecked());
    close_requested_ = true; // the dialog leaves once this handler has finished
    emit openRequested();
}

} // namespace rovi::settings
