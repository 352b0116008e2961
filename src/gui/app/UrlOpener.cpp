#include "app/UrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace qlgui::UrlOpener {

namespace {
std::function<void(const QString&)>& handler() {
    static std::function<void(const QString&)> h;
    return h;
}
}  // namespace

void open(const QString& url) {
    if (handler()) handler()(url);
    else QDesktopServices::openUrl(QUrl(url));
}

void setHandler(std::function<void(const QString&)> h) { handler() = std::move(h); }

}  // namespace qlgui::UrlOpener
