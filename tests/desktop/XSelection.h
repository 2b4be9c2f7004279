#pragma once
#include <QString>

namespace desktop {
// Whether some client owns the selection (a notification area owns "_NET_SYSTEM_TRAY_S0").
bool SelectionOwned(const QString& display, const QString& selection);
}
