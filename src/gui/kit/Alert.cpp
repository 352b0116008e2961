#include "kit/Alert.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>

#include "kit/Animations.h"
#include "kit/Style.h"

namespace qlgui {

namespace {
constexpr int kAlertWidth = 270;
constexpr int kButtonHeight = 44;
constexpr int kSheetMargin = 8;

// The whole window over which a layer is laid: the window of `w`, else the active window,
// else the first visible top-level widget.
QWidget* hostFor(QWidget* w) {
    if (w) return w->window();
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible()) return top;
    return nullptr;
}

template <typename Layer>
Layer* topLayer(QWidget* window) {
    QWidget* host = window ? window->window() : hostFor(nullptr);
    if (!host) return nullptr;
    const QObjectList& kids = host->children();
    // Children are kept in stacking order: the last one is drawn on top.
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        auto* layer = qobject_cast<Layer*>(*it);
        if (layer && !layer->isClosing() && !layer->isHidden()) return layer;
    }
    return nullptr;
}

QString colorName(const QColor& c) { return c.name(QColor::HexRgb); }

QPushButton* makeButton(const QString& text, QWidget* parent, const QColor& color, bool bold, const QString& borders) {
    auto* b = new QPushButton(text, parent);
    b->setFont(Style::font(16, bold));
    b->setFlat(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setFocusPolicy(Qt::NoFocus);
    b->setStyleSheet(QStringLiteral("QPushButton { border: none; %1 background: transparent; color: %2; }"
                                    "QPushButton:pressed { background: rgba(0, 0, 0, 26); }")
                             .arg(borders, colorName(color)));
    return b;
}

QLabel* makeLabel(const QString& text, QWidget* parent, const QFont& font, const QColor& color) {
    auto* l = new QLabel(text, parent);
    l->setFont(font);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignCenter);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, color);
    l->setPalette(pal);
    return l;
}
}  // namespace

// ---- ModalLayer ------------------------------------------------------------------------------

ModalLayer::ModalLayer(QWidget* window, QStringList buttons, int cancelIndex, Answer answer)
        : QWidget(window), buttons_(std::move(buttons)), cancelIndex_(cancelIndex), answer_(std::move(answer)) {
    setGeometry(window->rect());
    setFocusPolicy(Qt::StrongFocus);
    window->installEventFilter(this);
}

bool ModalLayer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void ModalLayer::press(int index) {
    if (closing_ || index < 0 || index >= buttons_.size()) return;
    closing_ = true;
    closing();
    hide();
    deleteLater();
    // Closed first, then answered: the answer may well show the next alert.
    Answer answer = std::move(answer_);
    answer_ = nullptr;
    emit answered(index);
    if (answer) answer(index);
}

void ModalLayer::paintEvent(QPaintEvent*) {
    QColor c = Style::dimming();
    c.setAlphaF(c.alphaF() * dim_);
    QPainter(this).fillRect(rect(), c);
}

void ModalLayer::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && cancelIndex_ >= 0)
        press(cancelIndex_);
    else
        e->accept();  // a modal layer lets no key through to the screen under it
}

void ModalLayer::mousePressEvent(QMouseEvent* e) { e->accept(); }

// ---- Alert -----------------------------------------------------------------------------------

Alert::Alert(QWidget* window, const QString& title, const QString& message, const QStringList& buttons,
             int cancelIndex, int tag, Answer answer)
        : ModalLayer(window, buttons, cancelIndex, std::move(answer)),
          title_(title),
          message_(message),
          tag_(tag),
          box_(new QWidget(this)) {
    box_->setObjectName(QStringLiteral("alertBox"));
    box_->setAttribute(Qt::WA_StyledBackground);
    box_->setStyleSheet(QStringLiteral("#alertBox { background: white; border-radius: 10px; }"));
    const QString sep = QStringLiteral("#%1").arg(Style::lightGrey().name().mid(1));
    for (int i = 0; i < buttons.size(); ++i) {
        QString borders = QStringLiteral("border-top: 1px solid %1;").arg(sep);
        if (buttons.size() == 2 && i == 0) borders += QStringLiteral(" border-right: 1px solid %1;").arg(sep);
        QPushButton* b = makeButton(buttons.at(i), box_, Style::alertButtonText(), i == cancelIndex, borders);
        connect(b, &QPushButton::clicked, this, [this, i] { press(i); });
        pushButtons_.append(b);
    }
    layoutBox();
}

Alert* Alert::show(QWidget* window, const QString& title, const QString& message, const QStringList& buttons,
                   int cancelIndex, int tag, Answer answer) {
    QWidget* host = hostFor(window);
    if (!host) return nullptr;
    auto* alert = new Alert(host, title, message, buttons, cancelIndex, tag, std::move(answer));
    alert->QWidget::show();
    alert->raise();
    alert->setFocus();
    return alert;
}

Alert* Alert::visible(QWidget* window) { return topLayer<Alert>(window); }

QPushButton* Alert::button(int index) const { return pushButtons_.value(index, nullptr); }

