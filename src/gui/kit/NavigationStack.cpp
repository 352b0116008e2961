#include "kit/NavigationStack.h"

#include <QApplication>
#include <algorithm>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QShowEvent>

#include "kit/Animations.h"
#include "kit/PictureButton.h"
#include "kit/Pictures.h"
#include "kit/Screen.h"
#include "kit/Style.h"

namespace qlgui {

namespace {
constexpr int kItemMargin = 5;
constexpr int kTitleGap = 4;

QColor& defaultTintStorage() {
    static QColor tint = Style::navBarFallback();
    return tint;
}
}  // namespace

// ---- NavigationBar ---------------------------------------------------------------------------

NavigationBar::NavigationBar(QWidget* parent)
        : QWidget(parent),
          tint_(defaultTint()),
          title_(new QLabel(this)),
          back_(new PictureButton(QStringLiteral("back.png"), QStringLiteral("back_highlit.png"), this)) {
    title_->setFont(Style::font(17, true));
    title_->setAlignment(Qt::AlignCenter);
    QPalette pal = title_->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    title_->setPalette(pal);
    title_->setAttribute(Qt::WA_TransparentForMouseEvents);
    back_->setText(QStringLiteral("   返回"));
    back_->resize(51, 31);
    back_->hide();
    connect(back_, &QAbstractButton::clicked, this, &NavigationBar::backTapped);
}

QString NavigationBar::title() const { return screen_ ? screen_->title() : QString(); }

void NavigationBar::setTintColor(const QColor& tint) {
    tint_ = tint;
    update();
}

void NavigationBar::setDefaultTint(const QColor& tint) {
    if (defaultTintStorage() == tint) return;
    defaultTintStorage() = tint;
    // Like an appearance setting: bars already on screen take it as well.
    for (QWidget* w : QApplication::allWidgets())
        if (auto* bar = qobject_cast<NavigationBar*>(w)) bar->setTintColor(tint);
}

QColor NavigationBar::defaultTint() { return defaultTintStorage(); }

void NavigationBar::showItemsOf(Screen* screen, bool canGoBack) {
    // Items go back to the screen that owns them before the next screen's come in.
    for (QPointer<QWidget>* shown : {&left_, &right_}) {
        if (*shown && (*shown)->parentWidget() == this && screen_) screen_->adoptItem(*shown);
        *shown = nullptr;
    }
    screen_ = screen;
    if (screen) {
        left_ = screen->left_;
        right_ = screen->right_;
    }
    for (QWidget* item : {left_.data(), right_.data()}) {
        if (!item) continue;
        item->setParent(this);
        item->show();
    }
    back_->setVisible(screen && !left_ && canGoBack && !screen->hidesBackButton());
    layoutItems();
}

void NavigationBar::layoutItems() {
    const int h = height();
    int leftEdge = 0, rightEdge = 0;
    QWidget* left = left_ ? left_.data() : (back_->isVisible() ? back_ : nullptr);
    if (left) {
        left->move(kItemMargin, (h - left->height()) / 2);
        leftEdge = kItemMargin + left->width();
    }
    if (right_) {
        right_->move(width() - kItemMargin - right_->width(), (h - right_->height()) / 2);
        rightEdge = kItemMargin + right_->width();
    }
    // The title is centred on the bar when it fits; otherwise it moves aside for the items, and
    // only a title longer than the room between them is elided.
    const int from = leftEdge + kTitleGap;
    const int to = width() - rightEdge - kTitleGap;
    const int room = std::max(0, to - from);
    const QFontMetrics fm(title_->font());
    const QString text = fm.elidedText(screen_ ? screen_->title() : QString(), Qt::ElideRight, room);
    const int textWidth = std::min(room, fm.horizontalAdvance(text) + 2);
    const int x = std::clamp((width() - textWidth) / 2, from, std::max(from, to - textWidth));
    title_->setText(text);
    title_->setGeometry(x, 0, textWidth, h);
}

void NavigationBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPixmap background = Pictures::scaled(QStringLiteral("nav_aaa.png"), size());
    if (!background.isNull())
        p.drawPixmap(0, 0, background);
    else
        p.fillRect(rect(), tint_);
}

void NavigationBar::resizeEvent(QResizeEvent*) { layoutItems(); }

// ---- NavigationStack -------------------------------------------------------------------------

