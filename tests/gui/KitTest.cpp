#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>
#include <vector>

#include "GuiWait.h"
#include "kit/Alert.h"
#include "kit/NavigationStack.h"
#include "kit/OverlayNotice.h"
#include "kit/PhoneWindow.h"
#include "kit/QtMainQueue.h"
#include "kit/ReloadButton.h"
#include "kit/Screen.h"
#include "kit/Spinner.h"
#include "kit/Style.h"
#include "kit/TabFrame.h"
#include "kit/WaitingView.h"
#include "platform/NetworkActivity.h"

using namespace qlgui;

namespace {

TEST(AlertTest, AnswersAfterClosingAndStacks) {
    QWidget window;
    window.resize(Style::kScreenWidth, Style::kScreenHeight);
    QLabel* child = new QLabel(&window);

    std::vector<int> answers;
    bool closedWhenAnswered = false;
    Alert* first = Alert::show(child, QString(), QStringLiteral("您确定要注销当前的账号吗?"),
                               {QStringLiteral("取消"), QStringLiteral("确定")}, 0, 7, [&](int i) {
                                   answers.push_back(i);
                                   closedWhenAnswered = Alert::visible(&window) == nullptr;
                               });
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->parentWidget(), &window) << "covers the whole window, not the asking widget";
    EXPECT_EQ(first->geometry(), window.rect());
    EXPECT_EQ(Alert::visible(&window), first);
    EXPECT_EQ(first->tag(), 7);
    EXPECT_EQ(first->message(), QStringLiteral("您确定要注销当前的账号吗?"));
    EXPECT_EQ(first->buttons(), (QStringList{QStringLiteral("取消"), QStringLiteral("确定")}));
    // Two buttons sit side by side.
    EXPECT_EQ(first->button(0)->y(), first->button(1)->y());

