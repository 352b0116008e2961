#pragma once
// A bar laid over the phone's status bar while a long background job runs (the offline news
// download): a message ("正在离线: 37%"), a thin progress line along its bottom edge and a
// close button. It is a controller that owns one bar widget, placed in whichever window it is
// shown over. UI thread only: workers post their updates to the main queue.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

class QAbstractButton;

namespace qlgui {

class StatusBarProgressView;

class StatusBarProgress : public QObject {
    Q_OBJECT
public:
    // How long the bar stays after the job finished or was closed, so the last message can be read.
    static constexpr int kHideDelayMs = 1000;

    explicit StatusBarProgress(QObject* parent = nullptr);
    ~StatusBarProgress() override;

    // Lays the bar over the top 20 points of `window` and shows it; a hide still pending from a
    // finish or a close is called off. A null window shows it where it was last shown.
    void show(QWidget* window);
    // Hides the bar now.
    void hide();
    bool isShown() const;

    // The share done, 0 to 1 (out-of-range and NaN values are clamped): the line follows and the
    // message becomes "正在离线: N%", N rounded to a whole percent.
    void setProgress(double fraction);
    double progress() const { return progress_; }
    // Replaces the message alone.
    void setMessage(const QString& text);
    QString text() const { return text_; }

    // The job is done: "离线完成 100%" with the line full, and the bar hides itself after
    // kHideDelayMs.
    void finish();
    // Hides the bar after kHideDelayMs (what the close button does after signalling).
    void hideLater();

    // The bar widget (null until first shown) and its close button, for drawing and for tests.
    QWidget* widget() const;
    QAbstractButton* closeButton() const;

    static QString runningText(double fraction);
    static QString finishedText();

signals:
    // The close button was pressed; the bar hides itself shortly after.
    void closeRequested();

private:
    void ensureView(QWidget* window);

    QPointer<StatusBarProgressView> view_;
    QString text_;
    double progress_ = 0;
    QTimer hideTimer_;
};

}  // namespace qlgui
