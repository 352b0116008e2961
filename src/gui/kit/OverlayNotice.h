#pragma once
// A transient notice: a translucent dark rounded box with a short text in the middle of a
// view, optionally with an orange badge above the text. It shows after an optional delay,
// stays for its time and then deletes itself. It never takes touches from the view under it.

#include <QString>
#include <QTimer>
#include <QWidget>

namespace qlgui {

class OverlayNotice : public QWidget {
    Q_OBJECT
public:
    // Shows `text` over `over` for `seconds` (0 or less: until close()), after `delaySeconds`.
    static OverlayNotice* show(QWidget* over, const QString& text, double seconds, bool orangeCustomView = false,
                               double delaySeconds = 0);
    // The notice shown now over `over` (the newest if several), or null; notices still
    // waiting for their delay do not count.
    static OverlayNotice* visible(QWidget* over);

    QString text() const { return text_; }
    bool hasOrangeView() const { return orange_; }
    // Hides and deletes the notice now.
    void close();

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    OverlayNotice(QWidget* over, const QString& text, bool orange);
    QRect boxRect() const;

    QString text_;
    bool orange_;
    bool closed_ = false;
    QTimer showTimer_, hideTimer_;
};

}  // namespace qlgui
