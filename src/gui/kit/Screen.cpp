#include "kit/Screen.h"

#include "kit/NavigationStack.h"
#include "platform/Analytics.h"

namespace qlgui {

Screen::Screen(QWidget* parent) : QWidget(parent) {}

Screen::~Screen() {
    // Items lent to the navigation bar are not children of the screen at that moment.
    for (QWidget* item : {left_.data(), right_.data()})
        if (item && item->parentWidget() != this) delete item;
}

NavigationStack* Screen::navigationStack() const { return stack_; }

void Screen::setTitle(const QString& title) {
    if (title_ == title) return;
    title_ = title;
    emit navigationItemsChanged();
}

void Screen::adoptItem(QWidget* item) {
    if (!item) return;
    item->hide();
    item->setParent(this);
}

void Screen::setLeftItem(QWidget* item) {
    if (left_ == item) return;
    adoptItem(left_);
    left_ = item;
    adoptItem(item);
    emit navigationItemsChanged();
}

void Screen::setRightItem(QWidget* item) {
    if (right_ == item) return;
    adoptItem(right_);
    right_ = item;
    adoptItem(item);
    emit navigationItemsChanged();
}

void Screen::setHidesBackButton(bool hides) {
    if (hidesBackButton_ == hides) return;
    hidesBackButton_ = hides;
    emit navigationItemsChanged();
}

void Screen::viewDidAppear() {
    if (!pageName_.isEmpty()) ql::Analytics::beginLogPageView(pageName_.toStdString());
}

void Screen::viewWillDisappear() {
    if (!pageName_.isEmpty()) ql::Analytics::endLogPageView(pageName_.toStdString());
}

}  // namespace qlgui
