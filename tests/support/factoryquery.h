#pragma once

// 查看参数 on a window connected to the simulated reader at its factory set:
// the panel fills in with that report and the monitor counts one frame.

#include "app/utool.h"
#include "panel/parampanel.h"
#include "panel/trafficmonitor.h"
#include "tests/support/qtwait.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace rovi::test {

inline void QueryShowsTheFactorySet(TFtool &window)
{
    window.Panel()->Button1->click();
    ASSERT_TRUE(WaitUntil([&] { return !window.Panel()->Edit_data2->text().isEmpty(); }));
    QStringList mirrors;
    for (auto *m : window.Panel()->Mirrors())
        mirrors << m->text();
    EXPECT_EQ(mirrors.join(' '), "00 01 41 01 04 20 03 05");
    EXPECT_TRUE(window.Panel()->RadioButton2->isChecked());
    EXPECT_EQ(window.Monitor().Edit3->text(), "1");
}

} // namespace rovi::test