    int secondAnswer = -1;
    Alert* second = Alert::show(&window, QStringLiteral("警告"), QStringLiteral("msg"),
                                {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, -1, 10000,
                                [&](int i) { secondAnswer = i; });
    EXPECT_EQ(Alert::visible(&window), second);
    EXPECT_LT(second->button(0)->y(), second->button(1)->y()) << "three buttons are stacked";

    second->press(5);  // no such button
    EXPECT_EQ(Alert::visible(&window), second);
    second->button(2)->click();
    EXPECT_EQ(secondAnswer, 2);
    EXPECT_EQ(Alert::visible(&window), first);

    first->press(1);
    first->press(0);  // a closed alert answers once
    EXPECT_EQ(answers, (std::vector<int>{1}));
    EXPECT_TRUE(closedWhenAnswered);
    QPointer<Alert> gone = first;
    qltest::flushDeletes();
    EXPECT_FALSE(gone);

    // Escape presses the cancel button.
    int cancelled = -1;
    Alert* third = Alert::show(&window, {}, QStringLiteral("m"), {QStringLiteral("OK"), QStringLiteral("取消")}, 1, 0,
                               [&](int i) { cancelled = i; });
    QTest::keyClick(third, Qt::Key_Escape);
    EXPECT_EQ(cancelled, 1);
}

TEST(AlertTest, ActionSheetPressesAndReportsItsButtons) {
    QWidget window;
    window.resize(Style::kScreenWidth, Style::kScreenHeight);
    int answer = -1;
    ActionSheet* sheet = ActionSheet::show(&window, QStringLiteral("设置封面"),
                                           {QStringLiteral("从相册选择"), QStringLiteral("使用相机拍照"), QStringLiteral("取消")},
                                           2, -1, [&](int i) { answer = i; });
    ASSERT_EQ(ActionSheet::visible(&window), sheet);
    EXPECT_EQ(Alert::visible(&window), nullptr);
    EXPECT_EQ(sheet->title(), QStringLiteral("设置封面"));
    // The cancel button stands apart, below the others.
    const QPoint cancelAt = sheet->button(2)->mapTo(sheet, QPoint(0, 0));
    const QPoint cameraAt = sheet->button(1)->mapTo(sheet, QPoint(0, 0));
    EXPECT_GT(cancelAt.y(), cameraAt.y() + sheet->button(1)->height());
    EXPECT_LE(cancelAt.y() + sheet->button(2)->height(), sheet->height());
    sheet->button(1)->click();
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(ActionSheet::visible(&window), nullptr);
}

TEST(OverlayNoticeTest, ShowsAfterItsDelayAndGoesAfterItsTime) {
    QWidget view;
    view.resize(320, 480);
    view.show();
    QPointer<OverlayNotice> now = OverlayNotice::show(&view, QStringLiteral("已添加到下载列表"), 0.2);
    ASSERT_TRUE(now);
    EXPECT_EQ(OverlayNotice::visible(&view), now.data());
    EXPECT_FALSE(now->hasOrangeView());
    EXPECT_TRUE(qltest::runUntil([&] { return now.isNull(); }));
    EXPECT_EQ(OverlayNotice::visible(&view), nullptr);

    QPointer<OverlayNotice> later = OverlayNotice::show(&view, QStringLiteral("此视频数据加载失败!"), 0.2, true, 0.2);
    EXPECT_EQ(OverlayNotice::visible(&view), nullptr) << "waits for its delay";
    EXPECT_TRUE(qltest::runUntil([&] { return OverlayNotice::visible(&view) == later.data(); }));
    EXPECT_TRUE(later->hasOrangeView());
    EXPECT_TRUE(qltest::runUntil([&] { return later.isNull(); }));

    // Without a time it stays until closed.
    QPointer<OverlayNotice> sticky = OverlayNotice::show(&view, QStringLiteral("正在提交"), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(OverlayNotice::visible(&view), sticky.data());
    sticky->close();
    qltest::flushDeletes();
    EXPECT_FALSE(sticky);
}

class CountingScreen : public Screen {
public:
    int appeared = 0, disappeared = 0;
    void viewDidAppear() override { ++appeared; }
    void viewDidDisappear() override { ++disappeared; }
};

TEST(TabFrameTest, SwitchesSectionsAndReportsBarTaps) {
    TabFrame frame;
    frame.resize(320, 504);
    auto* news = new CountingScreen;
    auto* open = new CountingScreen;
    auto* mall = new QWidget;
    EXPECT_EQ(frame.addSection(news), 0);
    frame.addSection(open);
    frame.addSection(mall);
    EXPECT_EQ(frame.currentIndex(), 0) << "the first section is current";
    frame.show();
    EXPECT_EQ(news->appeared, 1);
    EXPECT_TRUE(news->isVisible());
    EXPECT_EQ(news->geometry(), QRect(0, 0, 320, 504 - Style::kTabBarHeight));
    EXPECT_EQ(frame.tabBar()->geometry(), QRect(0, 504 - Style::kTabBarHeight, 320, Style::kTabBarHeight));

    frame.setCurrentIndex(1);
    EXPECT_TRUE(open->isVisible());
    EXPECT_FALSE(news->isVisible());
    EXPECT_EQ(news->disappeared, 1);
    EXPECT_EQ(open->appeared, 1);
    frame.setCurrentIndex(7);  // no such section
    EXPECT_EQ(frame.currentIndex(), 1);

    // A tap on the bar reports the section under it and changes nothing by itself.
    QSignalSpy taps(&frame, &TabFrame::tabBarTapped);
    QTest::mouseClick(frame.tabBar(), Qt::LeftButton, {}, QPoint(300, 20));
    QTest::mouseClick(frame.tabBar(), Qt::LeftButton, {}, QPoint(10, 20));
    ASSERT_EQ(taps.count(), 2);
    EXPECT_EQ(taps.at(0).at(0).toInt(), 2);
    EXPECT_EQ(taps.at(1).at(0).toInt(), 0);
    EXPECT_EQ(frame.currentIndex(), 1);

    // A button laid over the bar takes its own touches.
    auto* button = new QPushButton(frame.tabBar());
    button->setGeometry(0, 0, 42, 42);
    button->show();
    QSignalSpy clicks(button, &QPushButton::clicked);
    QTest::mouseClick(frame.tabBar()->childAt(10, 10), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(taps.count(), 2);

    frame.hide();
    EXPECT_EQ(open->disappeared, 1) << "the shown section leaves with the frame";
}

TEST(QtMainQueueTest, RunsTasksFromOtherThreadsOnTheGuiThreadInOrder) {
    QtMainQueue queue;
    queue.makeMain();
    EXPECT_EQ(&ql::MainQueue::main(), &queue);
    EXPECT_TRUE(queue.isMainThread());

    std::vector<int> order;
    std::atomic<bool> workerSawMain{true};
    bool allOnGui = true;
    std::thread worker([&] {
        workerSawMain = queue.isMainThread();
        // The delayed task is posted first and must still run last.
        queue.postAfter(std::chrono::milliseconds(50), [&] {
            allOnGui = allOnGui && QThread::currentThread() == qApp->thread();
            order.push_back(99);
        });
        for (int i = 0; i < 100; ++i)
            queue.post([&, i] {
                allOnGui = allOnGui && QThread::currentThread() == qApp->thread();
                order.push_back(i);
            });
    });
    worker.join();
    EXPECT_FALSE(workerSawMain);
    ASSERT_TRUE(qltest::runUntil([&] { return order.size() == 101; }));
    EXPECT_TRUE(allOnGui);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
    EXPECT_EQ(order.back(), 99);

    // Tasks still queued when the queue goes are dropped, not run on a dead queue.
    bool ran = false;
    {
        QtMainQueue shortLived;
        shortLived.makeMain();
        shortLived.post([&] { ran = true; });
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
    EXPECT_NE(&ql::MainQueue::main(), static_cast<ql::MainQueue*>(&queue)) << "the destructor took itself out";
}

TEST(PhoneWindowTest, StatusBarFollowsNetworkAndActivity) {
    PhoneWindow window;
    EXPECT_EQ(window.size(), QSize(320, 568));
    PhoneStatusBar* bar = window.statusBar();
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 320, Style::kStatusBarHeight));
    bar->setNetworkSource([] { return std::string("3g"); });
    window.show();
    EXPECT_TRUE(qltest::runUntil([&] { return bar->networkText() == QStringLiteral("3G"); }));
    EXPECT_EQ(PhoneStatusBar::networkLabel("wifi"), QStringLiteral("WiFi"));
    EXPECT_EQ(PhoneStatusBar::networkLabel("NONET"), QStringLiteral("无网络"));
    EXPECT_EQ(bar->timeText(), QTime::currentTime().toString(QStringLiteral("HH:mm")));

    ql::NetworkActivity::reset();
    ql::NetworkActivity::on();
    EXPECT_TRUE(qltest::runUntil([&] { return bar->activityShown(); }));
    ql::NetworkActivity::off();
    EXPECT_TRUE(qltest::runUntil([&] { return !bar->activityShown(); }));

    auto* content = new QWidget;
    window.setContent(content);
    EXPECT_EQ(content->geometry(), QRect(0, 20, 320, 548));
    QPointer<QWidget> old = content;
    window.setContent(new QWidget);
    qltest::flushDeletes();
    EXPECT_FALSE(old);
}

TEST(CoverViewsTest, WaitingViewAndReloadButtonCoverTheirScreen) {
    QWidget screen;
    screen.resize(320, 504);
    screen.show();
    auto* waiting = new WaitingView(&screen);
    EXPECT_EQ(waiting->geometry(), screen.rect());
    EXPECT_EQ(waiting->spinner()->geometry(), QRect(140, 250, 32, 32));
    EXPECT_TRUE(waiting->spinner()->isAnimating());
    EXPECT_EQ(waiting->label()->text(), QStringLiteral("加载中..."));
    EXPECT_EQ(waiting->label()->geometry(), QRect(120, 290, 80, 20));

    auto* reload = new ReloadButton(&screen);
    QSignalSpy clicked(reload, &ReloadButton::clicked);
    screen.resize(320, 416);
    EXPECT_EQ(waiting->geometry(), screen.rect()) << "follows the screen's size";
    EXPECT_EQ(reload->geometry(), screen.rect());
    EXPECT_EQ(reload->text(), QStringLiteral("数据请求失败，点击重新加载"));
    QTest::mouseClick(reload, Qt::LeftButton, {}, QPoint(5, 400));
    EXPECT_EQ(clicked.count(), 1);
}

}  // namespace
