#pragma once
// A tab frame: one of N section widgets in the content area, and a 49-point tab bar at the
// bottom. The bar draws its background and the selection marker; the owner lays its own
// buttons over it. A touch on the bar outside those buttons reports the section under it and
// leaves the choice of what to show to the owner.

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

namespace qlgui {

class TabBar : public QWidget {
    Q_OBJECT
public:
    explicit TabBar(QWidget* parent = nullptr);

    void setCount(int count);
    int count() const { return count_; }
    void setSelectedIndex(int index);
    int selectedIndex() const { return selected_; }
    // The region of section `index` on the bar.
    QRect sectionRect(int index) const;

signals:
    void tapped(int index);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    int indexAt(QPoint pos) const;

    QPixmap marker_;
    int count_ = 0;
    int selected_ = -1;
    int pressed_ = -1;
};

class TabFrame : public QWidget {
    Q_OBJECT
public:
    explicit TabFrame(QWidget* parent = nullptr);

    // Adds a section (taking ownership); returns its index. The first section becomes current.
    int addSection(QWidget* section);
    int count() const { return sections_.size(); }
    QWidget* section(int index) const;
    QWidget* currentSection() const { return section(current_); }

    // Shows section `index`. Sections that are screens get their appearance hooks.
    void setCurrentIndex(int index);
    int currentIndex() const { return current_; }

    QWidget* tabBar() const { return bar_; }
    void setTabBarHidden(bool hidden);
    bool isTabBarHidden() const;
    // Where the sections are laid: the frame above the bar.
    QRect contentRect() const;

signals:
    void tabBarTapped(int index);
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    void layoutSections();
    void appear(QWidget* section);
    void disappear(QWidget* section);

    TabBar* bar_;
    QList<QPointer<QWidget>> sections_;
    int current_ = -1;
    bool onScreen_ = false;
};

}  // namespace qlgui
