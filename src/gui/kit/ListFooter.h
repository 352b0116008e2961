#pragma once
// The footer of a paged list: a grey spinner and "加载中..." in one 320-wide row, shown while the
// next page loads. A stopped footer hides itself, so a list can keep one footer for its life.

#include <QWidget>

class QLabel;

namespace qlgui {

class Spinner;

class ListFooter : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 80;

    explicit ListFooter(QWidget* parent = nullptr);

    // Shows the footer with its spinner turning.
    void start();
    // Stops the spinner and hides the footer.
    void stop();
    bool isLoading() const { return loading_; }

    Spinner* spinner() const { return spinner_; }
    QLabel* label() const { return label_; }

    QSize sizeHint() const override { return {kWidth, kHeight}; }

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    Spinner* spinner_;
    QLabel* label_;
    bool loading_ = false;
};

}  // namespace qlgui
