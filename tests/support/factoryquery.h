#pragma once

// 查看参数 on a window connected to the simulated reader at its factory set:
// the panel fills in with that report and the monitor counts one frame.

#include "app/mainwindow.h"
#include "tests/support/controls.h"
#include "panel/parampanel.h"
#include "panel/trafficmonitor.h"
#include "tests/support/qtwait.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace rovi::test {

inline void QueryShowsTheFactorySet(MainWindow &window)
{
    const PanelControls panel(&window);
    panel.queryButton->click();
    ASSERT_TRUE(WaitUntil([&] { return !panel.Mirror(Field::id_addr)->text().isEmpty(); }));
    QStringList mirrors;
    for (auto *m : panel.Mirrors())
        mirrors << m->text();
    EXPECT_EQ(mirrors.join(' '), "00 01 41 01 04 20 03 05");
    EXPECT_TRUE(panel.wiegandOutput->isChecked());
    EXPECT_EQ(MonitorControls(&window).receiveCounter->text(), "1");
}

} // namespace rovi::test
