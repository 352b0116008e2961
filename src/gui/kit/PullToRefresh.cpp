#include "kit/PullToRefresh.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "kit/Animations.h"
#include "kit/Pictures.h"
#include "kit/Spinner.h"
#include "kit/Style.h"

namespace qlgui {

namespace {

// The header's texts and arrow sit in a block at its bottom edge, so that they come into view
// first as the pull grows.
constexpr int kBlockHeight = 40;
constexpr int kIconX = 28;
constexpr int kIconSize = 24;
constexpr int kArrowWidth = 14;
constexpr int kArrowHeight = 28;
// Wheel input has no release: the pull ends when the wheel has been still this long.
constexpr int kWheelReleaseMs = 250;

QPixmap arrowPicture(bool up) {
    QPixmap pixmap(QSize(kArrowWidth, kArrowHeight) * Pictures::kPixelRatio);
    pixmap.setDevicePixelRatio(Pictures::kPixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (up) {
        p.translate(kArrowWidth, kArrowHeight);
        p.rotate(180);
    }
    const qreal mid = kArrowWidth / 2.0;
    p.setPen(QPen(Style::grey(), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(mid, 2), QPointF(mid, kArrowHeight - 4));
    QPainterPath head;
    head.moveTo(1, kArrowHeight - 10);
    head.lineTo(mid, kArrowHeight - 1);
    head.lineTo(kArrowWidth - 1, kArrowHeight - 10);
    p.setPen(Qt::NoPen);
    p.setBrush(Style::grey());
    p.drawPath(head);
    return pixmap;
}

}  // namespace

PullToRefresh::PullToRefresh(QAbstractScrollArea* area, PullToRefreshOptions options)
        : QObject(area), area_(area), options_(std::move(options)) {
    header_ = new QWidget(area);
    header_->setAttribute(Qt::WA_TransparentForMouseEvents);
    arrow_ = new QLabel(header_);
    arrow_->setAlignment(Qt::AlignCenter);
    spinner_ = new Spinner(Spinner::Tone::Grey, header_);
    spinner_->stopAnimating();
    status_ = new QLabel(header_);
    status_->setFont(Style::font(14, true));
    status_->setAlignment(Qt::AlignCenter);
    status_->setStyleSheet(QStringLiteral("color: %1").arg(Style::darkGrey().name()));
    updated_ = new QLabel(header_);
    updated_->setFont(Style::font(12));
    updated_->setAlignment(Qt::AlignCenter);
    updated_->setStyleSheet(QStringLiteral("color: %1").arg(Style::grey().name()));
    header_->hide();

    viewport_ = area->viewport();
    base_ = applied_ = viewport_->geometry();
    viewport_->installEventFilter(this);

    slide_.setDuration(Animations::kTransitionMs);
    slide_.setEasingCurve(QEasingCurve::OutCubic);
    connect(&slide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) { applyOffset(v.toInt()); });
    wheelRelease_.setSingleShot(true);
    wheelRelease_.setInterval(kWheelReleaseMs);
    connect(&wheelRelease_, &QTimer::timeout, this, [this] { release(); });
    updateHeader();
}

PullToRefresh::~PullToRefresh() {
    slide_.stop();
    // While the area is being destroyed its viewport may already be gone: hence the own pointer.
    if (viewport_) {
        viewport_->removeEventFilter(this);
        if (offset_ != 0) viewport_->setGeometry(base_);
    }
    delete header_;
}

void PullToRefresh::setPullText(const QString& text) {
    options_.pullText = text;
    updateHeader();
}

void PullToRefresh::setReleaseText(const QString& text) {
    options_.releaseText = text;
    updateHeader();
}

void PullToRefresh::setLoadingText(const QString& text) {
    options_.loadingText = text;
    updateHeader();
}

void PullToRefresh::setThreshold(int points) { options_.threshold = std::max(1, points); }

void PullToRefresh::setRefreshingHeight(int points) { options_.refreshingHeight = std::max(0, points); }

void PullToRefresh::setTimeFormat(const QString& prefix, const QString& format) {
    options_.lastUpdatedPrefix = prefix;
    options_.timeFormat = format;
    updateHeader();
}

QString PullToRefresh::statusText() const { return status_->text(); }

QString PullToRefresh::lastUpdatedText() const { return updated_->text(); }

void PullToRefresh::setLastUpdated(const QDateTime& when) {
    lastUpdated_ = when;
    updateHeader();
}

int PullToRefresh::refreshingHeight() const {
    return options_.refreshingHeight > 0 ? options_.refreshingHeight : options_.threshold;
}

void PullToRefresh::beginRefreshing() {
    if (state_ == State::Refreshing) return;
    dragging_ = pulling_ = false;
    wheelRelease_.stop();
    setState(State::Refreshing);
    moveContentTo(refreshingHeight(), true);
    emit refreshRequested();
}

void PullToRefresh::finishRefreshing(const QDateTime& updated) {
    if (updated.isValid()) lastUpdated_ = updated;
    if (state_ == State::Refreshing) {
        setState(State::Idle);
        moveContentTo(0, true);
    }
    updateHeader();
}

void PullToRefresh::simulatePull(int points) {
    if (state_ == State::Refreshing) return;
    if (offset_ == 0 && !atTop()) return;
    pullTo(points);
}

void PullToRefresh::simulateRelease() { release(); }

bool PullToRefresh::atTop() const {
    if (!area_) return false;
    const QScrollBar* bar = area_->verticalScrollBar();
    return bar->value() <= bar->minimum();
}

void PullToRefresh::pullTo(int points) {
    slide_.stop();
    const int limit = area_ ? std::max(area_->height(), options_.threshold) : options_.threshold;
    const int pull = std::clamp(points, 0, limit);
    applyOffset(pull);
    setState(pull == 0 ? State::Idle : pull >= options_.threshold ? State::ReadyToRelease : State::Pulling);
}

void PullToRefresh::release() {
    dragging_ = pulling_ = false;
    wheelRelease_.stop();
    if (state_ == State::Refreshing) return;
    if (state_ == State::ReadyToRelease) {
        setState(State::Refreshing);
        moveContentTo(refreshingHeight(), true);
        emit refreshRequested();
        return;
    }
    setState(State::Idle);
    moveContentTo(0, true);
}

void PullToRefresh::setState(State state) {
    if (state_ == state) return;
    state_ = state;
    updateHeader();
    emit stateChanged(state);
}

void PullToRefresh::moveContentTo(int offset, bool animated) {
    slide_.stop();
    if (!animated || !Animations::enabled() || offset == offset_) {
        applyOffset(offset);
        return;
    }
    slide_.setStartValue(offset_);
    slide_.setEndValue(offset);
    slide_.start();
}

void PullToRefresh::applyOffset(int offset) {
    if (!viewport_) return;
    QWidget* viewport = viewport_;
    if (offset_ == 0) base_ = viewport->geometry();
    offset_ = offset;
    applied_ = base_.translated(0, offset);
    applying_ = true;
    viewport->setGeometry(applied_);
    applying_ = false;
    layoutHeader();
}

void PullToRefresh::layoutHeader() {
    if (!header_) return;
    header_->setGeometry(base_.x(), base_.y(), base_.width(), offset_);
    header_->setVisible(offset_ > 0);
    header_->raise();
    const int top = offset_ - kBlockHeight;
    const int iconY = top + (kBlockHeight - kIconSize) / 2;
    arrow_->setGeometry(kIconX - kIconSize / 2, top + (kBlockHeight - kArrowHeight) / 2, kIconSize, kArrowHeight);
    spinner_->setGeometry(kIconX - kIconSize / 2, iconY, kIconSize, kIconSize);
    status_->setGeometry(0, top + 2, base_.width(), 20);
    updated_->setGeometry(0, top + 22, base_.width(), 16);
}

void PullToRefresh::updateHeader() {
    switch (state_) {
        case State::Idle:
        case State::Pulling: status_->setText(options_.pullText); break;
        case State::ReadyToRelease: status_->setText(options_.releaseText); break;
        case State::Refreshing: status_->setText(options_.loadingText); break;
    }
    const bool refreshing = state_ == State::Refreshing;
    arrow_->setVisible(!refreshing);
    arrow_->setPixmap(arrowPicture(state_ == State::ReadyToRelease));
    if (refreshing)
        spinner_->startAnimating();
    else
        spinner_->stopAnimating();
    updated_->setText(lastUpdated_.isValid()
                          ? options_.lastUpdatedPrefix + lastUpdated_.toString(options_.timeFormat)
                          : QString());
}

bool PullToRefresh::eventFilter(QObject* watched, QEvent* event) {
    if (!viewport_ || watched != viewport_) return false;
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize: {
            // The scroll area laid its viewport out anew: take that as the place to move from.
            if (applying_) break;
            const QRect now = viewport_->geometry();
            if (offset_ != 0 && now == applied_) break;  // our own move, reported late
            base_ = now;
            if (offset_ != 0) applyOffset(offset_);
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: return handleMouse(event);
        case QEvent::Wheel: return handleWheel(event);
        default: break;
    }
    return false;
}

bool PullToRefresh::handleMouse(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (state_ == State::Refreshing) return false;
    const qreal y = mouse->globalPosition().y();
    if (event->type() == QEvent::MouseButtonPress) {
        if (mouse->button() != Qt::LeftButton) return false;
        dragging_ = true;
        pulling_ = false;
        pressY_ = y;
        return false;
    }
    if (event->type() == QEvent::MouseMove) {
        if (!dragging_ || !(mouse->buttons() & Qt::LeftButton)) return false;
        const int dy = static_cast<int>(y - pressY_);
        if (!pulling_) {
            if (dy <= 0 || !atTop()) return false;
            pulling_ = true;
        }
        pullTo(dy);
        return true;
    }
    // Release: the list sees the release of a press that was no pull.
    if (mouse->button() != Qt::LeftButton) return false;
    const bool wasPulling = pulling_;
    dragging_ = false;
    if (!wasPulling) return false;
    release();
    return true;
}

bool PullToRefresh::handleWheel(QEvent* event) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (state_ == State::Refreshing) return false;
    const int delta = !wheel->pixelDelta().isNull() ? wheel->pixelDelta().y() : wheel->angleDelta().y() / 4;
    if (wheel->phase() == Qt::ScrollEnd) {
        if (offset_ == 0) return false;
        release();
        return true;
    }
    if (offset_ == 0 && (delta <= 0 || !atTop())) return false;
    pullTo(std::max(0, offset_ + delta));
    if (offset_ == 0)
        wheelRelease_.stop();
    else
        wheelRelease_.start();
    return true;
}

}  // namespace qlgui
