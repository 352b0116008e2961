#include <gtest/gtest.h>

#include <QPointer>
#include <QSignalSpy>
#include <string>
#include <vector>

#include "GuiWait.h"
#include "kit/Animations.h"
#include "kit/NavigationStack.h"
#include "kit/PictureButton.h"
#include "kit/Style.h"
#include "kit/UNavController.h"

using namespace qlgui;

namespace {

// A screen that writes its life-cycle hooks into a shared log as "name:hook".
class LoggingScreen : public Screen {
public:
    LoggingScreen(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {
        setTitle(QString::fromStdString(name_));
    }
    void viewWillAppear() override { log_->push_back(name_ + ":willAppear"); }
    void viewDidAppear() override { log_->push_back(name_ + ":didAppear"); }
    void viewWillDisappear() override { log_->push_back(name_ + ":willDisappear"); }
    void viewDidDisappear() override { log_->push_back(name_ + ":didDisappear"); }

private:
    std::string name_;
    std::vector<std::string>* log_;
};

using Log = std::vector<std::string>;

TEST(UNavControllerTest, CutsTitlesOfTenCharactersOrMore) {
    struct Case {
        QString in, out;
    } cases[] = {
            {QStringLiteral("一二三四五六七八九十"), QStringLiteral("一二三四五六七八九...")},
            {QStringLiteral("一二三四五六七八九"), QStringLiteral("一二三四五六七八九")},
            {QStringLiteral("一二三四五六七八九十十一"), QStringLiteral("一二三四五六七八九...")},
            {QStringLiteral("abcdefghij"), QStringLiteral("abcdefghi...")},
            {QString(), QString()},
            // A character outside the basic plane counts once and is never split.
            {QStringLiteral("😀😀😀😀😀😀😀😀😀"), QStringLiteral("😀😀😀😀😀😀😀😀😀")},
            {QStringLiteral("😀😀😀😀😀😀😀😀😀😀"), QStringLiteral("😀😀😀😀😀😀😀😀😀...")},
    };
    for (const Case& c : cases) EXPECT_EQ(UNavController::cutTitle(c.in), c.out) << c.in.toStdString();
    EXPECT_EQ(UNavController(QStringLiteral("一二三四五六七八九十"), std::nullopt, std::nullopt).title(),
              QStringLiteral("一二三四五六七八九..."));
}

TEST(UNavControllerTest, BuildsItsButtonsFromTheNames) {
    NavigationStack stack(new Screen);
    stack.show();
    auto* withBoth = new UNavController(QStringLiteral("课程"), QStringLiteral("返回"), QStringLiteral("提交"));
    ASSERT_NE(withBoth->backButton(), nullptr);
    EXPECT_EQ(withBoth->backButton()->text(), QStringLiteral("   返回"));
    EXPECT_EQ(withBoth->backButton()->size(), QSize(51, 31));
    EXPECT_EQ(withBoth->backButton()->normalPicture(), QStringLiteral("back.png"));
    EXPECT_EQ(withBoth->backButton()->highlightedPicture(), QStringLiteral("back_highlit.png"));
    ASSERT_NE(withBoth->rightButton(), nullptr);
    EXPECT_EQ(withBoth->rightButton()->text(), QStringLiteral("提交"));
    EXPECT_EQ(withBoth->rightButton()->size(), QSize(80, 28));
    EXPECT_EQ(withBoth->rightButton()->normalPicture(), QStringLiteral("rightButton.png"));
    EXPECT_EQ(NavigationBar::defaultTint(), Style::barTint());
    EXPECT_EQ(stack.navigationBar()->tintColor(), Style::barTint());

    stack.push(withBoth, false);
    EXPECT_EQ(withBoth->leftItem(), withBoth->backButton());
    EXPECT_EQ(withBoth->backButton()->parentWidget(), stack.navigationBar());
    EXPECT_TRUE(withBoth->backButton()->isVisible());
    EXPECT_FALSE(stack.navigationBar()->backButton()->isVisible());
    QSignalSpy right(withBoth, &UNavController::rightButtonClicked);
    withBoth->rightButton()->click();
    EXPECT_EQ(right.count(), 1);

    // An empty left name still makes a back button; it pops the screen.
    auto* emptyName = new UNavController(QStringLiteral("设置"), QString(), std::nullopt);
    EXPECT_EQ(emptyName->backButton()->text(), QStringLiteral("   "));
    EXPECT_EQ(emptyName->rightButton(), nullptr);
    stack.push(emptyName, false);
    emptyName->backButton()->click();
    EXPECT_EQ(stack.topScreen(), withBoth);

    // Without a left name nothing shows on the left, not even the stack's own back button.
    auto* noLeft = new UNavController(QStringLiteral("关于"), std::nullopt, std::nullopt);
    EXPECT_EQ(noLeft->backButton(), nullptr);
    stack.push(noLeft, false);
    EXPECT_FALSE(stack.navigationBar()->backButton()->isVisible());
    EXPECT_EQ(noLeft->leftItem()->size(), QSize(0, 0));
}

TEST(NavigationStackTest, PushPopAndPopToRootRunTheHooksInOrder) {
    Log log;
    auto* root = new LoggingScreen("root", &log);
    NavigationStack stack(root);
    EXPECT_TRUE(log.empty()) << "nothing appears before the stack is shown";
    stack.show();
    EXPECT_EQ(log, (Log{"root:willAppear", "root:didAppear"}));

    log.clear();
    auto* a = new LoggingScreen("a", &log);
    stack.push(a, false);
    EXPECT_EQ(log, (Log{"root:willDisappear", "a:willAppear", "root:didDisappear", "a:didAppear"}));
    EXPECT_EQ(stack.topScreen(), a);
    EXPECT_EQ(a->navigationStack(), &stack);
    EXPECT_TRUE(a->isVisible());
    EXPECT_FALSE(root->isVisible());
    EXPECT_EQ(stack.navigationBar()->title(), QStringLiteral("a"));
    EXPECT_TRUE(stack.navigationBar()->backButton()->isVisible()) << "a screen below the root gets a back button";

    auto* b = new LoggingScreen("b", &log);
    auto* c = new LoggingScreen("c", &log);
    stack.push(b, false);
    stack.push(c, false);
    EXPECT_EQ(stack.screens(), (QList<Screen*>{root, a, b, c}));

    log.clear();
    QPointer<Screen> popped = c;
    EXPECT_TRUE(stack.pop(false));
    EXPECT_EQ(log, (Log{"c:willDisappear", "b:willAppear", "c:didDisappear", "b:didAppear"}));
    EXPECT_EQ(stack.topScreen(), b);
    ASSERT_TRUE(popped) << "deleted later, not while its own handler may still run";
    qltest::flushDeletes();
    EXPECT_FALSE(popped);

    // The screens in between leave silently.
    log.clear();
    QPointer<Screen> middle = a;
    stack.popToRoot(false);
    EXPECT_EQ(log, (Log{"b:willDisappear", "root:willAppear", "b:didDisappear", "root:didAppear"}));
    EXPECT_EQ(stack.screens(), (QList<Screen*>{root}));
    EXPECT_FALSE(stack.navigationBar()->backButton()->isVisible());
    qltest::flushDeletes();
    EXPECT_FALSE(middle);

    log.clear();
    EXPECT_FALSE(stack.pop(false)) << "the root stays";
    stack.popToRoot(false);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(stack.topScreen(), root);
}

TEST(NavigationStackTest, PresentAndDismissCoverTheWholeStack) {
    Log log;
    auto* root = new LoggingScreen("root", &log);
    NavigationStack stack(root);
    stack.show();
    log.clear();

    auto* login = new LoggingScreen("login", &log);
    NavigationStack* modal = stack.present(login, false);
    ASSERT_NE(modal, nullptr);
    EXPECT_EQ(stack.presented(), modal);
    EXPECT_EQ(modal->presentingStack(), &stack);
    EXPECT_EQ(login->navigationStack(), modal);
    EXPECT_EQ(modal->geometry(), stack.rect()) << "bar included";
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(log, (Log{"root:willDisappear", "login:willAppear", "root:didDisappear", "login:didAppear"}));

    // A second presentation goes over the first one.
    log.clear();
    auto* reg = new LoggingScreen("register", &log);
    stack.present(reg, false);
    EXPECT_EQ(modal->presented()->topScreen(), reg);
    EXPECT_EQ(log, (Log{"login:willDisappear", "register:willAppear", "login:didDisappear", "register:didAppear"}));

    // Dismissing from the presented screen's own stack closes it.
    log.clear();
    reg->navigationStack()->dismiss(false);
    EXPECT_EQ(modal->presented(), nullptr);
    EXPECT_EQ(log, (Log{"register:willDisappear", "login:willAppear", "register:didDisappear", "login:didAppear"}));

    // Pushing inside the presented stack leaves the stack under it alone.
    log.clear();
    modal->push(new LoggingScreen("inner", &log), false);
    EXPECT_EQ(stack.topScreen(), root);
    EXPECT_EQ(log, (Log{"login:willDisappear", "inner:willAppear", "login:didDisappear", "inner:didAppear"}));

    log.clear();
    QPointer<NavigationStack> gone = modal;
    stack.dismiss(false);
    EXPECT_EQ(stack.presented(), nullptr);
    EXPECT_EQ(log, (Log{"inner:willDisappear", "root:willAppear", "inner:didDisappear", "root:didAppear"}));
    qltest::flushDeletes();
    EXPECT_FALSE(gone);

    log.clear();
    stack.dismiss(false);  // nothing presented: nothing happens
    EXPECT_TRUE(log.empty());
}

TEST(NavigationStackTest, AnimatedPushFinishesWithItsHooks) {
    Log log;
    NavigationStack stack(new LoggingScreen("root", &log));
    stack.show();
    log.clear();
    Animations::setEnabled(true);
    auto* a = new LoggingScreen("a", &log);
    stack.push(a, true);
    EXPECT_EQ(stack.topScreen(), a) << "the stack changes at once, the picture follows";
    EXPECT_TRUE(stack.isTransitioning());
    EXPECT_EQ(log, (Log{"root:willDisappear", "a:willAppear"}));

    // A pop during the slide completes the push first.
    stack.pop(true);
    EXPECT_EQ(log, (Log{"root:willDisappear", "a:willAppear", "root:didDisappear", "a:didAppear", "a:willDisappear",
                        "root:willAppear"}));
    EXPECT_TRUE(qltest::runUntil([&] { return !stack.isTransitioning(); }));
    Animations::setEnabled(false);
    EXPECT_EQ(log.back(), "root:didAppear");
    EXPECT_EQ(stack.topScreen()->pos(), QPoint(0, 0));
}

TEST(NavigationStackTest, BarShowsTheTopScreensItemsAndGivesThemBack) {
    NavigationStack stack(new Screen);
    auto* s = new Screen;
    s->setTitle(QStringLiteral("我的课程"));
    auto* download = new QWidget;
    download->resize(47, 31);
    auto* search = new QWidget;
    search->resize(47, 32);
    s->setRightItem(download);
    stack.push(s, false);
    stack.show();
    EXPECT_EQ(stack.navigationBar()->title(), QStringLiteral("我的课程"));
    EXPECT_EQ(download->parentWidget(), stack.navigationBar());
    EXPECT_TRUE(download->isVisible());
    EXPECT_EQ(download->geometry().right(), stack.width() - 6);

    // A replaced item is kept, hidden, by its screen.
    s->setRightItem(search);
    EXPECT_EQ(download->parentWidget(), s);
    EXPECT_TRUE(download->isHidden());
    EXPECT_TRUE(search->isVisible());

    stack.push(new Screen, false);
    EXPECT_EQ(search->parentWidget(), s);
    EXPECT_FALSE(search->isVisible());
    stack.pop(false);
    EXPECT_TRUE(search->isVisible());

    stack.setNavigationBarHidden(true);
    EXPECT_EQ(s->geometry(), stack.rect());
    stack.setNavigationBarHidden(false);
    EXPECT_EQ(s->geometry(), QRect(0, 0, stack.width(), stack.height() - Style::kNavBarHeight));
}

}  // namespace
