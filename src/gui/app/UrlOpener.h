#pragma once
// Opens an address outside the app (the system browser). Tests and the tour replace the opener
// so that nothing leaves the machine.

#include <QString>

#include <functional>

namespace qlgui::UrlOpener {

void open(const QString& url);
void setHandler(std::function<void(const QString&)> handler);  // empty: the system's

}  // namespace qlgui::UrlOpener
