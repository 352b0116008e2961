// The paged-list footer, the stacked panels of the mall catalogue and the pull-to-refresh header,
// driven offscreen with animations off unless a test turns them on.

#include <gtest/gtest.h>

#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStringListModel>
#include <QWheelEvent>

#include <memory>

#include "GuiWait.h"
#include "kit/Animations.h"
#include "kit/ListFooter.h"
#include "kit/PullToRefresh.h"
#include "kit/Spinner.h"
#include "kit/StackedPanels.h"

using namespace qlgui;

namespace {

// Turns the kit's animations on for one scope.
struct AnimationsOn {
    AnimationsOn() { Animations::setEnabled(true); }
    ~AnimationsOn() { Animations::setEnabled(false); }
};

TEST(ListFooterTest, SpinsWhileLoadingAndHidesWhenStopped) {
    QWidget list;
    list.resize(320, 400);
    auto* footer = new ListFooter(&list);
    list.show();
    EXPECT_EQ(footer->size(), QSize(320, 80));
    EXPECT_EQ(footer->label()->text(), QStringLiteral("加载中..."));
    EXPECT_FALSE(footer->isVisible()) << "a new footer waits for start()";

    footer->start();
    EXPECT_TRUE(footer->isLoading());
    EXPECT_TRUE(footer->isVisible());
    EXPECT_TRUE(footer->spinner()->isVisible());
    EXPECT_TRUE(footer->spinner()->isAnimating());
    // Spinner and text share the row without overlapping.
    EXPECT_LE(footer->spinner()->geometry().right(), footer->label()->geometry().left());

    footer->stop();
    EXPECT_FALSE(footer->isLoading());
    EXPECT_FALSE(footer->isVisible());
    EXPECT_FALSE(footer->spinner()->isAnimating());
}

class StackedPanelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        stack.resize(320, 480);
        stack.show();
        ASSERT_TRUE(stack.pushPanel(root, false));
    }
    QRect shown(int x, int w) const { return QRect(x, 0, w, 480); }

    StackedPanels stack;
    QPointer<QWidget> root = new QWidget;
    QPointer<QWidget> second = new QWidget;
    QPointer<QWidget> third = new QWidget;
};

TEST_F(StackedPanelsTest, PanelsLieAtTheRightEdgeAndCollapseWithoutDying) {
    ASSERT_TRUE(stack.pushPanel(second, true));
    ASSERT_TRUE(stack.pushPanel(third, true));
    EXPECT_EQ(stack.visiblePanelCount(), 3);
    EXPECT_EQ(stack.panels(), (QList<QWidget*>{root, second, third}));
    EXPECT_EQ(root->geometry(), shown(0, 320));
    EXPECT_EQ(second->geometry(), shown(110, 210)) << "not left of the 110-point inset";
    EXPECT_EQ(third->geometry(), shown(200, 120));
    EXPECT_TRUE(third->isVisible());

    QWidget fourth;
    EXPECT_FALSE(stack.pushPanel(&fourth, false)) << "three panels at most";
    EXPECT_FALSE(stack.pushPanel(second, false)) << "a visible panel is not pushed twice";

    stack.collapse(1, true);
    EXPECT_EQ(stack.visiblePanelCount(), 2);
    EXPECT_TRUE(third->isHidden());
    EXPECT_EQ(third->x(), 320) << "slid out past the right edge";
    EXPECT_EQ(stack.panels().size(), 3) << "collapsed panels stay in the stack";

    stack.expand(1, true);
    EXPECT_EQ(stack.visiblePanelCount(), 3);
    EXPECT_TRUE(third->isVisible());
    EXPECT_EQ(third->geometry(), shown(200, 120));

    stack.collapse(2, false);
    EXPECT_EQ(stack.visiblePanelCount(), 1);
    EXPECT_TRUE(second->isHidden());
    EXPECT_TRUE(third->isHidden());
    stack.collapse(5, false);
    EXPECT_EQ(stack.visiblePanelCount(), 1) << "the root always stays";
    EXPECT_TRUE(root->isVisible());

    stack.expand(5, false);
    EXPECT_EQ(stack.visiblePanelCount(), 3);
    EXPECT_EQ(second->geometry(), shown(110, 210));
    EXPECT_TRUE(second && third);

    // The stack follows the controller's size.
    stack.resize(320, 400);
    EXPECT_EQ(third->geometry(), QRect(200, 0, 120, 400));
}

