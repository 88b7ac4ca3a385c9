#include "ucomset.h"

#include "linechoices.h"

#include "ui/messages.h"
#include "ui/qtext.h"
#include "ui/windows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QAbstractItemView>
#include <QHash>
#ifdef _WIN32
#include "serial/portinfo.h"
#else
#include <QSerialPortInfo>
#endif
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>

namespace rovi::settings {

namespace {

template <class Value, std::size_t N> QStringList ListOf(const std::array<LineChoice<Value>, N> &table)
{
    QStringList items;
    for (const auto &choice : table)
        items << QString::fromUtf8(choice.list);
    return items;
}

QComboBox *AddRow(QGroupBox *group, int row, const char *label, const char *name, const QStringList &items)
{
    const int y = 28 + row * 34;
    auto *caption = new QLabel(QString::fromUtf8(label), group);
    caption->setGeometry(40, y + 3, 70, 16);
    auto *box = new QComboBox(group);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(120, y, 200, 22);
    box->setEditable(false);
    box->addItems(items);
    box->setAccessibleName(QString::fromUtf8(label));
    caption->setBuddy(box);
    return box;
}

} // namespace

namespace {

TFcomset::DeviceLister &Lister()
{
    static TFcomset::DeviceLister lister;
    return lister;
}

#ifdef _WIN32
// The COM ports the drivers registered, with the driver's device name.
QList<TFcomset::Device> SystemDevices()
{
    QList<TFcomset::Device> devices;
    for (const PortEntry &port : ListPorts())
        devices.append({QString::fromStdString(port.path), QString::fromStdString(port.description)});
    return devices;
}
#else
QList<TFcomset::Device> SystemDevices()
{
    QList<TFcomset::Device> devices;
    QHash<QString, QString> described; // canonical path -> description
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts()) {
        QStringList words;
        for (const QString &word : {port.description(), port.manufacturer(), port.serialNumber()})
            if (!word.isEmpty() && !words.contains(word))
                words << word;
        const QString description = words.join(QStringLiteral(" · "));
        devices.append({port.systemLocation(), description});
        described.insert(QFileInfo(port.systemLocation()).canonicalFilePath(), description);
    }
    // The stable names of USB adapters, when udev provides them.
    for (const QFileInfo &link : QDir(QStringLiteral("/dev/serial/by-id")).entryInfoList(QDir::System | QDir::Files))
        devices.append({link.absoluteFilePath(), described.value(link.canonicalFilePath())});
    return devices;
}
#endif

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

void TFcomset::SetDeviceLister(DeviceLister lister)
{
    Lister() = std::move(lister);
}

QList<TFcomset::Device> TFcomset::Devices()
{
    QList<Device> devices = Lister() ? Lister()() : SystemDevices();
    std::sort(devices.begin(), devices.end(), [](const Device &a, const Device &b) { return a.path < b.path; });
    devices.erase(std::unique(devices.begin(), devices.end(),
                              [](const Device &a, const Device &b) { return a.path == b.path; }),
                  devices.end());
    return devices;
}

void TFcomset::FillPorts(const QList<Device> &devices)
{
    const QString current = ComboBox_com->currentText();
    const bool had_current = ComboBox_com->currentIndex() >= 0;
    ComboBox_com->clear();
    for (int n = 1; n <= 20; ++n)
        ComboBox_com->addItem(QStringLiteral("COM%1").arg(n));
    for (const Device &device : devices) {
        // A present COM1…COM20 is described in its fixed row, not listed twice.
        int i = ComboBox_com->findText(device.path, Qt::MatchFixedString);
        if (i < 0) {
            ComboBox_com->addItem(device.path);
            i = ComboBox_com->count() - 1;
        }
        ComboBox_com->setItemData(i, device.description, Qt::AccessibleDescriptionRole);
        ComboBox_com->setItemData(i, device.description, Qt::ToolTipRole);
    }
    shown_devices_ = devices;
    if (!had_current)
        return;
    int index = ComboBox_com->findText(current, Qt::MatchFixedString);
    if (index < 0) {
        // The chosen name stays, whether stored or a device just unplugged.
        ComboBox_com->addItem(current);
        index = ComboBox_com->count() - 1;
    }
    ComboBox_com->setCurrentIndex(index);
}

void TFcomset::RefreshDevices()
{
    if (ComboBox_com->view()->isVisible())
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

TFcomset::TFcomset(QWidget *owner, PortSettings &settings, std::function<void()> open_com, std::string ini_path)
    : QDialog(owner), settings_(settings), open_com_(std::move(open_com)), ini_path_(std::move(ini_path))
{
    setObjectName(QStringLiteral("Fcomset"));
    SetUpFixedDialog(*this, QStringLiteral("串口选择"), QSize(403, 291));

    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(16, 8, 371, 250);
    ComboBox_com = AddRow(group, 0, "串口", "ComboBox_com", {});
    ComboBox_com->setItemDelegate(new PortItemDelegate(ComboBox_com));
    FillPorts(Devices());
    ComboBox_btl = AddRow(group, 1, "波特率", "ComboBox_btl",
                          {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"});
    ComboBox_jyw = AddRow(group, 2, "校验位", "ComboBox_jyw", ListOf(kParityChoices));
    ComboBox_data = AddRow(group, 3, "数据位", "ComboBox_data", ListOf(kDataBitsChoices));
    ComboBox_tzw = AddRow(group, 4, "停止位", "ComboBox_tzw", ListOf(kStopBitsChoices));
    ComboBox_btl->setCurrentIndex(3);

    CheckBox1 = new QCheckBox(QStringLiteral("串口自动连接"), group);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(40, 202, 140, 20);
    CheckBox1->setAccessibleName(CheckBox1->text());
    Button1 = new QPushButton(QStringLiteral("打开串口"), group);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(230, 198, 90, 28);
    Button1->setAccessibleName(Button1->text());

    connect(Button1, &QPushButton::clicked, this, [this] {
        RunHandler(this, [this] { Button1Click(); });
        if (close_requested_)
            accept();
    });
    FormShow();

    auto *device_check = new QTimer(this);
    device_check->setInterval(kDeviceCheckMs);
    connect(device_check, &QTimer::timeout, this, [this] { RefreshDevices(); });
    device_check->start();
}

void TFcomset::FormShow()
{
    const QString port = ToQ(settings_.com_port);
    int index = ComboBox_com->findText(port, Qt::MatchFixedString);
    if (index < 0) {
        // A stored name that is none of the items is kept, not lost on saving.
        ComboBox_com->addItem(port);
        index = ComboBox_com->count() - 1;
    }
    ComboBox_com->setCurrentIndex(index);
    ComboBox_btl->setCurrentIndex(ComboBox_btl->findText(ToQ(settings_.com_btl), Qt::MatchFixedString));
    ComboBox_jyw->setCurrentIndex(settings_.com_jyw < ComboBox_jyw->count() ? settings_.com_jyw : -1);
    ComboBox_data->setCurrentIndex(settings_.com_data < ComboBox_data->count() ? settings_.com_data : -1);
    ComboBox_tzw->setCurrentIndex(settings_.com_tzw < ComboBox_tzw->count() ? settings_.com_tzw : -1);
    CheckBox1->setChecked(settings_.com_auto == 1);
}

void TFcomset::Button1Click()
{
    settings_.com_port = ToStd(ComboBox_com->currentText());
    settings_.com_btl = ToStd(ComboBox_btl->currentText());
    settings_.com_jyw = ComboBox_jyw->currentIndex();
    settings_.com_data = ComboBox_data->currentIndex();
    settings_.com_tzw = ComboBox_tzw->currentIndex();
    SavePortSettings(ini_path_, settings_, CheckBox1->isChecked());
    close_requested_ = true; // the dialog leaves once this handler has finished
    open_com_();
}

} // namespace rovi::settings
