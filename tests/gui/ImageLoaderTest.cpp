// The image loader against the pictures of qinglan-service's site host: placeholders, pictures
// kept in memory, failed addresses, and labels that go away before their picture arrives.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>

#include <memory>

#include "GuiWait.h"
#include "ServiceControl.h"
#include "TestSupport.h"
#include "kit/ImageLoader.h"
#include "kit/Pictures.h"
#include "kit/QtMainQueue.h"
#include "platform/AppConfig.h"
#include "platform/SandboxPaths.h"

using namespace qlgui;

namespace {

const QString kPlaceholder = QStringLiteral("pic_hold.png");

class ImageLoaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { service = new qltest::ServiceProcess; }
    static void TearDownTestSuite() {
        delete service;
        service = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(service->ok());
        ql::AppConfig::setCurrent(service->config());
        queue.makeMain();
        ql::paths::prepare();
        ImageLoader::clearMemory();
        qltest::controlPost(service->config().hosts.main, "/control/reset", nlohmann::json::object());
    }
    void TearDown() override {
        qltest::runUntil([] { return ImageLoader::pendingCount() == 0; }, 5000);
        ql::MainQueue::setMain(nullptr);
        ql::AppConfig::setCurrent({});
    }
    static QString site(const QString& path) {
        return QStringLiteral("http://%1%2").arg(QString::fromStdString(service->config().hosts.site), path);
    }
    static void addFault(const nlohmann::json& fault) {
        auto result = qltest::controlPost(service->config().hosts.main, "/control/faults", fault);
        ASSERT_EQ(result.response.status, 200) << result.response.body;
    }
    static qint64 keyOf(const QLabel& label) { return label.pixmap().cacheKey(); }
    static bool idle() { return qltest::runUntil([] { return ImageLoader::pendingCount() == 0; }, 5000); }

    static qltest::ServiceProcess* service;
    QtMainQueue queue;
};

qltest::ServiceProcess* ImageLoaderTest::service = nullptr;

TEST_F(ImageLoaderTest, PictureReplacesThePlaceholderAndIsThenServedFromMemory) {
    const QString url = site(QStringLiteral("/uploads/allimg/kit/cover.png"));
    const qint64 placeholder = Pictures::pixmap(kPlaceholder).cacheKey();
    ASSERT_FALSE(Pictures::pixmap(kPlaceholder).isNull());
    const int before = ImageLoader::networkLoads();

    QLabel first, second;
    first.resize(120, 90);
    ImageLoader::load(&first, url, kPlaceholder);
    ImageLoader::load(&second, url, kPlaceholder);
    EXPECT_EQ(keyOf(first), placeholder) << "the placeholder shows at once";
    EXPECT_EQ(ImageLoader::networkLoads(), before + 1) << "loads of one address share a request";
    EXPECT_EQ(ImageLoader::pendingCount(), 1);

    ASSERT_TRUE(idle());
    const QPixmap held = ImageLoader::cached(url);
    ASSERT_FALSE(held.isNull());
    EXPECT_EQ(keyOf(first), held.cacheKey());
    EXPECT_EQ(keyOf(second), held.cacheKey());
    EXPECT_TRUE(first.hasScaledContents()) << "scaled to the label";

    // Again: from memory, at once, without a request.
    QLabel third;
    ImageLoader::load(&third, url, kPlaceholder);
    EXPECT_EQ(keyOf(third), held.cacheKey());
    QPixmap answered;
    ImageLoader::load(&third, url, [&](const QPixmap& p) { answered = p; });
    EXPECT_EQ(answered.cacheKey(), held.cacheKey());
    EXPECT_EQ(ImageLoader::networkLoads(), before + 1);

    // A memory bound smaller than the picture keeps nothing; the picture is still delivered.
    ImageLoader::clearMemory();
    ImageLoader::setMemoryLimit(16);
    QLabel fourth;
    ImageLoader::load(&fourth, url, kPlaceholder);
    ASSERT_TRUE(idle());
    EXPECT_NE(keyOf(fourth), placeholder);
    EXPECT_TRUE(ImageLoader::cached(url).isNull());
    ImageLoader::setMemoryLimit(ImageLoader::kDefaultMemoryBytes);
}

