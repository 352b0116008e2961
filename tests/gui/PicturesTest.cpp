// The rendered pictures against their manifest, and the picture lookup: caching, misses, icons with
// a highlighted look, scaled copies, names that would leave the picture folder.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>
#include <set>
#include <vector>

#include "kit/Pictures.h"
#include "platform/Resources.h"

using qlgui::Pictures;

namespace {

struct ManifestEntry {
    QString name;
    QSizeF points;
};

std::vector<ManifestEntry> readManifest() {
    QFile file(QStringLiteral(QINGLAN_SOURCE_DIR "/resources/pictures/manifest.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    std::vector<ManifestEntry> entries;
    QTextStream in(&file);
    static const QRegularExpression comment(QStringLiteral("(^|\\s)#.*$"));
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    while (!in.atEnd()) {
        const QString line = in.readLine().remove(comment).trimmed();
        if (line.isEmpty()) continue;
        const QStringList fields = line.split(spaces);
        EXPECT_GE(fields.size(), 4) << line.toStdString();
        if (fields.size() < 4) continue;
        entries.push_back({fields[0], QSizeF(fields[1].toDouble(), fields[2].toDouble())});
    }
    return entries;
}

bool isFlat(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb first = argb.pixel(0, 0);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (argb.pixel(x, y) != first) return false;
    return true;
}

QRgb centre(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage();
    return image.pixel(image.width() / 2, image.height() / 2);
}

void writePicture(const QString& path, QColor colour) {
    QImage image(8, 6, QImage::Format_ARGB32);
    image.fill(colour);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(image.save(path, "PNG")) << path.toStdString();
}

// Points the resource folder at a throw-away folder for one test.
class PictureFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("pictures")));
        ql::Resources::setFolder(dir_.path().toStdString());
        Pictures::clearCache();
    }
    void TearDown() override {
        ql::Resources::setFolder({});
        Pictures::clearCache();
    }
    // Where a picture for this screen's pixel ratio is looked up.
    QString picturePath(const QString& name) const {
        return dir_.path() + (Pictures::pixelRatio() > 1 ? "/pictures/" : "/pictures/1x/") + name;
    }

    QTemporaryDir dir_;
};

}  // namespace

TEST(Pictures, EveryManifestPictureIsBuiltAtTwicePointSizeAndIsNotBlank) {
    Pictures::clearCache();
    const auto entries = readManifest();
    ASSERT_GT(entries.size(), 100u);
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.name.toStdString());
        // Both renderings are there: two pixels to the point, and one (rounded up).
        const QString base = QString::fromStdString(Pictures::folder().string());
        EXPECT_EQ(QImage(base + "/" + entry.name).size(), (entry.points * 2).toSize());
        EXPECT_EQ(QImage(base + "/1x/" + entry.name).size(),
                  QSize(int(std::ceil(entry.points.width())), int(std::ceil(entry.points.height()))));
        const QPixmap picture = Pictures::pixmap(entry.name);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.devicePixelRatio(), Pictures::pixelRatio());
        EXPECT_NEAR(picture.deviceIndependentSize().width(), entry.points.width(), 0.5);
        EXPECT_NEAR(picture.deviceIndependentSize().height(), entry.points.height(), 0.5);
        EXPECT_FALSE(isFlat(picture.toImage()));
    }
}

// A screen that names a picture the manifest does not list would show nothing in its place.
TEST(Pictures, EveryPictureNamedInTheScreensIsInTheManifest) {
    std::set<QString> listed;
    for (const auto& entry : readManifest()) listed.insert(entry.name);
    // The user's own cover picture lives in the Documents folder, not among the pictures.
    const std::set<QString> notPictures = {QStringLiteral("salesImageSmall.png")};

    static const QRegularExpression literal(QStringLiteral("\"([A-Za-z0-9_-]+\\.png)\""));
    QDirIterator files(QStringLiteral(QINGLAN_SOURCE_DIR "/src/gui"), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    int named = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = literal.globalMatch(text); match.hasNext();) {
            const QString name = match.next().captured(1);
            ++named;
            if (notPictures.count(name)) continue;
            EXPECT_TRUE(listed.count(name)) << name.toStdString() << " named in " << path.toStdString();
        }
    }
    EXPECT_GT(named, 0);
}

