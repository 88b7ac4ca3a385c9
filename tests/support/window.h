#pragma once

// The main window as a test drives it: its menu's actions by their object
// names, its port settings changed a field at a time (as COM设置 would, but
// without saving them).

#include "app/mainwindow.h"

#include <QAction>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace rovi::test {

// The window's action with this object name; the test fails when there is none.
inline QAction *MenuAction(const MainWindow &window, const char *name)
{
    auto *action = window.findChild<QAction *>(QLatin1String(name));
    if (!action)
        throw std::runtime_error(std::string("the window has no action named ") + name);
    return action;
}

template <class Change> void ChangePortSettings(MainWindow &window, Change change)
{
    settings::PortSettings s = window.CurrentPortSettings();
    change(s);
    window.SetPortSettings(s);
}

inline void UsePort(MainWindow &window, const std::string &port)
{
    ChangePortSettings(window, [&](settings::PortSettings &s) { s.port = port; });
}

} // namespace rovi::test