TEST_F(ImageLoaderTest, FailedAddressesAreAskedAgainOnlyWhenRetrying) {
    addFault({{"host", "site"}, {"path", "/uploads/garbage/"}, {"garbage", true}});
    struct Case { const char* what; QString url; };
    const std::vector<Case> cases = {
        {"404", site(QStringLiteral("/uploads/kit/missing.txt"))},
        {"not a picture", site(QStringLiteral("/uploads/garbage/a.png"))},
        {"server error", site(QStringLiteral("/uploads/broken/a.png"))},
        {"refused", QStringLiteral("http://127.0.0.1:1/uploads/a.png")},
    };
    addFault({{"host", "site"}, {"path", "/uploads/broken/"}, {"status500", true}});
    const qint64 placeholder = Pictures::pixmap(kPlaceholder).cacheKey();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QLabel label;
        int loads = ImageLoader::networkLoads();
        ImageLoader::load(&label, c.url, kPlaceholder);
        EXPECT_EQ(ImageLoader::networkLoads(), ++loads);
        ASSERT_TRUE(idle());
        EXPECT_EQ(keyOf(label), placeholder) << "the placeholder stays";
        EXPECT_TRUE(ImageLoader::hasFailed(c.url));

        // Not asked again in this run: the callback hears of the failure at once.
        ImageLoader::load(&label, c.url, kPlaceholder);
        bool answered = false;
        ImageLoader::load(&label, c.url, [&](const QPixmap& p) { answered = p.isNull(); });
        EXPECT_TRUE(answered);
        EXPECT_EQ(ImageLoader::networkLoads(), loads);
        EXPECT_EQ(ImageLoader::pendingCount(), 0);

        ImageLoader::load(&label, c.url, kPlaceholder, {.retryFailed = true});
        EXPECT_EQ(ImageLoader::networkLoads(), ++loads);
        ASSERT_TRUE(idle());
        EXPECT_EQ(keyOf(label), placeholder);
    }

    // A retry that succeeds clears the failure.
    qltest::controlPost(service->config().hosts.main, "/control/reset", nlohmann::json::object());
    const QString url = site(QStringLiteral("/uploads/broken/a.png"));
    QLabel label;
    ImageLoader::load(&label, url, kPlaceholder, {.retryFailed = true});
    ASSERT_TRUE(idle());
    EXPECT_FALSE(ImageLoader::hasFailed(url));
    EXPECT_EQ(keyOf(label), ImageLoader::cached(url).cacheKey());
}

TEST_F(ImageLoaderTest, ObjectsGoneBeforeTheAnswerAreNeverTouched) {
    addFault({{"host", "site"}, {"path", "/uploads/slow/"}, {"delayMs", 400}});
    const QString slow = site(QStringLiteral("/uploads/slow/a.png"));

    // Everybody waiting goes away: the request is cancelled.
    auto* label = new QLabel;
    auto* context = new QObject;
    int calls = 0;
    ImageLoader::load(label, slow, kPlaceholder);
    ImageLoader::load(context, slow, [&](const QPixmap&) { ++calls; });
    delete label;
    EXPECT_EQ(ImageLoader::pendingCount(), 1) << "the other waiter still wants it";
    delete context;
    EXPECT_EQ(ImageLoader::pendingCount(), 0);
    qltest::runUntil([] { return false; }, 700);
    EXPECT_EQ(calls, 0);

    // One of two waiters goes away while the answer is on its way; the other gets the picture.
    const QString slow2 = site(QStringLiteral("/uploads/slow/b.png"));
    auto* gone = new QLabel;
    QLabel kept;
    ImageLoader::load(gone, slow2, kPlaceholder);
    ImageLoader::load(&kept, slow2, kPlaceholder);
    QPointer<QLabel> watch(gone);
    qltest::runUntil([] { return false; }, 100);
    delete gone;
    ASSERT_TRUE(idle());
    EXPECT_FALSE(watch);
    EXPECT_EQ(keyOf(kept), ImageLoader::cached(slow2).cacheKey());

    // A label reused for another address shows the later one, whatever arrives last.
    const QString slow3 = site(QStringLiteral("/uploads/slow/c.png"));
    const QString fast = site(QStringLiteral("/uploads/kit/fast.png"));
    QLabel reused;
    ImageLoader::load(&reused, slow3, kPlaceholder);
    ImageLoader::load(&reused, fast, kPlaceholder);
    ASSERT_TRUE(idle());
    ASSERT_FALSE(ImageLoader::cached(slow3).isNull());
    EXPECT_EQ(keyOf(reused), ImageLoader::cached(fast).cacheKey());
}

}  // namespace
