#pragma once
// The screen base most screens are built on: a title (cut when long), a back button with an
// optional name, and an optional right button whose action each screen decides.

#include <QString>
#include <optional>

#include "kit/Screen.h"

namespace qlgui {

class PictureButton;

class UNavController : public Screen {
    Q_OBJECT
public:
    // With a left name (even empty) the screen gets a back button that pops it; without one
    // it gets an empty item so that no back button shows. With a right name it gets a right
    // button showing that name.
    UNavController(const QString& title, std::optional<QString> leftButtonName,
                   std::optional<QString> rightButtonName, QWidget* parent = nullptr);

    // Titles of ten characters or more keep their first nine followed by "...". Characters,
    // not bytes or UTF-16 units: a Chinese character counts one.
    static QString cutTitle(const QString& title);

    PictureButton* backButton() const { return back_; }
    PictureButton* rightButton() const { return right_; }

signals:
    void rightButtonClicked();

protected:
    // What the back button does: pop this screen, animated. A screen shown in a different
    // way (presented as a root) may close itself instead.
    virtual void backTapped();

private:
    PictureButton* back_ = nullptr;
    PictureButton* right_ = nullptr;
};

}  // namespace qlgui
