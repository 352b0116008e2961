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
    update();
}

void PictureButton::setSelectedPicture(const QString& selected) {
    selectedName_ = selected;
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
    if (const QPixmap normal = look(normalName_); !normal.isNull()) return normal.deviceIndependentSize().toSize();
    return {44, 30};
}

QPixmap PictureButton::look(const QString& name) { return name.isEmpty() ? QPixmap() : Pictures::pixmap(name); }

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // Pictures are looked up when drawn: a look that is never shown (a pressed or selected one,
    // a hidden button) is never decoded.
    const QPixmap highlighted = isDown() ? look(highlightedName_) : QPixmap();
    QPixmap pix = look(normalName_);
    if (selected_ || isChecked()) {
        if (const QPixmap selected = look(selectedName_); !selected.isNull()) pix = selected;
    }
    if (!highlighted.isNull()) pix = highlighted;
    if (!pix.isNull()) {
        p.drawPixmap(rect(), pix);
    } else if (isDown()) {
        p.fillRect(rect(), QColor(0, 0, 0, 40));
    }
    if (!text().isEmpty()) {
        QColor c = textColor_;
        if (!isEnabled()) c.setAlphaF(0.5);
        if (isDown() && highlighted.isNull()) c = c.darker(130);
        p.setPen(c);
        p.setFont(font());
        p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    }
}

}  // namespace qlgui
