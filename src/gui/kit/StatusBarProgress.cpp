#include "kit/StatusBarProgress.h"

#include <QAbstractButton>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "kit/Style.h"

namespace qlgui {

namespace {

constexpr int kLineHeight = 2;
constexpr int kCloseWidth = 24;
const QColor kLineColour(254, 104, 10);
const QColor kTrackColour(255, 255, 255, 50);

// A cross on the black bar, easy to hit at the right end.
class CloseButton : public QAbstractButton {
public:
    explicit CloseButton(QWidget* parent) : QAbstractButton(parent) {
        setCursor(Qt::PointingHandCursor);
        setAccessibleName(QStringLiteral("关闭"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        if (isDown()) p.fillRect(rect(), QColor(255, 255, 255, 40));
        p.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = QRectF(rect()).center();
        constexpr qreal r = 4;
        p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
    }
};

}  // namespace

// The drawn bar: black like the status bar under it, so the clock and network type do not
// show through, with the message on the left and the line along the bottom.
class StatusBarProgressView : public QWidget {
public:
    explicit StatusBarProgressView(QWidget* parent) : QWidget(parent), close_(new CloseButton(this)) {
        setFont(Style::font(12));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    CloseButton* closeButton() const { return close_; }
    void set(const QString& text, double progress) {
        text_ = text;
        progress_ = progress;
        update();
    }

protected:
    void resizeEvent(QResizeEvent*) override { close_->setGeometry(width() - kCloseWidth, 0, kCloseWidth, height()); }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
        p.setPen(Qt::white);
        p.drawText(QRect(8, 0, width() - 8 - kCloseWidth, height() - kLineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   text_);
        const QRect track(0, height() - kLineHeight, width(), kLineHeight);
        p.fillRect(track, kTrackColour);
        p.fillRect(QRect(track.topLeft(), QSize(static_cast<int>(std::lround(track.width() * progress_)), kLineHeight)),
                   kLineColour);
    }

private:
    CloseButton* close_;
    QString text_;
    double progress_ = 0;
};

StatusBarProgress::StatusBarProgress(QObject* parent) : QObject(parent), text_(runningText(0)) {
    hideTimer_.setSingleShot(true);
    hideTimer_.setInterval(kHideDelayMs);
    connect(&hideTimer_, &QTimer::timeout, this, &StatusBarProgress::hide);
}

StatusBarProgress::~StatusBarProgress() { delete view_.data(); }

QString StatusBarProgress::runningText(double fraction) {
    // Rounded like printf's "%.0f", so 0.99 stored as a float still reads 99 %.
    return QString::asprintf("正在离线: %.0f%%", fraction * 100);
}

QString StatusBarProgress::finishedText() { return QString::asprintf("离线完成 %.0f%%", 100.0); }

void StatusBarProgress::ensureView(QWidget* window) {
    if (!view_) {
        if (!window) return;
        view_ = new StatusBarProgressView(window);
        connect(view_->closeButton(), &QAbstractButton::clicked, this, [this] {
            emit closeRequested();
            hideLater();
        });
    } else if (window && view_->parentWidget() != window) {
        view_->setParent(window);
    }
    view_->set(text_, progress_);
}

void StatusBarProgress::show(QWidget* window) {
    ensureView(window);
    if (!view_) return;
    hideTimer_.stop();
    QWidget* host = view_->parentWidget();
    view_->setGeometry(0, 0, host ? host->width() : Style::kScreenWidth, Style::kStatusBarHeight);
    view_->raise();
    view_->show();
}

void StatusBarProgress::hide() {
    hideTimer_.stop();
    if (view_) view_->hide();
}

bool StatusBarProgress::isShown() const { return view_ && !view_->isHidden(); }

void StatusBarProgress::hideLater() { hideTimer_.start(); }

void StatusBarProgress::setProgress(double fraction) {
    progress_ = std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
    text_ = runningText(progress_);
    if (view_) view_->set(text_, progress_);
}

void StatusBarProgress::setMessage(const QString& text) {
    text_ = text;
    if (view_) view_->set(text_, progress_);
}

void StatusBarProgress::finish() {
    progress_ = 1.0;
    text_ = finishedText();
    if (view_) view_->set(text_, progress_);
    hideLater();
}

QWidget* StatusBarProgress::widget() const { return view_.data(); }

QAbstractButton* StatusBarProgress::closeButton() const { return view_ ? view_->closeButton() : nullptr; }

}  // namespace qlgui
