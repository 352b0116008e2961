#include "kit/Pictures.h"

#include "platform/Resources.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QSet>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

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

// Pictures decoded ahead on a worker thread (QImage may be made on any thread; the pixmap is made
// on the UI thread when the picture is first asked for).
struct Prefetched {
    std::mutex mutex;
    std::condition_variable ready;
    QSet<QString> pending;
    QHash<QString, QImage> images;
};

Prefetched& prefetched() {
    static Prefetched p;
    return p;
}

QImage readPng(const QString& path) {
    // The pictures are PNG files: naming the format spares probing every image plugin.
    QImageReader reader(path, "png");
    return reader.read();
}

// The decoded image of a prefetched path (waiting for it if it is being decoded), or a null image.
QImage takePrefetched(const QString& path) {
    auto& p = prefetched();
    std::unique_lock lock(p.mutex);
    p.ready.wait(lock, [&] { return !p.pending.contains(path); });
    return p.images.take(path);
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

QString Pictures::pathOf(const QString& name) {
    const auto base = pixelRatio() < kPixelRatio ? folder() / "1x" : folder();
    return QString::fromStdString((base / name.toStdString()).string());
}

void Pictures::prefetch(const QStringList& names) {
    QStringList paths;
    {
        auto& p = prefetched();
        std::lock_guard lock(p.mutex);
        for (const auto& name : names) {
            if (!isPlainName(name)) continue;
            const QString path = pathOf(name);
            if (p.pending.contains(path) || p.images.contains(path) || cache().pictures.contains(path)) continue;
            p.pending.insert(path);
            paths << path;
        }
    }
    if (paths.isEmpty()) return;
    std::thread([paths] {
        for (const auto& path : paths) {
            QImage image = readPng(path);
            auto& p = prefetched();
            std::lock_guard lock(p.mutex);
            if (!image.isNull()) p.images.insert(path, std::move(image));
            p.pending.remove(path);
            p.ready.notify_all();
        }
    }).detach();
}

std::filesystem::path Pictures::folder() { return ql::Resources::folder() / "pictures"; }

QPixmap Pictures::pixmap(const QString& name) {
    if (!isPlainName(name)) {
        reportMiss(QStringLiteral("\n") + name, name, "not a picture name");
        return {};
    }
    const QString path = pathOf(name);
    if (auto found = cache().pictures.constFind(path); found != cache().pictures.cend()) return *found;
    if (cache().reported.contains(path)) return {};

    if (!QFile::exists(path)) {
        reportMiss(path, name, "missing");
        return {};
    }
    QImage image = takePrefetched(path);
    if (image.isNull()) image = readPng(path);
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
    {
        auto& p = prefetched();
        std::unique_lock lock(p.mutex);
        p.ready.wait(lock, [&] { return p.pending.isEmpty(); });
        p.images.clear();
    }
    cache().pictures.clear();
    cache().scaled.clear();
    cache().reported.clear();
}

}  // namespace qlgui