TEST_F(StackedPanelsTest, PushingAfterACollapseReplacesTheCollapsedPanels) {
    stack.pushPanel(second, false);
    stack.collapse(1, false);
    ASSERT_TRUE(stack.pushPanel(third, false));
    EXPECT_EQ(stack.panels(), (QList<QWidget*>{root, third}));
    EXPECT_EQ(third->geometry(), shown(110, 210)) << "lies where a second panel lies";
    EXPECT_TRUE(second) << "the owner keeps the dropped panel";
    EXPECT_TRUE(second->isHidden());

    // The owner may push it again later.
    ASSERT_TRUE(stack.pushPanel(second, false));
    EXPECT_EQ(second->geometry(), shown(200, 120));
    EXPECT_EQ(stack.visiblePanelCount(), 3);
}

TEST_F(StackedPanelsTest, AnimatedSlidesEndInPlace) {
    AnimationsOn on;
    stack.pushPanel(second, true);
    EXPECT_EQ(stack.visiblePanelCount(), 2) << "the count changes at once";
    EXPECT_TRUE(qltest::runUntil([&] { return second->geometry() == shown(110, 210); }));

    stack.collapse(1, true);
    EXPECT_EQ(stack.visiblePanelCount(), 1);
    EXPECT_TRUE(qltest::runUntil([&] { return second->isHidden(); }));
    EXPECT_EQ(second->x(), 320);

    // Expanding in the middle of a collapse ends shown.
    stack.expand(1, true);
    stack.collapse(1, true);
    stack.expand(1, true);
    EXPECT_TRUE(qltest::runUntil([&] { return second->geometry() == shown(110, 210); }));
    qltest::runUntil([] { return false; }, Animations::kTransitionMs + 100);
    EXPECT_TRUE(second->isVisible());
}

