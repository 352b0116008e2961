#pragma once
// Shows what the version check decided, and runs the check the settings screen offers.

#include "app/VersionCheck.h"

class QWidget;

namespace qlgui::VersionCheckUI {

// The update alert (its "现在更新" opens the download address) or the "已是最新" alert.
void show(QWidget* window, const ql::VersionAlert& alert);
// Asks the update host now and shows the answer; blocks for at most the request time-out.
void checkManually(QWidget* window);

}  // namespace qlgui::VersionCheckUI
