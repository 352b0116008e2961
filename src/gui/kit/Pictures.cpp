#include "kit/Pictures.h"

#include <QGuiApplication>

#include "platform/Resources.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QSet>

#include <cstdio>

namespace qlgui {

namespace {

// Pictures are used from the UI thread only, like every pixmap.
struct Cache {
    QHash<QString, QPixmap> pictures;  // by full path, so that another resource folder never mixes in
    QHash<QString, QPixmap> scaled;    // by full path and size
    QSet<QString> reported;            // misses already told on stderr
};

Cache& cache() {
    static Cache c;
    return c;
}

// Only plain file names: a name from elsewhere must not reach files outside the folder.
bool isPlainName(const QString& name) {
    return !name.isEmpty() && !name.startsWith(u'.') && !name.contains(u'/') && !name.contains(u'\\') &&
           !name.contains(QChar(0));
}

void reportMiss(const QString& key, const QString& name, const char* why) {
    if (cache().reported.contains(key)) return;
    cache().reported.insert(key);
    std::fprintf(stderr, "picture \"%s\": %s\n", name.toUtf8().constData(), why);
}

}  // namespace

qreal Pictures::pixelRatio() {
    return qApp && qApp->devicePixelRatio() > 1 ? kPixelRatio : 1;
}

std::filesystem::path Pictures::folder() { return ql::Resources::folder() / "pictures"; }

QPixmap Pictures::pixmap(const QString& name) {
    if (!isPlainName(name)) {
        reportMiss(QStringLiteral("\n") + name, name, "not a picture name");
        return {};
    }
    const auto base = pixelRatio() < kPixelRatio ? folder() / "1x" : folder();
    const QString path = QString::fromStdString((base / name.toStdString()).string());
    if (auto found = cache().pictures.constFind(path); found != cache().pictures.cend()) return *found;
    if (cache().reported.contains(path)) return {};

    if (!QFile::exists(path)) {
        reportMiss(path, name, "missing");
        return {};
    }
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        reportMiss(path, name, "unreadable");
        return {};
    }
    QPixmap picture = QPixmap::fromImage(std::move(image));
    picture.setDevicePixelRatio(pixelRatio());
    cache().pictures.insert(path, picture);
    return picture;
}

QIcon Pictures::icon(const QString& normal, const QString& highlighted) {
    QIcon icon;
    const QPixmap normalLook = pixmap(normal);
    if (normalLook.isNull()) return icon;
    icon.addPixmap(normalLook, QIcon::Normal);
    const QPixmap highlightedLook = highlighted.isEmpty() ? QPixmap() : pixmap(highlighted);
    if (!highlightedLook.isNull()) {
        icon.addPixmap(highlightedLook, QIcon::Active);
        icon.addPixmap(highlightedLook, QIcon::Selected);
    }
    return icon;
}

QPixmap Pictures::scaled(const QString& name, QSize points) {
    const QPixmap picture = pixmap(name);
    if (picture.isNull() || points.isEmpty()) return {};
    const QSize pixels = points * pixelRatio();
    if (picture.size() == pixels) return picture;

    const QString key = QString::fromStdString((folder() / name.toStdString()).string()) +
                        QStringLiteral("@%1x%2").arg(points.width()).arg(points.height());
    if (auto found = cache().scaled.constFind(key); found != cache().scaled.cend()) return *found;
    QPixmap result = picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    result.setDevicePixelRatio(pixelRatio());
    cache().scaled.insert(key, result);
    return result;
}

void Pictures::clearCache() {
    cache().pictures.clear();
    cache().scaled.clear();
    cache().reported.clear();
}

}  // namespace qlgui
