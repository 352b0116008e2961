#include "kit/OverlayNotice.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "kit/Style.h"

namespace qlgui {

namespace {
constexpr int kPadding = 16;
constexpr int kBadge = 37;
constexpr int kMaxTextWidth = 220;

int toMs(double seconds) { return static_cast<int>(std::lround(std::max(0.0, seconds) * 1000.0)); }
}  // namespace

OverlayNotice::OverlayNotice(QWidget* over, const QString& text, bool orange)
        : QWidget(over), text_(text), orange_(orange) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(Style::font(15, true));
    setGeometry(over->rect());
    over->installEventFilter(this);
    showTimer_.setSingleShot(true);
    hideTimer_.setSingleShot(true);
    connect(&hideTimer_, &QTimer::timeout, this, &OverlayNotice::close);
}

OverlayNotice* OverlayNotice::show(QWidget* over, const QString& text, double seconds, bool orangeCustomView,
                                   double delaySeconds) {
    if (!over) return nullptr;
    auto* notice = new OverlayNotice(over, text, orangeCustomView);
    const int stayMs = toMs(seconds);
    auto appear = [notice, stayMs] {
        notice->QWidget::show();
        notice->raise();
        if (stayMs > 0) notice->hideTimer_.start(stayMs);
    };
    const int delayMs = toMs(delaySeconds);
    if (delayMs > 0) {
        notice->hide();
        connect(&notice->showTimer_, &QTimer::timeout, notice, appear);
        notice->showTimer_.start(delayMs);
    } else {
        appear();
    }
    return notice;
}

OverlayNotice* OverlayNotice::visible(QWidget* over) {
    if (!over) return nullptr;
    const QObjectList& kids = over->children();
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        auto* n = qobject_cast<OverlayNotice*>(*it);
        if (n && !n->closed_ && !n->isHidden()) return n;
    }
    return nullptr;
}

void OverlayNotice::close() {
    if (closed_) return;
    closed_ = true;
    showTimer_.stop();
    hideTimer_.stop();
    hide();
    deleteLater();
}

bool OverlayNotice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

QRect OverlayNotice::boxRect() const {
    const QFontMetrics fm(font());
    const QRect text = fm.boundingRect(QRect(0, 0, kMaxTextWidth, 1000), Qt::AlignCenter | Qt::TextWordWrap, text_);
    int w = std::max(text.width(), orange_ ? kBadge : 0) + 2 * kPadding;
    int h = text.height() + 2 * kPadding + (orange_ ? kBadge + 8 : 0);
    w = std::max(w, h * 3 / 4);  // never a thin sliver
    QRect box(0, 0, w, h);
    box.moveCenter(rect().center());
    return box;
}

void OverlayNotice::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect box = boxRect();
    QPainterPath path;
    path.addRoundedRect(box, 10, 10);
    p.fillPath(path, Style::noticeBackground());
    QRect textRect = box.adjusted(kPadding, kPadding, -kPadding, -kPadding);
    if (orange_) {
        // The custom view: an orange disc with an exclamation mark.
        QRect badge(0, textRect.top(), kBadge, kBadge);
        badge.moveLeft(box.center().x() - kBadge / 2);
        p.setPen(Qt::NoPen);
        p.setBrush(Style::orange());
        p.drawEllipse(badge);
        p.setPen(Qt::white);
        p.setFont(Style::font(24, true));
        p.drawText(badge, Qt::AlignCenter, QStringLiteral("!"));
        textRect.setTop(badge.bottom() + 8);
    }
    p.setPen(Qt::white);
    p.setFont(font());
    p.drawText(textRect, Qt::AlignCenter | Qt::TextWordWrap, text_);
}

}  // namespace qlgui
