#include "kit/ColumnTabStrip.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "kit/Animations.h"
#include "kit/Pictures.h"
#include "kit/Style.h"

namespace qlgui {

namespace {

constexpr int kTabPadding = 14;  // each side of a column name
constexpr int kCapWidth = 16;    // the faded end pictures
constexpr int kTextPointSize = 15;
// The chosen column's name takes the marker's accent colour.
const QColor kChosenText(254, 104, 10);
const QString kBackground = QStringLiteral("news_tap_background.png");
const QString kLeftCap = QStringLiteral("news_tap_left.png");
const QString kRightCap = QStringLiteral("news_tap_right.png");
const QString kMarker = QStringLiteral("news_tap_inside.png");
const QString kEditPicture = QStringLiteral("outspread.png");

// The edit button: the strip's background, a hairline on its left and the expand arrow
// pointing down.
class EditButton : public QAbstractButton {
public:
    explicit EditButton(QWidget* parent) : QAbstractButton(parent) {
        setCursor(Qt::PointingHandCursor);
        setAccessibleName(QStringLiteral("编辑栏目"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setRenderHint(QPainter::Antialiasing);
        if (const QPixmap bg = Pictures::scaled(kBackground, parentWidget()->size()); !bg.isNull())
            p.drawPixmap(QPoint(0, 0), bg, QRect(QPoint(x(), 0), size()));
        else
            p.fillRect(rect(), Qt::white);
        if (isDown()) p.fillRect(rect(), QColor(0, 0, 0, 30));
        p.fillRect(QRect(0, 10, 1, height() - 20), Style::lightGrey());

        const QPixmap arrow = Pictures::pixmap(kEditPicture);
        p.translate(width() / 2.0, height() / 2.0);
        p.rotate(90);
        if (!arrow.isNull()) {
            const QSizeF s = arrow.deviceIndependentSize();
            p.drawPixmap(QRectF(-s.width() / 2, -s.height() / 2, s.width(), s.height()), arrow, arrow.rect());
        } else {
            p.setPen(QPen(Style::grey(), 1.8));
            p.drawPolyline(QPolygonF({QPointF(-2, -5), QPointF(3, 0), QPointF(-2, 5)}));
        }
    }
};

}  // namespace

ColumnTabStrip::ColumnTabStrip(QWidget* parent) : QWidget(parent), edit_(new EditButton(this)) {
    setFont(Style::font(kTextPointSize));
    resize(Style::kScreenWidth, kHeight);
    connect(edit_, &QAbstractButton::clicked, this, &ColumnTabStrip::editRequested);

    markerSlide_.setStartValue(0.0);
    markerSlide_.setEndValue(1.0);
    markerSlide_.setDuration(Animations::kTransitionMs);
    markerSlide_.setEasingCurve(QEasingCurve::OutCubic);
    connect(&markerSlide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        const qreal t = v.toReal();
        auto mix = [t](qreal a, qreal b) { return a + (b - a) * t; };
        markerRect_ = QRectF(mix(markerFrom_.x(), markerTo_.x()), 0, mix(markerFrom_.width(), markerTo_.width()),
                             kHeight);
        update();
    });