NavigationStack::NavigationStack(Screen* root, QWidget* parent)
        : QWidget(parent), bar_(new NavigationBar(this)), content_(new QWidget(this)) {
    content_->setAttribute(Qt::WA_NoSystemBackground);
    connect(bar_, &NavigationBar::backTapped, this, [this] { pop(true); });
    resize(Style::kScreenWidth, Style::kScreenHeight - Style::kStatusBarHeight);
    layoutContent();
    if (root) push(root, false);
}

NavigationStack::~NavigationStack() {
    // Screens leave without hooks; their items in the bar go with them.
    onScreen_ = false;
    if (animation_) animation_->stop();
    transitionDone_ = nullptr;
    const QList<Screen*> all = screens_;
    screens_.clear();
    for (Screen* s : all) {
        disconnect(s, nullptr, this, nullptr);
        delete s;
    }
}

void NavigationStack::adopt(Screen* screen) {
    screen->stack_ = this;
    screen->setParent(content_);
    screen->setGeometry(content_->rect());
    connect(screen, &Screen::navigationItemsChanged, this, [this, screen] {
        if (screen == topScreen()) refreshBar();
    });
    connect(screen, &QObject::destroyed, this, [this, screen] {
        // Deleted by someone else while on the stack.
        const bool wasTop = screen == topScreen();
        screens_.removeAll(screen);
        if (wasTop) {
            if (Screen* top = topScreen()) top->show();
            refreshBar();
            emit topScreenChanged(topScreen());
        }
    });
}

void NavigationStack::forget(Screen* screen) {
    disconnect(screen, nullptr, this, nullptr);
    screen->stack_ = nullptr;
    screen->hide();
    screen->deleteLater();
}

void NavigationStack::refreshBar() { bar_->showItemsOf(topScreen(), screens_.size() > 1); }

void NavigationStack::push(Screen* screen, bool animated) {
    if (!screen || screens_.contains(screen)) return;
    finishTransition();
    QPointer<Screen> from = topScreen();
    const bool hooks = showsTop();
    adopt(screen);
    screens_.append(screen);
    if (hooks) {
        if (from) from->viewWillDisappear();
        screen->viewWillAppear();
    }
    refreshBar();
    screen->show();
    screen->raise();
    emit topScreenChanged(screen);
    const int w = content_->width();
    QPointer<Screen> to = screen;
    runTransition({{screen, {w, 0}, {0, 0}}, {from.data(), {0, 0}, {-w, 0}}}, animated && from, [from, to, hooks] {
        if (from) {
            from->hide();
            from->move(0, 0);
        }
        if (hooks) {
            if (from) from->viewDidDisappear();
            if (to) to->viewDidAppear();
        }
    });
}

bool NavigationStack::pop(bool animated) {
    if (screens_.size() < 2) return false;
    popTo(screens_.at(screens_.size() - 2), animated);
    return true;
}

void NavigationStack::popToRoot(bool animated) {
    if (!screens_.isEmpty()) popTo(screens_.first(), animated);
}

void NavigationStack::popTo(Screen* target, bool animated) {
    const int at = screens_.indexOf(target);
    if (at < 0 || at == screens_.size() - 1) return;
    finishTransition();
    QPointer<Screen> from = screens_.last();
    const QList<Screen*> removed = screens_.mid(at + 1);
    screens_.resize(at + 1);
    // The screens between leave without ever showing again.
    for (Screen* s : removed)
        if (s != from) forget(s);
    disconnect(from, nullptr, this, nullptr);
    const bool hooks = showsTop();
    QPointer<Screen> to = target;
    if (hooks) {
        from->viewWillDisappear();
        to->viewWillAppear();
    }
    refreshBar();
    const int w = content_->width();
    to->setGeometry(content_->rect());
    to->show();
    emit topScreenChanged(target);
    runTransition({{from.data(), {0, 0}, {w, 0}}, {target, {-w, 0}, {0, 0}}}, animated, [this, from, to, hooks] {
        if (hooks) {
            if (from) from->viewDidDisappear();
            if (to) to->viewDidAppear();
        }
        if (from) forget(from);
    });
}

void NavigationStack::present(NavigationStack* stack, bool animated) {
    if (!stack || stack == this) return;
    if (presented_) {
        presented_->present(stack, animated);
        return;
    }
    finishTransition();
    const bool hooks = showsTop();
    QPointer<Screen> under = topScreen();
    QPointer<Screen> over = stack->visibleTop();
    presented_ = stack;
    stack->presenting_ = this;
    stack->setParent(this);
    stack->setGeometry(rect());
    // The presented stack's hooks are called here, in order with ours, not by its show event.
    stack->setOnScreenChain(hooks);
    if (hooks) {
        if (under) under->viewWillDisappear();
        if (over) over->viewWillAppear();
    }
    stack->show();
    stack->raise();
    runTransition({{stack, {0, height()}, {0, 0}}}, animated, [under, over, hooks] {
        if (hooks) {
            if (under) under->viewDidDisappear();
            if (over) over->viewDidAppear();
        }
    });
}