void Alert::layoutBox() {
    // Labels are made here rather than in the constructor so their heights follow the width.
    const int inner = kAlertWidth - 32;
    int y = 18;
    auto place = [&](const QString& text, const QFont& font, const QColor& color, const char* name) {
        if (text.isEmpty()) return;
        auto* l = box_->findChild<QLabel*>(QLatin1String(name));
        if (!l) {
            l = makeLabel(text, box_, font, color);
            l->setObjectName(QLatin1String(name));
        }
        const int h = l->heightForWidth(inner);
        l->setGeometry(16, y, inner, h);
        y += h + 6;
    };
    place(title_, Style::font(17, true), Qt::black, "title");
    place(message_, Style::font(14), Qt::black, "message");
    y += 12;
    if (pushButtons_.size() == 2) {
        pushButtons_[0]->setGeometry(0, y, kAlertWidth / 2, kButtonHeight);
        pushButtons_[1]->setGeometry(kAlertWidth / 2, y, kAlertWidth - kAlertWidth / 2, kButtonHeight);
        y += kButtonHeight;
    } else {
        for (QPushButton* b : pushButtons_) {
            b->setGeometry(0, y, kAlertWidth, kButtonHeight);
            y += kButtonHeight;
        }
    }
    box_->setGeometry((width() - kAlertWidth) / 2, (height() - y) / 2, kAlertWidth, y);
}

void Alert::resizeEvent(QResizeEvent*) { layoutBox(); }

// ---- ActionSheet -----------------------------------------------------------------------------

ActionSheet::ActionSheet(QWidget* window, const QString& title, const QStringList& buttons, int cancelIndex,
                         int destructiveIndex, Answer answer)
        : ModalLayer(window, buttons, cancelIndex, std::move(answer)),
          title_(title),
          destructiveIndex_(destructiveIndex),
          sheet_(new QWidget(this)) {
    const QString sep = QStringLiteral("#%1").arg(Style::lightGrey().name().mid(1));
    bool firstInGroup = title.isEmpty();
    for (int i = 0; i < buttons.size(); ++i) {
        const QColor color = i == destructiveIndex ? Style::destructive() : Style::alertButtonText();
        // Lines only between rows of the main group; the cancel button stands alone.
        QString borders;
        if (i != cancelIndex && !firstInGroup) borders = QStringLiteral("border-top: 1px solid %1;").arg(sep);
        if (i != cancelIndex) firstInGroup = false;
        QPushButton* b = makeButton(buttons.at(i), nullptr, color, i == cancelIndex, borders);
        connect(b, &QPushButton::clicked, this, [this, i] { press(i); });
        pushButtons_.append(b);
    }
    layoutSheet();
}

ActionSheet* ActionSheet::show(QWidget* window, const QString& title, const QStringList& buttons, int cancelIndex,
                               int destructiveIndex, Answer answer) {
    QWidget* host = hostFor(window);
    if (!host) return nullptr;
    auto* sheet = new ActionSheet(host, title, buttons, cancelIndex, destructiveIndex, std::move(answer));
    sheet->QWidget::show();
    sheet->raise();
    sheet->setFocus();
    if (Animations::enabled() && host->isVisible()) {
        auto* slide = new QPropertyAnimation(sheet->sheet_, "pos", sheet);
        slide->setDuration(Animations::kTransitionMs);
        slide->setStartValue(QPoint(0, sheet->height()));
        slide->setEndValue(sheet->sheet_->pos());
        slide->setEasingCurve(QEasingCurve::OutCubic);
        slide->start(QAbstractAnimation::DeleteWhenStopped);
    }
    return sheet;
}

ActionSheet* ActionSheet::visible(QWidget* window) { return topLayer<ActionSheet>(window); }

QPushButton* ActionSheet::button(int index) const { return pushButtons_.value(index, nullptr); }

void ActionSheet::layoutSheet() {
    // Two white groups: the title with every other button, and the cancel button apart below.
    const int w = width() - 2 * kSheetMargin;
    auto group = [this](const char* name) {
        auto* g = sheet_->findChild<QWidget*>(QLatin1String(name));
        if (!g) {
            g = new QWidget(sheet_);
            g->setObjectName(QLatin1String(name));
            g->setAttribute(Qt::WA_StyledBackground);
            g->setStyleSheet(QStringLiteral("#%1 { background: white; border-radius: 10px; }").arg(QLatin1String(name)));
        }
        return g;
    };
    QWidget* main = group("sheetMain");
    int y = 0;
    if (!title_.isEmpty()) {
        auto* l = main->findChild<QLabel*>(QStringLiteral("title"));
        if (!l) {
            l = makeLabel(title_, main, Style::font(13), Style::grey());
            l->setObjectName(QStringLiteral("title"));
        }
        const int h = l->heightForWidth(w - 24) + 24;
        l->setGeometry(12, 0, w - 24, h);
        y = h;
    }
    for (int i = 0; i < pushButtons_.size(); ++i) {
        if (i == cancelIndex_) continue;
        pushButtons_[i]->setParent(main);
        pushButtons_[i]->setGeometry(0, y, w, kButtonHeight);
        pushButtons_[i]->show();
        y += kButtonHeight;
    }
    main->setGeometry(kSheetMargin, 0, w, y);
    main->setVisible(y > 0);
    int bottom = y;
    if (cancelIndex_ >= 0 && cancelIndex_ < pushButtons_.size()) {
        QWidget* cancel = group("sheetCancel");
        QPushButton* b = pushButtons_[cancelIndex_];
        b->setParent(cancel);
        b->setGeometry(0, 0, w, kButtonHeight);
        b->show();
        const int top = y > 0 ? y + kSheetMargin : 0;
        cancel->setGeometry(kSheetMargin, top, w, kButtonHeight);
        bottom = top + kButtonHeight;
    }
    bottom += kSheetMargin;
    sheet_->setGeometry(0, height() - bottom, width(), bottom);
}

void ActionSheet::resizeEvent(QResizeEvent*) { layoutSheet(); }

void ActionSheet::closing() { sheet_->hide(); }

}  // namespace qlgui
