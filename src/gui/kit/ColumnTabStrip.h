#pragma once
// The row of news columns at the top of the news home: one tab per column name, a marker under
// the chosen tab that slides to a newly chosen one, faded ends while more tabs lie beyond an edge,
// and an edit button at the right end. When the tabs are wider than the strip, it scrolls sideways
// (drag or wheel); choosing a tab scrolls it into view.

#include <QAbstractButton>
#include <QRectF>
#include <QStringList>
#include <QVariantAnimation>
#include <QWidget>

namespace qlgui {

class ColumnTabStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 45;
    // The edit button's share of the right end; the tabs scroll in the rest.
    static constexpr int kEditWidth = 40;
    // The narrowest tab: as wide as the marker picture.
    static constexpr int kMinTabWidth = 64;

    explicit ColumnTabStrip(QWidget* parent = nullptr);

    // Replaces the tabs. The chosen column stays chosen when its name is still there (at its new
    // position); otherwise the first tab is chosen (none when the list is empty). Signals nothing.
    void setColumns(const QStringList& names);
    QStringList columns() const { return names_; }

    // Chooses a tab without signalling and scrolls it into view; the marker slides there when
    // `animated` and animations are on. An index out of range is ignored.
    void selectTab(int index, bool animated);
    int selectedIndex() const { return selected_; }

    // Geometry, in the strip's own coordinates, for drawing and for tests.
    QRect tabRect(int index) const;
    // The part of the strip in which tabs are shown (everything left of the edit button).
    QRect tabArea() const;
    // The tab under a point of the strip, or -1.
    int tabAt(QPoint pos) const;
    int scrollOffset() const { return offset_; }
    int maxScrollOffset() const;
    void setScrollOffset(int offset);
    bool moreOnLeft() const { return offset_ > 0; }
    bool moreOnRight() const { return offset_ < maxScrollOffset(); }
    QAbstractButton* editButton() const { return edit_; }

    QSize sizeHint() const override { return {320, kHeight}; }

signals:
    // The user tapped the tab at `index` (also when it was already chosen).
    void tabSelected(int index);
    void editRequested();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;

private:
    void layoutTabs();
    // Content coordinates (offset 0) of a tab; empty when there is no such tab.
    QRectF contentRect(int index) const;
    int contentWidth() const;
    void scrollIntoView(int index, bool animated);

    QStringList names_;
    QList<int> widths_;
    int selected_ = -1;
    int offset_ = 0;

    // The marker is drawn at markerRect_, in content coordinates; a slide moves it between
    // the two rects.
    QRectF markerRect_, markerFrom_, markerTo_;
    QVariantAnimation markerSlide_;
    QVariantAnimation scroll_;

    // A press becomes a drag once it moves further than a tap may.
    bool pressed_ = false;
    bool dragging_ = false;
    QPoint pressPos_;
    int pressOffset_ = 0;

    QAbstractButton* edit_;
};

}  // namespace qlgui
