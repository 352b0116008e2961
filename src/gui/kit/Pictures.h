#pragma once
// The app's pictures, by file name ("back.png"). They are rendered at two pixels to the point into
// the resource folder's "pictures" folder, and at one pixel to the point into its "1x" folder; a
// screen of ratio 1 gets the second (a quarter of the pixels to decode). A pixmap from here
// carries its device pixel ratio, so it lays out at its size in points either way.

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

#include <filesystem>

namespace qlgui {

class Pictures {
public:
    static constexpr qreal kPixelRatio = 2;
    // The ratio of the pictures handed out: 2, or 1 on a screen of ratio 1.
    static qreal pixelRatio();

    // The picture, loaded once and then kept. A missing or unreadable picture (or a name that is not
    // a plain file name) gives a null pixmap and one line on stderr, once per name.
    static QPixmap pixmap(const QString& name);

    // The normal look, and the highlighted one for the active and selected modes (a pressed or
    // chosen button); without a highlighted name every mode shows the normal look.
    static QIcon icon(const QString& normal, const QString& highlighted = {});

    // The picture stretched to `points` (a background scaled to its view), kept per size.
    static QPixmap scaled(const QString& name, QSize points);

    // Starts decoding pictures on a worker thread, so that the first screen finds them ready
    // (pixmap() waits for one still being decoded). Call it once the application object exists.
    static void prefetch(const QStringList& names);

    // Where the pictures are read from: the resource folder + "pictures".
    static std::filesystem::path folder();

    // Forgets every loaded picture and every reported miss (after the resource folder changed).
    static void clearCache();

private:
    // The file of a picture for this screen's pixel ratio.
    static QString pathOf(const QString& name);
};

}  // namespace qlgui
