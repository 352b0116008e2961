#include "kit/PictureButton.h"

#include <QPainter>

#include "kit/Pictures.h"
#include "kit/Style.h"

namespace qlgui {

PictureButton::PictureButton(const QString& normal, const QString& highlighted, QWidget* parent)
        : QAbstractButton(parent) {
    setFont(Style::font(13));
    setCursor(Qt::PointingHandCursor);
    setPictures(normal, highlighted);
}

void PictureButton::setPictures(const QString& normal, const QString& highlighted) {
    normalName_ = normal;
    highlightedName_ = highlighted;
    normal_ = normal.isEmpty() ? QPixmap() : Pictures::pixmap(normal);
    highlighted_ = highlighted.isEmpty() ? QPixmap() : Pictures::pixmap(highlighted);
    update();
}

void PictureButton::setSelectedPicture(const QString& selected) {
    selectedName_ = selected;
    selectedPix_ = selected.isEmpty() ? QPixmap() : Pictures::pixmap(selected);
    update();
}

void PictureButton::setSelected(bool selected) {
    if (selected_ == selected) return;
    selected_ = selected;
    update();
}

void PictureButton::setTextColor(const QColor& color) {
    textColor_ = color;
    update();
}

QSize PictureButton::sizeHint() const {
    if (!normal_.isNull()) return normal_.deviceIndependentSize().toSize();
    return {44, 30};
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap* pix = &normal_;
    if ((selected_ || isChecked()) && !selectedPix_.isNull()) pix = &selectedPix_;
    if (isDown() && !highlighted_.isNull()) pix = &highlighted_;
    if (!pix->isNull()) {
        p.drawPixmap(rect(), *pix);
    } else if (isDown()) {
        p.fillRect(rect(), QColor(0, 0, 0, 40));
    }
    if (!text().isEmpty()) {
        QColor c = textColor_;
        if (!isEnabled()) c.setAlphaF(0.5);
        if (isDown() && highlighted_.isNull()) c = c.darker(130);
        p.setPen(c);
        p.setFont(font());
        p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    }
}

}  // namespace qlgui
