#include "app/VersionCheckUI.h"

#include "app/UrlOpener.h"
#include "kit/Alert.h"

namespace qlgui::VersionCheckUI {

void show(QWidget* window, const ql::VersionAlert& alert) {
    QStringList buttons;
    for (const auto& b : alert.buttons) buttons << QString::fromStdString(b);
    const int cancel = alert.buttons.size() > 1 ? 0 : -1;
    Alert::show(window, QString::fromStdString(alert.title), QString::fromStdString(alert.message), buttons, cancel,
                alert.tag, [alert](int index) {
                    if (ql::VersionCheck::opensDownload(alert, index) && !alert.url.empty())
                        UrlOpener::open(QString::fromStdString(alert.url));
                });
}

void checkManually(QWidget* window) {
    if (auto alert = ql::VersionCheck::checkManually()) show(window, *alert);
}

}  // namespace qlgui::VersionCheckUI