class PullToRefreshTest : public ::testing::Test {
protected:
    void SetUp() override {
        QStringList rows;
        for (int i = 0; i < 60; ++i) rows << QStringLiteral("row %1").arg(i);
        model.setStringList(rows);
        list.setModel(&model);
        list.resize(320, 400);
        list.show();
        base = list.viewport()->geometry();
    }
    PullToRefresh* attach(PullToRefreshOptions options = {}) {
        return new PullToRefresh(&list, std::move(options));
    }
    // A mouse event at height `y` of the list (the screen stays put while the viewport moves).
    void mouse(QEvent::Type type, int y, Qt::MouseButtons buttons) {
        const QPointF global = list.mapToGlobal(QPointF(100, y));
        QMouseEvent event(type, list.viewport()->mapFromGlobal(global), global, Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(list.viewport(), &event);
    }
    void wheel(int angle) {
        QWheelEvent event(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(list.viewport(), &event);
    }
    int contentTop() const { return list.viewport()->y() - base.y(); }

    QStringListModel model;
    QListView list;
    QRect base;
};

TEST_F(PullToRefreshTest, PullReleaseRefreshAndFinish) {
    PullToRefreshOptions options;
    options.threshold = 50;
    options.refreshingHeight = 40;
    options.loadingText = QStringLiteral("正在刷新..");
    options.timeFormat = QStringLiteral("MM-dd HH:mm");
    PullToRefresh* pull = attach(options);
    QSignalSpy refresh(pull, &PullToRefresh::refreshRequested);
    EXPECT_FALSE(pull->header()->isVisible());

    struct Step { int points; PullToRefresh::State state; QString text; };
    const std::vector<Step> steps = {
        {30, PullToRefresh::State::Pulling, QStringLiteral("下拉可以刷新")},
        {49, PullToRefresh::State::Pulling, QStringLiteral("下拉可以刷新")},
        {50, PullToRefresh::State::ReadyToRelease, QStringLiteral("释放刷新数据")},
        {90, PullToRefresh::State::ReadyToRelease, QStringLiteral("释放刷新数据")},
    };
    for (const Step& s : steps) {
        pull->simulatePull(s.points);
        EXPECT_EQ(pull->state(), s.state) << s.points;
        EXPECT_EQ(pull->statusText(), s.text) << s.points;
        EXPECT_EQ(contentTop(), s.points) << "the content follows the pull";
        EXPECT_EQ(pull->header()->geometry(), QRect(base.x(), base.y(), base.width(), s.points));
        EXPECT_TRUE(pull->header()->isVisible());
    }
    EXPECT_EQ(refresh.count(), 0) << "nothing starts before the release";

    pull->simulateRelease();
    EXPECT_EQ(pull->state(), PullToRefresh::State::Refreshing);
    EXPECT_EQ(refresh.count(), 1);
    EXPECT_EQ(contentTop(), 40) << "the header stays open at its refreshing height";
    EXPECT_EQ(pull->statusText(), QStringLiteral("正在刷新.."));
    EXPECT_TRUE(pull->header()->findChild<Spinner*>()->isAnimating());

    // Pulls during a refresh change nothing.
    pull->simulatePull(80);
    EXPECT_EQ(contentTop(), 40);
    EXPECT_EQ(pull->state(), PullToRefresh::State::Refreshing);

    pull->finishRefreshing(QDateTime(QDate(2024, 3, 5), QTime(8, 9)));
    EXPECT_EQ(pull->state(), PullToRefresh::State::Idle);
    EXPECT_EQ(list.viewport()->geometry(), base);
    EXPECT_FALSE(pull->header()->isVisible());
    EXPECT_EQ(pull->lastUpdatedText(), QStringLiteral("最后更新：03-05 08:09"));
    EXPECT_EQ(refresh.count(), 1);
}

TEST_F(PullToRefreshTest, ShortPullsAndScrolledListsStartNothing) {
    PullToRefresh* pull = attach();
    QSignalSpy refresh(pull, &PullToRefresh::refreshRequested);
    pull->simulatePull(64);
    pull->simulateRelease();
    EXPECT_EQ(pull->state(), PullToRefresh::State::Idle);
    EXPECT_EQ(list.viewport()->geometry(), base);

    // A release without a pull (a list shifted by code, then checked) starts nothing either.
    pull->simulateRelease();

    list.verticalScrollBar()->setValue(list.verticalScrollBar()->maximum());
    pull->simulatePull(100);
    EXPECT_EQ(pull->state(), PullToRefresh::State::Idle) << "pulling scrolls a list that is not at its top";
    pull->simulateRelease();
    EXPECT_EQ(refresh.count(), 0);
    EXPECT_EQ(list.viewport()->geometry(), base);
}

TEST_F(PullToRefreshTest, MouseDragPullsAndReleases) {
    PullToRefresh* pull = attach();
    QSignalSpy refresh(pull, &PullToRefresh::refreshRequested);
    list.clearSelection();

    mouse(QEvent::MouseButtonPress, 10, Qt::LeftButton);
    mouse(QEvent::MouseMove, 40, Qt::LeftButton);
    EXPECT_EQ(pull->state(), PullToRefresh::State::Pulling);
    EXPECT_EQ(contentTop(), 30);
    mouse(QEvent::MouseMove, 90, Qt::LeftButton);
    EXPECT_EQ(pull->state(), PullToRefresh::State::ReadyToRelease);
    EXPECT_EQ(contentTop(), 80);
    mouse(QEvent::MouseMove, 60, Qt::LeftButton);  // back up a little: below the threshold again
    EXPECT_EQ(pull->state(), PullToRefresh::State::Pulling);
    mouse(QEvent::MouseMove, 100, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, 100, Qt::NoButton);
    EXPECT_EQ(pull->state(), PullToRefresh::State::Refreshing);
    EXPECT_EQ(refresh.count(), 1);
    EXPECT_EQ(contentTop(), 65);

    // While refreshing, drags are the list's own.
    mouse(QEvent::MouseButtonPress, 10, Qt::LeftButton);
    mouse(QEvent::MouseMove, 200, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, 200, Qt::NoButton);
    EXPECT_EQ(refresh.count(), 1);
    EXPECT_EQ(contentTop(), 65);

    pull->finishRefreshing();
    // An upward drag is no pull.
    mouse(QEvent::MouseButtonPress, 200, Qt::LeftButton);
    mouse(QEvent::MouseMove, 100, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, 100, Qt::NoButton);
    EXPECT_EQ(pull->state(), PullToRefresh::State::Idle);
    EXPECT_EQ(contentTop(), 0);
}

TEST_F(PullToRefreshTest, WheelPullsAndReleasesWhenItStops) {
    PullToRefresh* pull = attach();
    QSignalSpy refresh(pull, &PullToRefresh::refreshRequested);
    wheel(120);
    EXPECT_EQ(pull->state(), PullToRefresh::State::Pulling);
    wheel(120);
    wheel(120);
    EXPECT_EQ(pull->state(), PullToRefresh::State::ReadyToRelease);
    EXPECT_TRUE(qltest::runUntil([&] { return refresh.count() == 1; }));
    EXPECT_EQ(pull->state(), PullToRefresh::State::Refreshing);
    pull->finishRefreshing();

    // Scrolling back down before the pause undoes the pull.
    wheel(120);
    wheel(-240);
    EXPECT_EQ(pull->state(), PullToRefresh::State::Idle);
    qltest::runUntil([] { return false; }, 400);
    EXPECT_EQ(refresh.count(), 1);
}

TEST_F(PullToRefreshTest, ProgrammaticStartLayoutChangesAndDetaching) {
    QPointer<PullToRefresh> pull = attach();
    QSignalSpy refresh(pull.data(), &PullToRefresh::refreshRequested);
    pull->beginRefreshing();
    pull->beginRefreshing();
    EXPECT_EQ(refresh.count(), 1);
    EXPECT_EQ(contentTop(), 65);

    // The scroll area lays its viewport out again: the header stays open over the new layout.
    list.resize(300, 380);
    const QRect laidOut = QRect(list.viewport()->x(), list.viewport()->y() - 65, list.viewport()->width(),
                                list.viewport()->height());
    EXPECT_EQ(list.viewport()->width(), pull->header()->width());
    EXPECT_LT(laidOut.width(), base.width());
    EXPECT_EQ(pull->pullDistance(), 65);

    // A screen that replaces its header gets its list back in place.
    delete pull;
    EXPECT_EQ(list.viewport()->geometry(), laidOut);
    PullToRefresh* again = attach();
    EXPECT_EQ(again->state(), PullToRefresh::State::Idle);
    again->simulatePull(70);
    again->simulateRelease();
    EXPECT_EQ(again->state(), PullToRefresh::State::Refreshing);
}

TEST_F(PullToRefreshTest, AnimatedCloseEndsAtTheTop) {
    AnimationsOn on;
    PullToRefresh* pull = attach();
    pull->simulatePull(70);
    pull->simulateRelease();
    EXPECT_TRUE(qltest::runUntil([&] { return contentTop() == 65; }));
    pull->finishRefreshing();
    EXPECT_EQ(pull->state(), PullToRefresh::State::Idle);
    EXPECT_TRUE(qltest::runUntil([&] { return list.viewport()->geometry() == base; }));
    EXPECT_FALSE(pull->header()->isVisible());
}

}  // namespace
