#pragma once
// The pull-to-refresh header of a scrolling list (QListView, QTableView, QScrollArea ...).
//
// Pulling the content down while it is scrolled to the top (a mouse drag, or the wheel) moves the
// list's viewport down by the pull distance and shows the header in the gap: an arrow, the pull
// text, and under it the time of the last update. Once the pull reaches the threshold the arrow
// turns and the release text shows; releasing there starts a refresh: a spinner and the loading
// text in a header that stays open, and refreshRequested(). The owner answers with
// finishRefreshing(), which closes the header and records the time of the update.
//
// The list's widgets are not replaced: the viewport is only moved, and put back when the header
// closes or is destroyed, so a screen can drop a header and attach a new one.

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QVariantAnimation>

class QAbstractScrollArea;
class QLabel;
class QWidget;

namespace qlgui {

class Spinner;

struct PullToRefreshOptions {
    QString pullText = QStringLiteral("下拉可以刷新");
    QString releaseText = QStringLiteral("释放刷新数据");
    QString loadingText = QStringLiteral("加载中...");
    // Pull distance, in points, from which a release starts a refresh.
    int threshold = 65;
    // Height of the header kept open while refreshing; 0 means the threshold.
    int refreshingHeight = 0;
    QString lastUpdatedPrefix = QStringLiteral("最后更新：");
    QString timeFormat = QStringLiteral("yyyy-MM-dd HH:mm");
};

class PullToRefresh : public QObject {
    Q_OBJECT
public:
    enum class State { Idle, Pulling, ReadyToRelease, Refreshing };
    Q_ENUM(State)

    // Attaches to `area` (and is destroyed with it).
    explicit PullToRefresh(QAbstractScrollArea* area, PullToRefreshOptions options = {});
    ~PullToRefresh() override;

    void setPullText(const QString& text);
    void setReleaseText(const QString& text);
    void setLoadingText(const QString& text);
    void setThreshold(int points);
    void setRefreshingHeight(int points);
    void setTimeFormat(const QString& prefix, const QString& format);
    const PullToRefreshOptions& options() const { return options_; }

    State state() const { return state_; }
    // How far the content is moved down now, in points.
    int pullDistance() const { return offset_; }
    QWidget* header() const { return header_; }
    QString statusText() const;
    QString lastUpdatedText() const;
    QDateTime lastUpdated() const { return lastUpdated_; }
    void setLastUpdated(const QDateTime& when);

    // Starts a refresh without a pull: opens the header and asks for the refresh.
    void beginRefreshing();
    // Closes the header after a refresh; `updated` (when valid) becomes the time of the last update.
    void finishRefreshing(const QDateTime& updated = QDateTime::currentDateTime());

    // The gesture without input events: the content pulled down by `points` (only while it is
    // scrolled to the top, as with a real pull) ...
    void simulatePull(int points);
    // ... and let go: a refresh starts when the pull had reached the threshold.
    void simulateRelease();

signals:
    void refreshRequested();
    void stateChanged(qlgui::PullToRefresh::State state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool atTop() const;
    void pullTo(int points);
    void release();
    void setState(State state);
    void moveContentTo(int offset, bool animated);
    void applyOffset(int offset);
    void layoutHeader();
    void updateHeader();
    int refreshingHeight() const;
    bool handleMouse(QEvent* event);
    bool handleWheel(QEvent* event);

    QPointer<QAbstractScrollArea> area_;
    QPointer<QWidget> viewport_;  // the area's viewport when attached
    QPointer<QWidget> header_;
    QLabel* arrow_ = nullptr;
    Spinner* spinner_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* updated_ = nullptr;
    PullToRefreshOptions options_;
    State state_ = State::Idle;
    QDateTime lastUpdated_;

    int offset_ = 0;
    QRect base_;            // the viewport's place as the scroll area lays it out
    QRect applied_;         // where we last put it
    bool applying_ = false;
    QVariantAnimation slide_;

    bool dragging_ = false;
    bool pulling_ = false;
    qreal pressY_ = 0;
    QTimer wheelRelease_;
};

}  // namespace qlgui
