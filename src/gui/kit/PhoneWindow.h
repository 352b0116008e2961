#pragma once
// The phone: a fixed 320 × 568 window with the 20-point status bar (network type, clock,
// network activity spinner) above the content.

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace qlgui {

class Spinner;

class PhoneStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit PhoneStatusBar(QWidget* parent = nullptr);

    QString networkText() const { return network_->text(); }
    QString timeText() const { return clock_->text(); }
    bool activityShown() const;

    // Where the network type comes from: "wifi", "3g" or "NONET". The default asks the core's
    // probe, which may take a moment, so it always runs on a worker thread.
    using NetworkSource = std::function<std::string()>;
    void setNetworkSource(NetworkSource source);
    // Starts a fresh reading now (it arrives asynchronously).
    void refreshNetwork();

    // The text shown for a network type.
    static QString networkLabel(const std::string& type);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void tick();

    QLabel* network_;
    QLabel* clock_;
    Spinner* activity_;
    QTimer activityTimer_;
    QTimer clockTimer_;
    QTimer networkTimer_;
    NetworkSource source_;
    // Shared with the worker so that a reading in flight is never started twice.
    std::shared_ptr<std::atomic<bool>> probing_;
};

class PhoneWindow : public QWidget {
    Q_OBJECT
public:
    explicit PhoneWindow(QWidget* parent = nullptr);

    // Lays the widget below the status bar, taking ownership; the previous content is deleted.
    void setContent(QWidget* content);
    QWidget* content() const { return content_; }
    PhoneStatusBar* statusBar() const { return status_; }

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    PhoneStatusBar* status_;
    QPointer<QWidget> content_;
};

}  // namespace qlgui
