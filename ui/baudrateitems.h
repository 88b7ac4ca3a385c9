#pragma once

// The reader's eight baud rates as a list's items, slowest first: the one
// table behind the panel's baud list and the port settings' rate list.

#include "protocol/frame.h"

#include <QStringList>

namespace rovi {

inline QStringList BaudRateItems()
{
    QStringList items;
    for (const int rate : kBaudRateValues)
        items << QString::number(rate);
    return items;
}

} // namespace rovi
