#include "kit/Spinner.h"

#include <QPainter>
#include <QtMath>

#include "kit/Style.h"

namespace qlgui {

namespace {
constexpr int kBars = 12;
constexpr int kTickMs = 80;
}  // namespace

Spinner::Spinner(Tone tone, QWidget* parent)
        : QWidget(parent), color_(tone == Tone::White ? QColor(Qt::white) : Style::grey()) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(sizeHint());
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        phase_ = (phase_ + 1) % kBars;
        update();
    });
}

void Spinner::setColor(const QColor& color) {
    color_ = color;
    update();
}

void Spinner::startAnimating() {
    animating_ = true;
    if (hidesWhenStopped_) show();
    updateTimer();
}

void Spinner::stopAnimating() {
    animating_ = false;
    if (hidesWhenStopped_) hide();
    updateTimer();
}

void Spinner::setHidesWhenStopped(bool hides) {
    hidesWhenStopped_ = hides;
    if (hides && !animating_) hide();
}

void Spinner::updateTimer() {
    if (animating_ && isVisible())
        timer_.start();
    else
        timer_.stop();
}

void Spinner::showEvent(QShowEvent*) { updateTimer(); }
void Spinner::hideEvent(QHideEvent*) { updateTimer(); }

void Spinner::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height());
    p.translate(width() / 2.0, height() / 2.0);
    const qreal outer = side / 2.0;
    const qreal inner = outer * 0.45;
    const qreal thick = qMax<qreal>(1.5, side / 11.0);
    QPen pen;
    pen.setWidthF(thick);
    pen.setCapStyle(Qt::RoundCap);
    for (int i = 0; i < kBars; ++i) {
        // The bar at the phase is darkest; the ones behind it fade out.
        const int age = (phase_ - i + kBars) % kBars;
        QColor c = color_;
        c.setAlphaF(color_.alphaF() * (1.0 - 0.75 * age / (kBars - 1)));
        pen.setColor(c);
        p.setPen(pen);
        p.save();
        p.rotate(i * 360.0 / kBars);
        p.drawLine(QPointF(0, -inner), QPointF(0, -outer + thick / 2));
        p.restore();
    }
}

}  // namespace qlgui