NavigationStack* NavigationStack::present(Screen* screen, bool animated) {
    if (!screen) return nullptr;
    auto* stack = new NavigationStack(screen);
    present(stack, animated);
    return stack;
}

void NavigationStack::dismiss(bool animated) {
    if (!presented_) {
        if (presenting_) presenting_->dismiss(animated);
        return;
    }
    finishTransition();
    const bool hooks = onScreen_;
    QPointer<NavigationStack> stack = presented_.data();
    QPointer<Screen> over = stack->visibleTop();
    QPointer<Screen> under = topScreen();
    presented_ = nullptr;
    stack->setOnScreenChain(false);
    if (hooks) {
        if (over) over->viewWillDisappear();
        if (under) under->viewWillAppear();
    }
    runTransition({{stack.data(), {0, 0}, {0, height()}}}, animated, [stack, over, under, hooks] {
        if (stack) {
            stack->hide();
            stack->deleteLater();
        }
        if (hooks) {
            if (over) over->viewDidDisappear();
            if (under) under->viewDidAppear();
        }
    });
}

Screen* NavigationStack::visibleTop() const {
    return presented_ ? presented_->visibleTop() : topScreen();
}

void NavigationStack::setOnScreenChain(bool on) {
    onScreen_ = on;
    if (presented_) presented_->setOnScreenChain(on);
}

void NavigationStack::setNavigationBarHidden(bool hidden) {
    if (bar_->isHidden() == hidden) return;
    bar_->setHidden(hidden);
    layoutContent();
}

bool NavigationStack::isNavigationBarHidden() const { return bar_->isHidden(); }

void NavigationStack::layoutContent() {
    finishTransition();
    const int barH = bar_->isHidden() ? 0 : Style::kNavBarHeight;
    bar_->setGeometry(0, 0, width(), Style::kNavBarHeight);
    content_->setGeometry(0, barH, width(), height() - barH);
    for (Screen* s : screens_) s->setGeometry(content_->rect());
    if (presented_) presented_->setGeometry(rect());
}

void NavigationStack::resizeEvent(QResizeEvent*) { layoutContent(); }

void NavigationStack::showEvent(QShowEvent* e) {
    if (e->spontaneous() || onScreen_) return;
    onScreen_ = true;
    // A presented stack gets its own show event and calls its own hooks.
    if (presented_) return;
    if (Screen* top = topScreen()) {
        top->viewWillAppear();
        top->viewDidAppear();
    }
}

void NavigationStack::hideEvent(QHideEvent* e) {
    if (e->spontaneous() || !onScreen_) return;
    finishTransition();
    const bool ownTop = !presented_;
    onScreen_ = false;
    if (!ownTop) return;
    if (Screen* top = topScreen()) {
        top->viewWillDisappear();
        top->viewDidDisappear();
    }
}

void NavigationStack::runTransition(QList<Move> moves, bool animated, std::function<void()> done) {
    moves.removeIf([](const Move& m) { return m.widget.isNull(); });
    for (const Move& m : moves) m.widget->move(m.from);
    moves_ = std::move(moves);
    transitionDone_ = std::move(done);
    if (!animated || !Animations::enabled() || !isVisible()) {
        finishTransition();
        return;
    }
    auto* group = new QParallelAnimationGroup(this);
    for (const Move& m : moves_) {
        auto* a = new QPropertyAnimation(m.widget, "pos", group);
        a->setDuration(Animations::kTransitionMs);
        a->setStartValue(m.from);
        a->setEndValue(m.to);
        a->setEasingCurve(QEasingCurve::OutCubic);
    }
    animation_ = group;
    connect(group, &QAbstractAnimation::finished, this, &NavigationStack::finishTransition);
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void NavigationStack::finishTransition() {
    if (animation_) {
        QParallelAnimationGroup* group = animation_;
        animation_ = nullptr;
        disconnect(group, nullptr, this, nullptr);
        group->stop();
    }
    for (const Move& m : moves_)
        if (m.widget) m.widget->move(m.to);
    moves_.clear();
    if (auto done = std::move(transitionDone_)) {
        transitionDone_ = nullptr;
        done();
    }
}

}  // namespace qlgui
