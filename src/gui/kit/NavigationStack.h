#pragma once
// The navigation stack: a 44-point navigation bar over the screen on top of a stack of screens.
// Pushing and popping slide the screens sideways; a presented stack covers this one, bar
// included, sliding up from the bottom. With animations off (Animations) every change is
// complete, hooks included, when the call returns.

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QParallelAnimationGroup;

namespace qlgui {

class PictureButton;
class Screen;

// The bar of a navigation stack: background picture, centred bold white title, the top
// screen's left and right items, and a back button for screens that bring none.
class NavigationBar : public QWidget {
    Q_OBJECT
public:
    explicit NavigationBar(QWidget* parent = nullptr);

    QString title() const;
    // The stack's own back button, shown for a screen below the root that has no left item.
    PictureButton* backButton() const { return back_; }

    QColor tintColor() const { return tint_; }
    void setTintColor(const QColor& tint);

    // The tint every bar takes from now on (existing bars follow too).
    static void setDefaultTint(const QColor& tint);
    static QColor defaultTint();

signals:
    void backTapped();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    friend class NavigationStack;
    void showItemsOf(Screen* screen, bool canGoBack);
    void layoutItems();

    QColor tint_;
    QPointer<Screen> screen_;
    QPointer<QWidget> left_, right_;
    QLabel* title_;
    PictureButton* back_;
};

class NavigationStack : public QWidget {
    Q_OBJECT
public:
    explicit NavigationStack(Screen* root = nullptr, QWidget* parent = nullptr);
    ~NavigationStack() override;

    // Puts the screen on top; the stack takes ownership.
    void push(Screen* screen, bool animated);
    // Takes the top screen off and deletes it once it is gone. The root stays: false then.
    bool pop(bool animated);
    void popToRoot(bool animated);
    // Pops every screen above `screen`, which must be on the stack.
    void popTo(Screen* screen, bool animated);

    // Covers this stack with another one (taking ownership), or with a new stack whose root is
    // the screen. A stack that already presents one passes the call on to it.
    void present(NavigationStack* stack, bool animated);
    NavigationStack* present(Screen* screen, bool animated);
    // Removes and deletes the stack presented over this one; called on a presented stack that
    // presents nothing itself, it dismisses that stack.
    void dismiss(bool animated);
    NavigationStack* presented() const { return presented_; }
    NavigationStack* presentingStack() const { return presenting_; }

    Screen* topScreen() const { return screens_.isEmpty() ? nullptr : screens_.last(); }
    Screen* rootScreen() const { return screens_.isEmpty() ? nullptr : screens_.first(); }
    QList<Screen*> screens() const { return screens_; }

    void setNavigationBarHidden(bool hidden);
    bool isNavigationBarHidden() const;
    NavigationBar* navigationBar() const { return bar_; }
    // Where the screens are laid: the stack below the bar.
    QWidget* contentArea() const { return content_; }

    bool isTransitioning() const { return static_cast<bool>(transitionDone_); }
    // Completes a running transition at once.
    void finishTransition();

signals:
    void topScreenChanged(qlgui::Screen* screen);

protected:
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    struct Move {
        QPointer<QWidget> widget;
        QPoint from, to;
    };
    void adopt(Screen* screen);
    void forget(Screen* screen);
    void refreshBar();
    void layoutContent();
    bool showsTop() const { return onScreen_ && !presented_; }
    void setOnScreenChain(bool on);
    Screen* visibleTop() const;
    void runTransition(QList<Move> moves, bool animated, std::function<void()> done);

    NavigationBar* bar_;
    QWidget* content_;
    QList<Screen*> screens_;
    QPointer<NavigationStack> presented_;
    QPointer<NavigationStack> presenting_;
    bool onScreen_ = false;

    QPointer<QParallelAnimationGroup> animation_;
    QList<Move> moves_;
    std::function<void()> transitionDone_;
};

}  // namespace qlgui
