#pragma once
// What a screen shows while it waits for its first answer: the background picture, the logo,
// a grey spinner and "加载中...", covering the whole screen (and its touches).

#include <QLabel>
#include <QWidget>

namespace qlgui {

class Spinner;

class WaitingView : public QWidget {
    Q_OBJECT
public:
    // Covers `parent` (shown at once) and follows its size.
    explicit WaitingView(QWidget* parent);

    Spinner* spinner() const { return spinner_; }
    QLabel* label() const { return label_; }

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* logo_;
    Spinner* spinner_;
    QLabel* label_;
};

}  // namespace qlgui