    scroll_.setDuration(Animations::kTransitionMs);
    scroll_.setEasingCurve(QEasingCurve::OutCubic);
    connect(&scroll_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& v) { setScrollOffset(v.toInt()); });
}

void ColumnTabStrip::setColumns(const QStringList& names) {
    const QString chosen = selected_ >= 0 && selected_ < names_.size() ? names_[selected_] : QString();
    names_ = names;
    layoutTabs();
    int keep = chosen.isNull() ? -1 : static_cast<int>(names_.indexOf(chosen));
    if (keep < 0) keep = names_.isEmpty() ? -1 : 0;
    selected_ = keep;
    markerSlide_.stop();
    scroll_.stop();
    markerRect_ = markerTo_ = contentRect(selected_);
    setScrollOffset(offset_);  // the new tabs may be narrower
    if (selected_ >= 0) scrollIntoView(selected_, false);
    update();
}

void ColumnTabStrip::selectTab(int index, bool animated) {
    if (index < 0 || index >= names_.size()) return;
    const bool slide = animated && Animations::enabled() && selected_ >= 0 && isVisible();
    selected_ = index;
    markerSlide_.stop();
    markerTo_ = contentRect(index);
    if (slide) {
        markerFrom_ = markerRect_;
        markerSlide_.start();
    } else {
        markerRect_ = markerTo_;
    }
    scrollIntoView(index, slide);
    update();
}

void ColumnTabStrip::layoutTabs() {
    const QFontMetrics fm(font());
    widths_.clear();
    for (const QString& name : names_)
        widths_.push_back(std::max(kMinTabWidth, fm.horizontalAdvance(name) + 2 * kTabPadding));
}

QRectF ColumnTabStrip::contentRect(int index) const {
    if (index < 0 || index >= widths_.size()) return {};
    int x = 0;
    for (int i = 0; i < index; ++i) x += widths_[i];
    return QRectF(x, 0, widths_[index], kHeight);
}

int ColumnTabStrip::contentWidth() const {
    int w = 0;
    for (int x : widths_) w += x;
    return w;
}

QRect ColumnTabStrip::tabArea() const { return QRect(0, 0, std::max(0, width() - kEditWidth), height()); }

QRect ColumnTabStrip::tabRect(int index) const {
    return contentRect(index).translated(-offset_, 0).toRect();
}

int ColumnTabStrip::tabAt(QPoint pos) const {
    if (!tabArea().contains(pos)) return -1;
    for (int i = 0; i < names_.size(); ++i)
        if (tabRect(i).contains(pos)) return i;
    return -1;
}

int ColumnTabStrip::maxScrollOffset() const { return std::max(0, contentWidth() - tabArea().width()); }

void ColumnTabStrip::setScrollOffset(int offset) {
    offset = std::clamp(offset, 0, maxScrollOffset());
    if (offset == offset_) return;
    offset_ = offset;
    update();
}

void ColumnTabStrip::scrollIntoView(int index, bool animated) {
    const QRectF r = contentRect(index);
    const int area = tabArea().width();
    if (r.isEmpty() || area <= 0) return;
    // Keep the neighbours' edges peeking out past the faded ends, so the user sees there is more.
    const int margin = kCapWidth;
    int target = offset_;
    if (r.left() - margin < target) target = static_cast<int>(r.left()) - margin;
    else if (r.right() + margin > target + area) target = static_cast<int>(r.right()) + margin - area;
    target = std::clamp(target, 0, maxScrollOffset());
    scroll_.stop();
    if (target == offset_) return;
    if (animated) {
        scroll_.setStartValue(offset_);
        scroll_.setEndValue(target);
        scroll_.start();
    } else {
        setScrollOffset(target);
    }
}

void ColumnTabStrip::resizeEvent(QResizeEvent*) {
    edit_->setGeometry(width() - kEditWidth, 0, kEditWidth, height());
    setScrollOffset(offset_);
    if (selected_ >= 0) scrollIntoView(selected_, false);
}

void ColumnTabStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::Antialiasing);
    if (const QPixmap bg = Pictures::scaled(kBackground, size()); !bg.isNull())
        p.drawPixmap(0, 0, bg);
    else
        p.fillRect(rect(), Qt::white);

    const QRect area = tabArea();
    p.save();
    p.setClipRect(area);
    if (selected_ >= 0) {
        const QRectF marker = markerRect_.translated(-offset_, 0);
        if (const QPixmap pix = Pictures::pixmap(kMarker); !pix.isNull()) {
            p.drawPixmap(marker, pix, pix.rect());
        } else {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(220, 233, 235));
            p.drawRoundedRect(marker.adjusted(3, 8, -3, -9), 14, 14);
            p.setBrush(kChosenText);
            p.drawRect(QRectF(marker.center().x() - 12, 40, 24, 3));
        }
    }
    for (int i = 0; i < names_.size(); ++i) {
        const QRect r = tabRect(i);
        if (!r.intersects(area)) continue;
        p.setPen(i == selected_ ? kChosenText : Style::darkGrey());
        p.drawText(r.adjusted(0, 0, 0, -1), Qt::AlignCenter, names_[i]);
    }
    p.restore();

    if (moreOnLeft()) {
        if (const QPixmap cap = Pictures::pixmap(kLeftCap); !cap.isNull())
            p.drawPixmap(QRect(area.left(), 0, kCapWidth, height()), cap);
    }
    if (moreOnRight()) {
        if (const QPixmap cap = Pictures::pixmap(kRightCap); !cap.isNull())
            p.drawPixmap(QRect(area.right() + 1 - kCapWidth, 0, kCapWidth, height()), cap);
    }
}

void ColumnTabStrip::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    pressed_ = true;
    dragging_ = false;
    pressPos_ = e->position().toPoint();
    pressOffset_ = offset_;
    scroll_.stop();
}

void ColumnTabStrip::mouseMoveEvent(QMouseEvent* e) {
    if (!pressed_) return;
    const int dx = e->position().toPoint().x() - pressPos_.x();
    if (!dragging_ && std::abs(dx) >= QApplication::startDragDistance()) dragging_ = true;
    if (dragging_) setScrollOffset(pressOffset_ - dx);
}

void ColumnTabStrip::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !pressed_) return QWidget::mouseReleaseEvent(e);
    pressed_ = false;
    if (dragging_) {
        dragging_ = false;
        return;
    }
    // A tap counts only where it began and ended on the same tab.
    const int index = tabAt(e->position().toPoint());
    if (index < 0 || index != tabAt(pressPos_)) return;
    selectTab(index, true);
    emit tabSelected(index);
}

void ColumnTabStrip::wheelEvent(QWheelEvent* e) {
    const QPoint delta = e->pixelDelta().isNull() ? e->angleDelta() / 4 : e->pixelDelta();
    const int d = delta.x() != 0 ? delta.x() : delta.y();
    const int before = offset_;
    scroll_.stop();
    setScrollOffset(offset_ - d);
    if (offset_ == before) e->ignore();
}

}  // namespace qlgui
