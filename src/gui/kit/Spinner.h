#pragma once
// The small spinning activity indicator: twelve bars fading round a circle. It turns only
// while it is visible and animating.

#include <QColor>
#include <QTimer>
#include <QWidget>

namespace qlgui {

class Spinner : public QWidget {
    Q_OBJECT
public:
    enum class Tone { Grey, White };

    explicit Spinner(Tone tone = Tone::Grey, QWidget* parent = nullptr);
    explicit Spinner(QWidget* parent) : Spinner(Tone::Grey, parent) {}

    void setColor(const QColor& color);
    QColor color() const { return color_; }

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return animating_; }
    // When set (the default), a stopped spinner hides itself.
    void setHidesWhenStopped(bool hides);

    // The bar drawn darkest, 0..11; advances every tick.
    int phase() const { return phase_; }

    QSize sizeHint() const override { return {20, 20}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    void updateTimer();

    QColor color_;
    QTimer timer_;
    int phase_ = 0;
    bool animating_ = true;
    bool hidesWhenStopped_ = true;
};

}  // namespace qlgui
