#include "kit/UNavController.h"

#include <QStringView>

#include "kit/NavigationStack.h"
#include "kit/PictureButton.h"
#include "kit/Style.h"

namespace qlgui {

QString UNavController::cutTitle(const QString& title) {
    constexpr qsizetype kLongest = 9;
    // Count code points, so that a character outside the basic plane is never split.
    qsizetype chars = 0, cutAt = 0;
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title.at(i).isLowSurrogate() && i > 0 && title.at(i - 1).isHighSurrogate()) continue;
        ++chars;
        if (chars == kLongest + 1) cutAt = i;
    }
    if (chars <= kLongest) return title;
    return title.left(cutAt) + QStringLiteral("...");
}

UNavController::UNavController(const QString& title, std::optional<QString> leftButtonName,
                               std::optional<QString> rightButtonName, QWidget* parent)
        : Screen(parent) {
    setTitle(cutTitle(title));
    if (leftButtonName) {
        back_ = new PictureButton(QStringLiteral("back.png"), QStringLiteral("back_highlit.png"));
        back_->setGeometry(20, 16, 51, 31);
        back_->setText(QStringLiteral("   ") + *leftButtonName);
        connect(back_, &QAbstractButton::clicked, this, [this] { backTapped(); });
        setLeftItem(back_);
    } else {
        // An empty item takes the left place, so the stack shows no back button of its own.
        auto* empty = new QWidget;
        empty->setAttribute(Qt::WA_TransparentForMouseEvents);
        empty->resize(0, 0);
        setLeftItem(empty);
        setHidesBackButton(true);
    }
    if (rightButtonName) {
        right_ = new PictureButton(QStringLiteral("rightButton.png"));
        right_->setGeometry(220, 16, 80, 28);
        right_->setText(*rightButtonName);
        connect(right_, &QAbstractButton::clicked, this, &UNavController::rightButtonClicked);
        setRightItem(right_);
    }
    NavigationBar::setDefaultTint(Style::barTint());
}

void UNavController::backTapped() {
    if (NavigationStack* stack = navigationStack()) stack->pop(true);
}

}  // namespace qlgui
