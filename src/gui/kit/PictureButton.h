#pragma once
// A button drawn from pictures: a background picture stretched over the button (another one
// while it is held down or selected) with an optional centred text on top.

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace qlgui {

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    // Picture names are files of the picture set, such as "back.png"; empty names draw nothing.
    explicit PictureButton(const QString& normal = {}, const QString& highlighted = {}, QWidget* parent = nullptr);

    void setPictures(const QString& normal, const QString& highlighted = {});
    // Drawn while the button is checked; checkable buttons use it as their "selected" look.
    void setSelectedPicture(const QString& selected);
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }

    QString normalPicture() const { return normalName_; }
    QString highlightedPicture() const { return highlightedName_; }
    QString selectedPicture() const { return selectedName_; }

    void setTextColor(const QColor& color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    static QPixmap look(const QString& name);

    QString normalName_, highlightedName_, selectedName_;
    QColor textColor_{Qt::white};
    bool selected_ = false;
};

}  // namespace qlgui
