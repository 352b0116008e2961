#pragma once
// Up to three panels side by side that slide over each other from the right (the mall catalogue).
//
// Geometry, for a controller as wide as the screen (320):
//  - the root panel fills the controller (x = 0, 320 wide);
//  - a later panel lies at the right edge with its preferred width (level 2: 220, level 3: 120),
//    but never starts left of the left inset (110): level 2 thus spans x = 110..320 (210 wide) and
//    keeps all of its content on screen, level 3 spans x = 200..320;
//  - a panel slides in from, and is collapsed away to, the large left inset (320: just past the
//    right edge).
// Panels carry no shadow; a later panel lies above the earlier ones.
//
// Pushed panels become children of the controller and die with it. Collapsing only hides panels:
// they stay in panels() and expand() brings them back. Pushing while panels are collapsed drops
// the collapsed ones from the stack (they stay alive, hidden) and puts the new panel after the
// visible ones.

#include <QList>
#include <QPointer>
#include <QWidget>

class QPropertyAnimation;

namespace qlgui {

class StackedPanels : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxPanels = 3;
    static constexpr int kLevel2Width = 220;
    static constexpr int kLevel3Width = 120;

    explicit StackedPanels(QWidget* parent = nullptr);

    // The first panel pushed is the root; it is never collapsed. Returns false (and changes
    // nothing) for a null panel, one already visible, or a stack already holding three panels.
    bool pushPanel(QWidget* panel, bool animated);
    // Slides the top `steps` panels away to the right; the root always stays.
    void collapse(int steps, bool animated);
    // Brings back up to `steps` collapsed panels, the lowest first.
    void expand(int steps, bool animated);

    int visiblePanelCount() const { return visible_; }
    // Every panel of the stack, root first, collapsed ones included.
    QList<QWidget*> panels() const;

    void setLeftInset(int points);
    int leftInset() const { return leftInset_; }
    void setLargeLeftInset(int points);
    int largeLeftInset() const { return largeLeftInset_; }

    // Where panel `index` lies while it is shown.
    QRect shownGeometry(int index) const;

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    int preferredWidth(int index) const;
    QRect hiddenGeometry(int index) const;
    // Moves panel `index` to its place, sliding when asked; hides it at the end when !shown.
    void place(int index, bool shown, bool animated);
    void relayout();

    struct Entry {
        QPointer<QWidget> panel;
        QPointer<QPropertyAnimation> slide;
    };
    QList<Entry> entries_;
    int visible_ = 0;
    int leftInset_ = 110;
    int largeLeftInset_ = 320;
};

}  // namespace qlgui
