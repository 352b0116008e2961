#include "account/FormField.h"

#include "kit/Pictures.h"
#include "kit/Style.h"

#include <QLabel>
#include <QPainter>

namespace qlgui {

FormField::FormField(const QString& label, const QString& placeholder, const QString& background, int margin,
                     QWidget* parent)
    : QWidget(parent), background_(background), margin_(margin), edit_(new QLineEdit(this)) {
    auto* caption = new QLabel(label, this);
    caption->setFont(Style::font(16, true));
    caption->setGeometry(8, 0, margin_ - 8, 44);
    edit_->setPlaceholderText(placeholder);
    edit_->setFrame(false);
    edit_->setFont(Style::font(15));
    edit_->setStyleSheet(QString("background: transparent; color: %1;").arg(Style::darkGrey().name()));
}

void FormField::resizeEvent(QResizeEvent*) { edit_->setGeometry(margin_, 0, width() - margin_ - 8, height()); }

void FormField::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(rect(), Pictures::pixmap(background_));
}

}  // namespace qlgui
