#include "TestSupport.h"
#include "news/ColumnFiles.h"
#include "platform/AppConfig.h"
#include "platform/FileUtil.h"
#include "platform/SandboxPaths.h"

#include <gtest/gtest.h>

using namespace ql;

TEST(ColumnFiles, PairIsRestoredTogetherAndRoundTrips) {
    qltest::TempDir dir;
    AppConfig config;
    config.dataDir = dir.path().string();
    AppConfig::setCurrent(config);

    ColumnFiles::ensure();
    auto subscribed = ColumnFiles::read(ColumnFiles::kSubscribed);
    auto others = ColumnFiles::read(ColumnFiles::kOthers);
    ASSERT_GE(subscribed.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(subscribed.begin(), subscribed.begin() + 5),
              (std::vector<std::string>{"头条", "国考", "行测", "申论", "面试"}));
    EXPECT_FALSE(others.empty());

    // The user's order stays while both files are there; one missing brings back both defaults.
    ASSERT_TRUE(ColumnFiles::write(ColumnFiles::kSubscribed, {"头条", "国考", "行测", "申论", "面试", "四川"}));
    ColumnFiles::ensure();
    EXPECT_EQ(ColumnFiles::read(ColumnFiles::kSubscribed).back(), "四川");
    std::filesystem::remove(paths::documents() / ColumnFiles::kOthers);
    ColumnFiles::ensure();
    EXPECT_EQ(ColumnFiles::read(ColumnFiles::kSubscribed), subscribed);
    EXPECT_EQ(ColumnFiles::read(ColumnFiles::kOthers), others);

    const std::vector<std::string> odd = {"A&B", "<新>", ""};
    EXPECT_EQ(ColumnFiles::parse(ColumnFiles::format(odd)), odd);
    EXPECT_FALSE(ColumnFiles::parse("not a plist"));
    AppConfig::setCurrent({});
}
