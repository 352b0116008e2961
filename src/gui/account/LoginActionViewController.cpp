#include "account/LoginActionViewController.h"

#include "account/Account.h"
#include "account/FormField.h"
#include "kit/Alert.h"
#include "kit/NavigationStack.h"
#include "kit/PictureButton.h"
#include "kit/Pictures.h"
#include "kit/Style.h"
#include "platform/NetworkActivity.h"
#include "platform/NotificationCenter.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>

namespace qlgui {

LoginActionViewController::LoginActionViewController(QWidget* parent) : Screen(parent) {
    setTitle("注册");
    auto* back = new PictureButton("back.png", "back_highlit.png");
    back->setFixedSize(51, 31);
    connect(back, &QAbstractButton::clicked, this, [this] {
        if (auto* stack = navigationStack()) stack->dismiss(true);
    });
    setLeftItem(back);
    auto* send = new PictureButton("rightButton.png", {});
    send->setText("提交");
    send->setFixedSize(80, 28);
    connect(send, &QAbstractButton::clicked, this, [this] { submit(); });
    setRightItem(send);

    // The form panel, its corners cut to a radius of 8.
    panel_ = new QWidget(this);
    panel_->setGeometry(10, 30, 300, 176);
    QPainterPath round;
    round.addRoundedRect(QRectF(0, 0, 300, 176), 8, 8);
    panel_->setMask(QRegion(round.toFillPolygon().toPolygon()));
    username_ = new FormField("用户名", "至少六位", "login_up.png", 80, panel_);
    password_ = new FormField("密  码", "密码", "Profile_center.png", 80, panel_);
    email_ = new FormField("邮  箱", "常用电子邮箱", "Profile_center.png", 80, panel_);
    repassword_ = new FormField("确认密码", "再次输入密码", "login_down.png", 80, panel_);
    int y = 0;
    for (auto* f : {username_, password_, email_, repassword_}) {
        f->setGeometry(0, y, 300, 44);
        y += 44;
    }
    password_->edit()->setEchoMode(QLineEdit::Password);
    repassword_->edit()->setEchoMode(QLineEdit::Password);
    email_->edit()->setInputMethodHints(Qt::ImhEmailCharactersOnly);
}

LoginActionViewController::~LoginActionViewController() {
    if (call_) {
        call_->cancel();
        ql::NetworkActivity::off();
    }
}

void LoginActionViewController::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawTiledPixmap(rect(), Pictures::pixmap("detail_bg.png"));
}

void LoginActionViewController::mousePressEvent(QMouseEvent*) { endEditing(); }

void LoginActionViewController::endEditing() {
    for (auto* f : {username_, password_, email_, repassword_}) f->edit()->clearFocus();
}

void LoginActionViewController::resetForm() {
    for (auto* f : {username_, password_, email_, repassword_}) f->edit()->clear();
}

void LoginActionViewController::submit() {
    if (call_) return;
    ql::RegistrationForm form{username_->text().toStdString(), password_->text().toStdString(),
                              email_->text().toStdString(), repassword_->text().toStdString()};
    ql::NetworkActivity::on();
    call_ = ql::httpLoad(ql::Account::requestFor(ql::Account::prepareRegistration(form)), [this](ql::HttpResult result) {
        call_.reset();
        ql::NetworkActivity::off();
        QWidget* win = window();
        if (result.error) {
            auto alert = ql::Account::networkFailureAlert();
            Alert::show(win, "", QString::fromStdString(alert.message), {QString::fromStdString(alert.button)}, 0, 0, {});
            return;
        }
        auto outcome = ql::Account::applyRegistrationAnswer(result.response.body);
        if (outcome.registered) endEditing();
        if (outcome.alert)
            Alert::show(win, "", QString::fromStdString(outcome.alert->message),
                        {QString::fromStdString(outcome.alert->button)}, 0, 0, {});
        // The app answers by building a fresh main frame over everything, this screen included.
        if (outcome.registered) ql::NotificationCenter::defaultCenter().post("QLRegisterSuccessfulNotification", this);
    });
}

}  // namespace qlgui
