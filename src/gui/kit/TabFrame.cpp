#include "kit/TabFrame.h"

#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>

#include "kit/Pictures.h"
#include "kit/Screen.h"
#include "kit/Style.h"

namespace qlgui {

// ---- TabBar ----------------------------------------------------------------------------------

TabBar::TabBar(QWidget* parent)
        : QWidget(parent),
          marker_(Pictures::pixmap(QStringLiteral("tab_bg01.png"))) {}

void TabBar::setCount(int count) {
    count_ = count;
    update();
}

void TabBar::setSelectedIndex(int index) {
    selected_ = index;
    update();
}

QRect TabBar::sectionRect(int index) const {
    if (count_ <= 0 || index < 0 || index >= count_) return {};
    const int x0 = index * width() / count_;
    const int x1 = (index + 1) * width() / count_;
    return {x0, 0, x1 - x0, height()};
}

int TabBar::indexAt(QPoint pos) const {
    if (count_ <= 0 || !rect().contains(pos)) return -1;
    return std::min(count_ - 1, pos.x() * count_ / std::max(1, width()));
}

void TabBar::mousePressEvent(QMouseEvent* e) { pressed_ = indexAt(e->position().toPoint()); }

void TabBar::mouseReleaseEvent(QMouseEvent* e) {
    // A tap: pressed and released over the same section.
    const int index = indexAt(e->position().toPoint());
    const bool tap = index >= 0 && index == pressed_;
    pressed_ = -1;
    if (tap) emit tapped(index);
}

void TabBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap background = Pictures::scaled(QStringLiteral("tab_a.png"), size());
    if (!background.isNull())
        p.drawPixmap(0, 0, background);
    else
        p.fillRect(rect(), Style::tabBarFallback());
    const QRect sel = sectionRect(selected_);
    if (sel.isEmpty()) return;
    if (!marker_.isNull()) {
        // The marker keeps its own size, centred on the selected section.
        QSize size = marker_.deviceIndependentSize().toSize().boundedTo(sel.size());
        QRect r(QPoint(0, 0), size);
        r.moveCenter(sel.center());
        p.drawPixmap(r, marker_);
    } else {
        p.fillRect(sel.adjusted(2, 2, -2, -2), QColor(255, 255, 255, 30));
    }
}

// ---- TabFrame --------------------------------------------------------------------------------

TabFrame::TabFrame(QWidget* parent) : QWidget(parent), bar_(new TabBar(this)) {
    connect(bar_, &TabBar::tapped, this, &TabFrame::tabBarTapped);
    resize(Style::kScreenWidth, Style::kScreenHeight - Style::kStatusBarHeight - Style::kNavBarHeight);
    layoutSections();
}

int TabFrame::addSection(QWidget* section) {
    if (!section) return -1;
    section->setParent(this);
    section->hide();
    sections_.append(section);
    bar_->setCount(sections_.size());
    bar_->raise();
    layoutSections();
    if (current_ < 0) setCurrentIndex(0);
    return sections_.size() - 1;
}

QWidget* TabFrame::section(int index) const {
    return index >= 0 && index < sections_.size() ? sections_.at(index).data() : nullptr;
}

void TabFrame::setCurrentIndex(int index) {
    if (index < 0 || index >= sections_.size() || index == current_) return;
    QWidget* from = currentSection();
    QWidget* to = section(index);
    if (onScreen_) {
        if (auto* s = qobject_cast<Screen*>(from)) s->viewWillDisappear();
        if (auto* s = qobject_cast<Screen*>(to)) s->viewWillAppear();
    }
    current_ = index;
    bar_->setSelectedIndex(index);
    if (to) {
        to->setGeometry(contentRect());
        to->show();
    }
    if (from) from->hide();
    if (onScreen_) {
        if (auto* s = qobject_cast<Screen*>(from)) s->viewDidDisappear();
        if (auto* s = qobject_cast<Screen*>(to)) s->viewDidAppear();
    }
    emit currentChanged(index);
}

void TabFrame::setTabBarHidden(bool hidden) {
    bar_->setHidden(hidden);
    layoutSections();
}

bool TabFrame::isTabBarHidden() const { return bar_->isHidden(); }

QRect TabFrame::contentRect() const {
    const int barH = bar_->isHidden() ? 0 : Style::kTabBarHeight;
    return {0, 0, width(), height() - barH};
}

void TabFrame::layoutSections() {
    bar_->setGeometry(0, height() - Style::kTabBarHeight, width(), Style::kTabBarHeight);
    for (const auto& s : sections_)
        if (s) s->setGeometry(contentRect());
}

void TabFrame::resizeEvent(QResizeEvent*) { layoutSections(); }

void TabFrame::appear(QWidget* section) {
    if (auto* s = qobject_cast<Screen*>(section)) {
        s->viewWillAppear();
        s->viewDidAppear();
    }
}

void TabFrame::disappear(QWidget* section) {
    if (auto* s = qobject_cast<Screen*>(section)) {
        s->viewWillDisappear();
        s->viewDidDisappear();
    }
}

// The frame itself comes and goes with the screen that holds it; its current section follows.
void TabFrame::showEvent(QShowEvent* e) {
    if (e->spontaneous() || onScreen_) return;
    onScreen_ = true;
    appear(currentSection());
}

void TabFrame::hideEvent(QHideEvent* e) {
    if (e->spontaneous() || !onScreen_) return;
    onScreen_ = false;
    disappear(currentSection());
}

}  // namespace qlgui
