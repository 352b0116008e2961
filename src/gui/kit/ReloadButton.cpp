#include "kit/ReloadButton.h"

#include <QEvent>
#include <QPainter>

#include "kit/Style.h"

namespace qlgui {

ReloadButton::ReloadButton(QWidget* parent) : QAbstractButton(parent) {
    setText(defaultText());
    setFont(Style::font(15));
    setCursor(Qt::PointingHandCursor);
    if (parent) {
        setGeometry(parent->rect());
        parent->installEventFilter(this);
    }
    raise();
    show();
}

bool ReloadButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QAbstractButton::eventFilter(watched, event);
}

void ReloadButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), isDown() ? Style::lightGrey() : QColor(Qt::white));
    p.setPen(Style::grey());
    p.setFont(font());
    p.drawText(rect().adjusted(20, 0, -20, 0), Qt::AlignCenter | Qt::TextWordWrap, text());
}

}  // namespace qlgui