TEST_F(PictureFolder, LoadsOnceAndReportsAMissOnce) {
    writePicture(picturePath(QStringLiteral("dot.png")), Qt::red);

    const QPixmap first = Pictures::pixmap(QStringLiteral("dot.png"));
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.devicePixelRatio(), Pictures::pixelRatio());
    // Kept in memory: a later change of the file is not read again.
    writePicture(picturePath(QStringLiteral("dot.png")), Qt::blue);
    EXPECT_EQ(Pictures::pixmap(QStringLiteral("dot.png")).cacheKey(), first.cacheKey());

    testing::internal::CaptureStderr();
    EXPECT_TRUE(Pictures::pixmap(QStringLiteral("nowhere.png")).isNull());
    EXPECT_TRUE(Pictures::pixmap(QStringLiteral("nowhere.png")).isNull());
    EXPECT_TRUE(Pictures::icon(QStringLiteral("nowhere.png")).isNull());
    EXPECT_TRUE(Pictures::scaled(QStringLiteral("nowhere.png"), QSize(10, 10)).isNull());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("nowhere.png"), std::string::npos) << said;
}

TEST_F(PictureFolder, RefusesNamesThatLeaveThePictureFolder) {
    // A readable picture just outside the folder, where "../" would reach it.
    writePicture(dir_.path() + "/secret.png", Qt::green);
    writePicture(picturePath(QStringLiteral("broken.png")), Qt::green);
    QFile::resize(picturePath(QStringLiteral("broken.png")), 20);

    testing::internal::CaptureStderr();
    for (const char* name : {"../secret.png", "..", "", "sub/../../secret.png", "..\\secret.png"})
        EXPECT_TRUE(Pictures::pixmap(QString::fromUtf8(name)).isNull()) << name;
    EXPECT_TRUE(Pictures::pixmap(QStringLiteral("broken.png")).isNull());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("broken.png"), std::string::npos) << said;
}

TEST_F(PictureFolder, IconShowsTheHighlightedLookWhenActiveOrSelected) {
    writePicture(picturePath(QStringLiteral("b.png")), Qt::red);
    writePicture(picturePath(QStringLiteral("b_on.png")), Qt::blue);
    const QSize points(4, 3);

    const QIcon both = Pictures::icon(QStringLiteral("b.png"), QStringLiteral("b_on.png"));
    EXPECT_EQ(centre(both.pixmap(points, 2.0, QIcon::Normal)), qRgb(255, 0, 0));
    EXPECT_EQ(centre(both.pixmap(points, 2.0, QIcon::Active)), qRgb(0, 0, 255));
    EXPECT_EQ(centre(both.pixmap(points, 2.0, QIcon::Selected)), qRgb(0, 0, 255));

    const QIcon plain = Pictures::icon(QStringLiteral("b.png"));
    EXPECT_EQ(centre(plain.pixmap(points, 2.0, QIcon::Active)), qRgb(255, 0, 0));
}

TEST_F(PictureFolder, ScaledStretchesToPoints) {
    writePicture(picturePath(QStringLiteral("bg.png")), Qt::red);

    const QPixmap wide = Pictures::scaled(QStringLiteral("bg.png"), QSize(320, 455));
    EXPECT_EQ(wide.size(), QSize(320, 455) * Pictures::pixelRatio());
    EXPECT_EQ(wide.devicePixelRatio(), Pictures::pixelRatio());
    EXPECT_EQ(wide.deviceIndependentSize(), QSizeF(320, 455));
    EXPECT_EQ(Pictures::scaled(QStringLiteral("bg.png"), QSize(320, 455)).cacheKey(), wide.cacheKey());
    // At its own size it is the picture itself.
    EXPECT_EQ(Pictures::scaled(QStringLiteral("bg.png"), QSize(8, 6) / Pictures::pixelRatio()).cacheKey(),
              Pictures::pixmap(QStringLiteral("bg.png")).cacheKey());
    EXPECT_TRUE(Pictures::scaled(QStringLiteral("bg.png"), QSize(0, 10)).isNull());
}

TEST_F(PictureFolder, PrefetchedPicturesAreTheSameAsLoadedOnes) {
    writePicture(picturePath(QStringLiteral("early.png")), Qt::blue);
    Pictures::prefetch({QStringLiteral("early.png"), QStringLiteral("../escape.png"), QStringLiteral("absent.png")});
    const QPixmap early = Pictures::pixmap(QStringLiteral("early.png"));
    ASSERT_FALSE(early.isNull());
    EXPECT_EQ(early.toImage().pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(early.devicePixelRatio(), Pictures::pixelRatio());
    EXPECT_TRUE(Pictures::pixmap(QStringLiteral("absent.png")).isNull());
}
