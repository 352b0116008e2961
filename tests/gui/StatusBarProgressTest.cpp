#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <memory>

#include "GuiWait.h"
#include "kit/PhoneWindow.h"
#include "kit/StatusBarProgress.h"
#include "kit/Style.h"

using namespace qlgui;

namespace {

TEST(StatusBarProgressTest, MessageFollowsTheProgress) {
    struct Case {
        double fraction;
        const char* text;
        double stored;
    };
    const Case cases[] = {
            {0, "正在离线: 0%", 0},
            {0.37, "正在离线: 37%", 0.37},
            // The download keeps its progress as a float: 0.99f is a hair under 0.99.
            {static_cast<double>(0.99f), "正在离线: 99%", static_cast<double>(0.99f)},
            {0.004, "正在离线: 0%", 0.004},
            {1, "正在离线: 100%", 1},
            {1.2, "正在离线: 100%", 1},
            {-0.5, "正在离线: 0%", 0},
            {std::nan(""), "正在离线: 0%", 0},
    };
    StatusBarProgress bar;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        bar.setProgress(c.fraction);
        EXPECT_EQ(bar.text(), QString::fromUtf8(c.text));
        EXPECT_DOUBLE_EQ(bar.progress(), c.stored);
    }
    bar.setMessage(QStringLiteral("离线完成"));
    EXPECT_EQ(bar.text(), QStringLiteral("离线完成"));
    bar.finish();
    EXPECT_EQ(bar.text(), QStringLiteral("离线完成 100%"));
    EXPECT_DOUBLE_EQ(bar.progress(), 1);
}

TEST(StatusBarProgressTest, CoversTheStatusBarAndClosesWhenAsked) {
    PhoneWindow window;
    window.show();
    StatusBarProgress bar;
    EXPECT_FALSE(bar.isShown());
    bar.setProgress(0.37);
    bar.show(&window);
    ASSERT_TRUE(bar.isShown());
    ASSERT_NE(bar.widget(), nullptr);
    EXPECT_EQ(bar.widget()->geometry(), QRect(0, 0, Style::kScreenWidth, Style::kStatusBarHeight));
    QWidget* top = window.childAt(100, 10);
    EXPECT_TRUE(top == bar.widget() || bar.widget()->isAncestorOf(top)) << "drawn above the status bar";

    QSignalSpy closed(&bar, &StatusBarProgress::closeRequested);
    QTest::mouseClick(bar.closeButton(), Qt::LeftButton);
    EXPECT_EQ(closed.size(), 1);
    EXPECT_TRUE(bar.isShown()) << "stays a moment after the close";
    EXPECT_TRUE(qltest::runUntil([&] { return !bar.isShown(); }));

    // Shown again for a new run; hide() is immediate.
    bar.show(&window);
    EXPECT_TRUE(bar.isShown());
    bar.hide();
    EXPECT_FALSE(bar.isShown());
}

TEST(StatusBarProgressTest, FinishHidesAfterItsDelayUnlessShownAgain) {
    PhoneWindow window;
    window.show();
    StatusBarProgress bar;
    bar.show(&window);
    bar.setProgress(0.99);
    bar.finish();
    EXPECT_TRUE(bar.isShown()) << "the completion message must be readable";
    EXPECT_EQ(bar.text(), QStringLiteral("离线完成 100%"));
    EXPECT_TRUE(qltest::runUntil([&] { return !bar.isShown(); }));

    // A new run shown within the delay calls the pending hide off.
    bar.show(&window);
    bar.finish();
    bar.show(&window);
    bar.setProgress(0.1);
    EXPECT_FALSE(qltest::runUntil([&] { return !bar.isShown(); }, StatusBarProgress::kHideDelayMs + 300));
}

TEST(StatusBarProgressTest, OutlivesItsWindow) {
    StatusBarProgress bar;
    {
        auto window = std::make_unique<PhoneWindow>();
        bar.show(window.get());
        EXPECT_TRUE(bar.isShown());
        bar.finish();
    }
    EXPECT_EQ(bar.widget(), nullptr);
    EXPECT_FALSE(bar.isShown());
    bar.setProgress(0.5);
    bar.show(nullptr);  // nowhere to show
    EXPECT_FALSE(bar.isShown());
    // The hide that finish() left pending fires with the window gone.
    qltest::runUntil([] { return false; }, StatusBarProgress::kHideDelayMs + 100);
    EXPECT_FALSE(bar.isShown());
}

}  // namespace
