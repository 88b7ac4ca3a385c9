// The port list of the settings dialog with the devices a system reports:
// COM names (Windows' registry) and device paths (Linux).
#include "settings/portdialog.h"

#include <QComboBox>

#include <gtest/gtest.h>

using namespace rovi;
using namespace rovi::settings;

// A present COM1…COM20 is described in its fixed row, not listed twice;
// higher COM numbers and paths follow the fixed rows.
TEST(PortList, PresentComPortsAreDescribedInTheirFixedRows)
{
    PortDialog::SetDeviceLister([] {
        return QList<PortDialog::Device>{
            {"COM3", "\\Device\\VCP0"}, {"COM25", "\\Device\\Serial1"}, {"/dev/ttyUSB0", "FT232R USB UART"}};
    });
    PortSettings s;
    s.port = "com3";
    PortDialog dialog(nullptr, s);
    QComboBox &ports = *dialog.portBox;
    ASSERT_EQ(ports.count(), 22);
    EXPECT_EQ(ports.itemText(2), "COM3");
    EXPECT_EQ(ports.findText("COM3", Qt::MatchFixedString), 2); // once
    EXPECT_EQ(ports.itemData(2, Qt::ToolTipRole).toString(), "\\Device\\VCP0");
    EXPECT_EQ(ports.itemData(3, Qt::ToolTipRole).toString(), ""); // COM4: not present
    EXPECT_EQ(ports.itemText(20), "/dev/ttyUSB0");
    EXPECT_EQ(ports.itemText(21), "COM25");
    EXPECT_EQ(ports.itemData(21, Qt::AccessibleDescriptionRole).toString(), "\\Device\\Serial1");
    EXPECT_EQ(ports.currentIndex(), 2); // the stored name, in any letter case
    PortDialog::SetDeviceLister(nullptr);
}
