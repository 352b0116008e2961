#pragma once
// Pictures from addresses, loaded asynchronously through the app's HTTP stack (and so its
// response cache), decoded once and kept in memory by address.
//
// An address that failed (no answer, an HTTP error, a body that is not a picture) is remembered
// for the rest of the run and not asked again, unless a load asks to retry failed addresses.
// Loads of one address share one request. Everything runs on the GUI thread; a label or context
// object destroyed before its picture arrives is never touched, and when nobody waits for an
// address any more its request is cancelled.

#include <QPixmap>
#include <QString>

#include <functional>

class QLabel;
class QObject;

namespace qlgui {

struct ImageLoadOptions {
    // Ask again for an address that failed before in this run.
    bool retryFailed = false;
};

class ImageLoader {
public:
    using Options = ImageLoadOptions;
    using Callback = std::function<void(const QPixmap&)>;

    static constexpr qint64 kDefaultMemoryBytes = 16 * 1024 * 1024;

    // Shows the picture at `url` in `target`, scaled to the label. Until it arrives (and for good
    // when it fails) the label shows `placeholderPicture` from the app's pictures (none when
    // empty). A picture held in memory shows at once. A later load into the same label replaces
    // this one: a picture that arrives for an address the label no longer wants is not shown.
    static void load(QLabel* target, const QString& url, const QString& placeholderPicture,
                     Options options = {});

    // Calls `done` with the picture, or with a null pixmap when it cannot be had; never after
    // `context` is destroyed (a null context means no call at all). Pictures held in memory and
    // addresses known to fail are answered at once, before load() returns.
    static void load(QObject* context, const QString& url, Callback done, Options options = {});

    // The picture when it is held in memory, else a null pixmap. Asks nobody.
    static QPixmap cached(const QString& url);
    static bool hasFailed(const QString& url);

    // Requests started since the start of the run (for tests and diagnostics).
    static int networkLoads();
    // Addresses with a request on its way.
    static int pendingCount();

    // Bound of the decoded pictures kept, in bytes.
    static void setMemoryLimit(qint64 bytes);
    // Forgets the pictures held and the addresses that failed (requests on their way go on).
    static void clearMemory();
};

}  // namespace qlgui
