#include "kit/PhoneWindow.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPainter>
#include <QThreadPool>
#include <atomic>

#include "kit/Spinner.h"
#include "kit/Style.h"
#include "platform/NetworkActivity.h"
#include "protocol/TestNetwork.h"

namespace qlgui {

namespace {
constexpr int kActivityPollMs = 100;
constexpr int kClockMs = 1000;
// The network probe opens a connection: often enough to follow a change, rarely enough
// to cost nothing.
constexpr int kNetworkPollMs = 5000;
}  // namespace

PhoneStatusBar::PhoneStatusBar(QWidget* parent)
        : QWidget(parent),
          network_(new QLabel(this)),
          clock_(new QLabel(this)),
          activity_(new Spinner(Spinner::Tone::White, this)),
          source_([] { return ql::TestNetwork::GetCurrntNet(); }),
          probing_(std::make_shared<std::atomic<bool>>(false)) {
    for (QLabel* l : {network_, clock_}) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        l->setPalette(pal);
    }
    network_->setFont(Style::font(12));
    clock_->setFont(Style::font(12, true));
    network_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    clock_->setAlignment(Qt::AlignCenter);
    activity_->resize(14, 14);
    activity_->stopAnimating();

    activityTimer_.setInterval(kActivityPollMs);
    connect(&activityTimer_, &QTimer::timeout, this, [this] {
        const bool on = ql::NetworkActivity::visible();
        if (on != activity_->isAnimating()) on ? activity_->startAnimating() : activity_->stopAnimating();
    });
    activityTimer_.start();

    clockTimer_.setInterval(kClockMs);
    connect(&clockTimer_, &QTimer::timeout, this, &PhoneStatusBar::tick);
    clockTimer_.start();
    tick();

    networkTimer_.setInterval(kNetworkPollMs);
    connect(&networkTimer_, &QTimer::timeout, this, &PhoneStatusBar::refreshNetwork);
    networkTimer_.start();
    // The first reading waits for the event loop, so an owner can set its own source first.
    QTimer::singleShot(0, this, &PhoneStatusBar::refreshNetwork);
}

bool PhoneStatusBar::activityShown() const { return activity_->isAnimating(); }

QString PhoneStatusBar::networkLabel(const std::string& type) {
    if (type == "wifi") return QStringLiteral("WiFi");
    if (type == "3g") return QStringLiteral("3G");
    return QStringLiteral("无网络");
}

void PhoneStatusBar::setNetworkSource(NetworkSource source) {
    source_ = std::move(source);
    refreshNetwork();
}

void PhoneStatusBar::refreshNetwork() {
    if (!source_ || probing_->exchange(true)) return;
    QPointer<PhoneStatusBar> self = this;
    QThreadPool::globalInstance()->start([self, source = source_, probing = probing_] {
        const std::string type = source();
        probing->store(false);
        const QString text = networkLabel(type);
        // The answer is applied on the GUI thread, if the bar is still there.
        QMetaObject::invokeMethod(
                qApp, [self, text] {
                    if (self) self->network_->setText(text);
                },
                Qt::QueuedConnection);
    });
}

void PhoneStatusBar::tick() { clock_->setText(QTime::currentTime().toString(QStringLiteral("HH:mm"))); }

void PhoneStatusBar::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), Qt::black); }

void PhoneStatusBar::resizeEvent(QResizeEvent*) {
    network_->setGeometry(6, 0, 90, height());
    clock_->setGeometry(width() / 2 - 40, 0, 80, height());
    activity_->move(width() - 6 - activity_->width(), (height() - activity_->height()) / 2);
}

PhoneWindow::PhoneWindow(QWidget* parent) : QWidget(parent), status_(new PhoneStatusBar(this)) {
    setFixedSize(Style::kScreenWidth, Style::kScreenHeight);
    setWindowTitle(QStringLiteral("青岚网校"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    status_->setGeometry(0, 0, width(), Style::kStatusBarHeight);
}

void PhoneWindow::setContent(QWidget* content) {
    if (content_ == content) return;
    if (content_) {
        content_->hide();
        content_->deleteLater();
    }
    content_ = content;
    if (!content) return;
    content->setParent(this);
    content->setGeometry(0, Style::kStatusBarHeight, width(), height() - Style::kStatusBarHeight);
    content->show();
    // Overlays (alerts, notices) stay above the content.
    content->lower();
}

void PhoneWindow::resizeEvent(QResizeEvent*) {
    status_->setGeometry(0, 0, width(), Style::kStatusBarHeight);
    if (content_) content_->setGeometry(0, Style::kStatusBarHeight, width(), height() - Style::kStatusBarHeight);
}

}  // namespace qlgui
