#include "HTTP/Records.h"
#include "protocol/UTools.h"

#include <gtest/gtest.h>

using namespace ql;

TEST(UTools, RelativeStudyTime) {
    long long now = *UTools::parseDate("2026/12/11 12:00:00:000");
    struct Case { long long agoMs; std::string text; };
    for (const auto& c : std::vector<Case>{
             {30'000, "未学习"}, {90'000, "1分钟前"}, {7'200'000, "2小时前"}, {45LL * 86'400'000, "1月前"},
             {3'600'000, ""}, {60'000, ""}, {86'400'000, ""}, {3LL * 86'400'000 + 5, "3天前"},
             {3'599'999, "59分钟前"}, {86'399'999, "24小时前"}, {-5'000, "未学习"}}) {
        EXPECT_EQ(UTools::intervalSince(UTools::formatDate(now - c.agoMs), now), c.text) << c.agoMs;
    }
    // A text that does not parse counts as the start of 1970.
    EXPECT_TRUE(UTools::intervalSince("not a date", now).ends_with("月前"));
    EXPECT_TRUE(UTools::isLessThanOneMinuteFrom(UTools::formatDate(now - 59'000), now));
    EXPECT_TRUE(UTools::isLessThanOneMinuteFrom(UTools::formatDate(now + 600'000), now));
    EXPECT_FALSE(UTools::isLessThanOneMinuteFrom(UTools::formatDate(now - 60'000), now));
    EXPECT_FALSE(UTools::isLessThanOneMinuteFrom("2026-12-11", now));
}

TEST(UTools, ClockTexts) {
    auto now = UTools::getNowDate();
    ASSERT_EQ(now.size(), 23u);
    auto parsed = UTools::parseDate(now);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(UTools::formatDate(*parsed), now);
    EXPECT_EQ(UTools::getDate().size(), 2u);
    EXPECT_FALSE(UTools::parseDate("2026/13/01 00:00:00:000"));
    EXPECT_FALSE(UTools::parseDate("2026/12/01 00:00:00:000trailing"));
}

TEST(QLFirstview, PublicationTimeTexts) {
    const long long now = 1'800'000'000;
    struct Case { long long ago; std::string text; };
    for (const auto& c : std::vector<Case>{{-100, "刚刚"}, {0, "刚刚"}, {59, "刚刚"}, {60, "1分钟前"},
                                           {3599, "59分钟前"}, {3600, "1小时前"}, {86399, "23小时前"},
                                           {86400, "1天前"}, {604799, "6天前"}, {604800, "1周前"},
                                           {2419199, "3周前"}}) {
        QLFirstview item;
        item.classTimeLength = std::to_string(now - c.ago);
        EXPECT_EQ(item.timestampAt(now), c.text) << c.ago;
    }
    QLFirstview old;
    old.classTimeLength = std::to_string(now - 29 * 86400);
    EXPECT_EQ(old.timestampAt(now), old.timeAbsu());
    EXPECT_FALSE(old.timeAbsu().empty());
}
