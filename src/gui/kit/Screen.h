#pragma once
// The base of every screen: a title and navigation items that the navigation bar shows while
// the screen is on top, and life-cycle hooks that the navigation stack calls as the screen
// comes and goes.

#include <QPointer>
#include <QString>
#include <QWidget>

namespace qlgui {

class NavigationStack;

class Screen : public QWidget {
    Q_OBJECT
public:
    explicit Screen(QWidget* parent = nullptr);
    ~Screen() override;

    QString title() const { return title_; }
    void setTitle(const QString& title);

    // Navigation items. The screen keeps the widget (as a hidden child while it is not in the
    // bar); a replaced item is hidden and kept too, so a screen can switch between items it
    // made once. Null removes the item.
    void setLeftItem(QWidget* item);
    void setRightItem(QWidget* item);
    QWidget* leftItem() const { return left_; }
    QWidget* rightItem() const { return right_; }

    // A screen without a left item below the root shows the stack's back button unless hidden.
    void setHidesBackButton(bool hides);
    bool hidesBackButton() const { return hidesBackButton_; }

    // The stack the screen is on, or null.
    NavigationStack* navigationStack() const;

    // Called by the navigation stack (and by the tab frame for its sections), in this order:
    // will appear, did appear, ..., will disappear, did disappear.
    // A screen that overrides viewDidAppear or viewWillDisappear calls the base first.
    virtual void viewWillAppear() {}
    virtual void viewDidAppear();
    virtual void viewWillDisappear();
    virtual void viewDidDisappear() {}

    // The name under which the screen reports its page views (shown, hidden) to the usage
    // analytics; none by default.
    void setPageName(const QString& name) { pageName_ = name; }
    QString pageName() const { return pageName_; }

signals:
    // The title or an item changed; the bar refreshes if the screen is on top.
    void navigationItemsChanged();

private:
    friend class NavigationStack;
    friend class NavigationBar;
    void adoptItem(QWidget* item);

    QString title_;
    QString pageName_;
    QPointer<QWidget> left_, right_;
    QPointer<NavigationStack> stack_;
    bool hidesBackButton_ = false;
};

}  // namespace qlgui
