#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "GuiWait.h"
#include "kit/Animations.h"
#include "kit/ColumnTabStrip.h"

using namespace qlgui;

namespace {

const QStringList kSubscribed{"头条", "国考", "行测", "申论", "面试", "北京", "时政", "内蒙古"};

struct Strip {
    ColumnTabStrip strip;
    explicit Strip(const QStringList& names = kSubscribed) {
        strip.resize(320, ColumnTabStrip::kHeight);
        strip.setColumns(names);
        strip.show();
    }
    void tap(int index) { QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.tabRect(index).center()); }
};

bool inView(const ColumnTabStrip& s, int index) { return s.tabArea().contains(s.tabRect(index)); }

TEST(ColumnTabStripTest, TapsChooseTabsAndSignalButDragsOnlyScroll) {
    Strip f;
    ASSERT_EQ(f.strip.selectedIndex(), 0);
    ASSERT_GT(f.strip.maxScrollOffset(), 0) << "eight columns do not fit: the strip must scroll";
    EXPECT_FALSE(f.strip.moreOnLeft());
    EXPECT_TRUE(f.strip.moreOnRight());
    QSignalSpy chosen(&f.strip, &ColumnTabStrip::tabSelected);

    f.tap(2);
    EXPECT_EQ(f.strip.selectedIndex(), 2);
    f.tap(2);  // tapping the chosen tab again is still reported
    f.tap(0);
    ASSERT_EQ(chosen.size(), 3);
    EXPECT_EQ(chosen[0][0].toInt(), 2);
    EXPECT_EQ(chosen[1][0].toInt(), 2);
    EXPECT_EQ(chosen[2][0].toInt(), 0);
    EXPECT_EQ(f.strip.selectedIndex(), 0);

    // A sideways drag scrolls the row and chooses nothing.
    const QPoint start = f.strip.tabRect(2).center();
    QTest::mousePress(&f.strip, Qt::LeftButton, {}, start);
    QTest::mouseMove(&f.strip, start - QPoint(30, 0));
    QTest::mouseMove(&f.strip, start - QPoint(80, 0));
    QTest::mouseRelease(&f.strip, Qt::LeftButton, {}, start - QPoint(80, 0));
    EXPECT_EQ(chosen.size(), 3);
    EXPECT_EQ(f.strip.selectedIndex(), 0);
    EXPECT_EQ(f.strip.scrollOffset(), std::min(80, f.strip.maxScrollOffset()));
    EXPECT_TRUE(f.strip.moreOnLeft());

    // The edit button at the right end, which no tab reaches under.
    QSignalSpy edit(&f.strip, &ColumnTabStrip::editRequested);
    QAbstractButton* button = f.strip.editButton();
    EXPECT_EQ(button->geometry().right(), f.strip.width() - 1);
    EXPECT_EQ(f.strip.tabAt(button->geometry().center()), -1);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(edit.size(), 1);
    EXPECT_EQ(chosen.size(), 3);
}

TEST(ColumnTabStripTest, NewColumnsKeepTheChosenNameOrFallBackToTheFirst) {
    struct Case {
        const char* what;
        QStringList before;
        int chosen;
        QStringList after;
        int expected;
    };
    const Case cases[] = {
            {"name moved", {"头条", "国考", "北京"}, 2, {"头条", "北京", "国考"}, 1},
            {"name kept, others added", {"头条", "国考"}, 1, {"头条", "天津", "上海", "国考"}, 3},
            {"name removed", {"头条", "国考", "北京"}, 2, {"头条", "国考"}, 0},
            {"emptied", {"头条", "国考"}, 1, {}, -1},
            {"from empty", {}, -1, {"头条", "国考"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Strip f(c.before);
        if (c.chosen >= 0) f.strip.selectTab(c.chosen, false);
        QSignalSpy chosen(&f.strip, &ColumnTabStrip::tabSelected);
        f.strip.setColumns(c.after);
        EXPECT_EQ(f.strip.columns(), c.after);
        EXPECT_EQ(f.strip.selectedIndex(), c.expected);
        EXPECT_TRUE(chosen.isEmpty()) << "reloading the tabs is not a user's choice";
    }
}

TEST(ColumnTabStripTest, ChoosingAFarTabScrollsItIntoView) {
    Strip f;
    const int last = static_cast<int>(kSubscribed.size()) - 1;
    ASSERT_FALSE(inView(f.strip, last));

    f.strip.selectTab(last, false);
    EXPECT_EQ(f.strip.selectedIndex(), last);
    EXPECT_TRUE(inView(f.strip, last));
    EXPECT_FALSE(f.strip.moreOnRight());
    EXPECT_TRUE(f.strip.moreOnLeft());

    f.strip.selectTab(99, false);  // ignored
    f.strip.selectTab(-1, false);
    EXPECT_EQ(f.strip.selectedIndex(), last);

    // A tab only half in view comes fully into view when tapped.
    f.strip.setScrollOffset(0);
    int half = -1;
    for (int i = 0; i < f.strip.columns().size() && half < 0; ++i) {
        const QRect r = f.strip.tabRect(i);
        if (r.left() < f.strip.tabArea().right() && r.right() > f.strip.tabArea().right()) half = i;
    }
    ASSERT_GE(half, 0);
    QTest::mouseClick(&f.strip, Qt::LeftButton, {},
                      QPoint((f.strip.tabRect(half).left() + f.strip.tabArea().right()) / 2, 20));
    EXPECT_EQ(f.strip.selectedIndex(), half);
    EXPECT_TRUE(inView(f.strip, half));

    // With animations on, the row scrolls there over time and ends in the same place.
    Animations::setEnabled(true);
    f.strip.selectTab(0, true);
    const bool arrived = qltest::runUntil([&] { return f.strip.scrollOffset() == 0; });
    Animations::setEnabled(false);
    EXPECT_TRUE(arrived);
    EXPECT_TRUE(inView(f.strip, 0));
}

}  // namespace
