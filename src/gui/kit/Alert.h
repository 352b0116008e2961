#pragma once
// Phone-style alerts and action sheets. Showing one returns at once; the answer arrives later
// through the callback, after the box has closed. Nothing here runs a nested event loop.

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>

class QPushButton;
class QVBoxLayout;

namespace qlgui {

// A dimmed layer over a whole window that closes once, with the index of a button.
class ModalLayer : public QWidget {
    Q_OBJECT
public:
    using Answer = std::function<void(int buttonIndex)>;

    QStringList buttons() const { return buttons_; }
    int cancelIndex() const { return cancelIndex_; }
    bool isClosing() const { return closing_; }

    // Closes the layer as if button `index` was touched, then gives the answer. Out-of-range
    // indexes and repeated presses are ignored.
    void press(int index);

signals:
    void answered(int buttonIndex);

protected:
    ModalLayer(QWidget* window, QStringList buttons, int cancelIndex, Answer answer);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    // The dimming behind the box (0..1, animated by sheets).
    qreal dim_ = 1.0;
    // Called before the layer goes; sheets slide away.
    virtual void closing() {}

    QStringList buttons_;
    int cancelIndex_;

private:
    Answer answer_;
    bool closing_ = false;
};

class Alert : public ModalLayer {
    Q_OBJECT
public:
    // Shows an alert over `window`'s whole window: title, message and the buttons (side by side
    // for two, stacked otherwise). `cancelIndex` (or -1) is the button that Escape presses.
    static Alert* show(QWidget* window, const QString& title, const QString& message, const QStringList& buttons,
                       int cancelIndex, int tag, Answer answer);
    // The alert on top over the window of `window`, or null.
    static Alert* visible(QWidget* window);

    QString title() const { return title_; }
    QString message() const { return message_; }
    int tag() const { return tag_; }
    QPushButton* button(int index) const;

private:
    Alert(QWidget* window, const QString& title, const QString& message, const QStringList& buttons, int cancelIndex,
          int tag, Answer answer);
    void layoutBox();
    void resizeEvent(QResizeEvent*) override;

    QString title_, message_;
    int tag_;
    QWidget* box_;
    QList<QPushButton*> pushButtons_;
};

class ActionSheet : public ModalLayer {
    Q_OBJECT
public:
    // Slides a sheet of stacked buttons up from the bottom of `window`'s window. The cancel
    // button stands apart at the bottom; the destructive one (or -1) is red.
    static ActionSheet* show(QWidget* window, const QString& title, const QStringList& buttons, int cancelIndex,
                             int destructiveIndex, Answer answer);
    static ActionSheet* visible(QWidget* window);

    QString title() const { return title_; }
    int destructiveIndex() const { return destructiveIndex_; }
    QPushButton* button(int index) const;

private:
    ActionSheet(QWidget* window, const QString& title, const QStringList& buttons, int cancelIndex,
                int destructiveIndex, Answer answer);
    void layoutSheet();
    void resizeEvent(QResizeEvent*) override;
    void closing() override;

    QString title_;
    int destructiveIndex_;
    QWidget* sheet_;
    QList<QPushButton*> pushButtons_;
};

}  // namespace qlgui
