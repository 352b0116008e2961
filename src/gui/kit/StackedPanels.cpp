#include "kit/StackedPanels.h"

#include <QPropertyAnimation>

#include <algorithm>

#include "kit/Animations.h"

namespace qlgui {

StackedPanels::StackedPanels(QWidget* parent) : QWidget(parent) {}

bool StackedPanels::pushPanel(QWidget* panel, bool animated) {
    if (!panel) return false;
    for (int i = 0; i < visible_; ++i)
        if (entries_[i].panel == panel) return false;
    if (visible_ >= kMaxPanels) return false;

    // Collapsed panels above the visible ones leave the stack; a pushed panel goes on top.
    while (entries_.size() > visible_) {
        Entry dropped = entries_.takeLast();
        if (dropped.slide) dropped.slide->stop();
        if (dropped.panel) dropped.panel->hide();
    }
    panel->setParent(this);
    entries_.append({panel, nullptr});
    const int index = static_cast<int>(entries_.size()) - 1;
    ++visible_;
    panel->setGeometry(index == 0 ? shownGeometry(0) : hiddenGeometry(index));
    panel->show();
    panel->raise();
    place(index, true, animated && index > 0);
    return true;
}

void StackedPanels::collapse(int steps, bool animated) {
    const int target = std::max(std::min(visible_, 1), visible_ - std::max(steps, 0));
    while (visible_ > target) {
        --visible_;
        place(visible_, false, animated);
    }
}

void StackedPanels::expand(int steps, bool animated) {
    const int target = std::min(static_cast<int>(entries_.size()), visible_ + std::max(steps, 0));
    while (visible_ < target) {
        QWidget* panel = entries_[visible_].panel;
        if (!panel) {  // deleted by its owner while collapsed: it cannot come back
            entries_.erase(entries_.begin() + visible_, entries_.end());
            break;
        }
        if (!panel->isVisible()) panel->setGeometry(hiddenGeometry(visible_));
        panel->show();
        panel->raise();
        place(visible_, true, animated);
        ++visible_;
    }
}

QList<QWidget*> StackedPanels::panels() const {
    QList<QWidget*> out;
    for (const Entry& e : entries_)
        if (e.panel) out.append(e.panel);
    return out;
}

void StackedPanels::setLeftInset(int points) {
    leftInset_ = points;
    relayout();
}

void StackedPanels::setLargeLeftInset(int points) {
    largeLeftInset_ = points;
    relayout();
}

int StackedPanels::preferredWidth(int index) const {
    switch (index) {
        case 0: return width();
        case 1: return kLevel2Width;
        default: return kLevel3Width;
    }
}

QRect StackedPanels::shownGeometry(int index) const {
    if (index == 0) return rect();
    const int x = std::max(leftInset_, width() - preferredWidth(index));
    return QRect(x, 0, std::max(0, width() - x), height());
}

QRect StackedPanels::hiddenGeometry(int index) const {
    QRect r = shownGeometry(index);
    r.moveLeft(largeLeftInset_);
    return r;
}

void StackedPanels::place(int index, bool shown, bool animated) {
    Entry& entry = entries_[index];
    QWidget* panel = entry.panel;
    if (!panel) return;
    if (entry.slide) entry.slide->stop();  // a stopped animation deletes itself
    const QRect end = shown ? shownGeometry(index) : hiddenGeometry(index);
    if (!animated || !Animations::enabled()) {
        panel->setGeometry(end);
        panel->setVisible(shown);
        return;
    }
    auto* slide = new QPropertyAnimation(panel, "geometry", panel);
    slide->setDuration(Animations::kTransitionMs);
    slide->setEasingCurve(QEasingCurve::OutCubic);
    slide->setEndValue(end);
    if (!shown) {
        QPointer<QWidget> guard(panel);
        connect(slide, &QPropertyAnimation::finished, panel, [guard] {
            if (guard) guard->hide();
        });
    }
    entry.slide = slide;
    slide->start(QAbstractAnimation::DeleteWhenStopped);
}

void StackedPanels::relayout() {
    for (int i = 0; i < entries_.size(); ++i) {
        Entry& e = entries_[i];
        if (e.slide) e.slide->stop();
        if (e.panel) e.panel->setGeometry(i < visible_ ? shownGeometry(i) : hiddenGeometry(i));
        if (e.panel && i >= visible_) e.panel->hide();
    }
}

void StackedPanels::resizeEvent(QResizeEvent*) { relayout(); }

}  // namespace qlgui
