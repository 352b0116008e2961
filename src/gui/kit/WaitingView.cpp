#include "kit/WaitingView.h"

#include <QEvent>
#include <QPainter>

#include "kit/Pictures.h"
#include "kit/Spinner.h"
#include "kit/Style.h"

namespace qlgui {

WaitingView::WaitingView(QWidget* parent)
        : QWidget(parent),
          logo_(new QLabel(this)),
          spinner_(new Spinner(Spinner::Tone::Grey, this)),
          label_(new QLabel(QStringLiteral("加载中..."), this)) {
    logo_->setPixmap(Pictures::pixmap(QStringLiteral("logo_small_2.png")));
    logo_->setScaledContents(true);
    logo_->setGeometry(42, 70, 236, 84);
    spinner_->setGeometry(140, 250, 32, 32);
    spinner_->startAnimating();
    label_->setFont(Style::font(14));
    label_->setAlignment(Qt::AlignCenter);
    label_->setGeometry(120, 290, 80, 20);
    if (parent) {
        setGeometry(parent->rect());
        parent->installEventFilter(this);
    }
    raise();
    show();
}

bool WaitingView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void WaitingView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPixmap background = Pictures::scaled(QStringLiteral("main_00.png"), size());
    if (!background.isNull())
        p.drawPixmap(0, 0, background);
    else
        p.fillRect(rect(), Qt::white);
}

}  // namespace qlgui
