#include "account/ViewController.h"

#include "account/Account.h"
#include "account/FormField.h"
#include "account/LoginActionViewController.h"
#include "kit/Alert.h"
#include "kit/NavigationStack.h"
#include "kit/PictureButton.h"
#include "kit/Pictures.h"
#include "kit/Style.h"
#include "platform/NetworkActivity.h"
#include "protocol/TestNetwork.h"

#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QThreadPool>
#include <QApplication>


namespace qlgui {

namespace {

void showAlert(QWidget* window, const ql::AccountAlert& alert) {
    Alert::show(window, "", QString::fromStdString(alert.message), {QString::fromStdString(alert.button)}, 0, 0, {});
}

}  // namespace

ViewController::ViewController(QWidget* parent) : Screen(parent) {
    setTitle("登录");
    auto* back = new PictureButton("back.png", "back_highlit.png");
    back->setFixedSize(51, 31);
    connect(back, &QAbstractButton::clicked, this, [this] { close(); });
    setLeftItem(back);
    auto* login = new PictureButton("login_navRight.png", "login_navRight_highlit.png");
    login->setFixedSize(47, 31);
    connect(login, &QAbstractButton::clicked, this, [this] { loginAction(); });
    setRightItem(login);

    auto* logo = new QLabel(this);
    logo->setScaledContents(true);
    logo->setPixmap(Pictures::pixmap("logo_small.png"));
    logo->setGeometry(68, 103, 184, 147);

    account_ = new FormField("账 号：", "青岚网校账号", "login_up.png", 70, this);
    account_->setGeometry(10, 262, 300, 44);
    auto* line = new QLabel(this);
    line->setScaledContents(true);
    line->setPixmap(Pictures::pixmap("dottedline_320.png"));
    line->setGeometry(10, 306, 300, 1);
    password_ = new FormField("密 码：", "密码", "login_down.png", 70, this);
    password_->setGeometry(10, 307, 300, 44);
    password_->edit()->setEchoMode(QLineEdit::Password);
    connect(account_->edit(), &QLineEdit::returnPressed, password_->edit(), qOverload<>(&QWidget::setFocus));
    connect(password_->edit(), &QLineEdit::returnPressed, this, [this] { loginAction(); });

    auto* reg = new QPushButton("注册即送精品课程", this);
    reg->setFlat(true);
    reg->setCursor(Qt::PointingHandCursor);
    reg->setFont(Style::font(14));
    reg->setStyleSheet(QString("QPushButton { color: %1; border: none; background: transparent; }").arg(Style::darkGrey().name()));
    auto* shadow = new QGraphicsDropShadowEffect(reg);
    shadow->setColor(Qt::white);
    shadow->setOffset(0, 1);
    shadow->setBlurRadius(0);
    reg->setGraphicsEffect(shadow);
    reg->setGeometry(90, 366, 140, 24);
    connect(reg, &QPushButton::clicked, this, [this] { regActiontest(); });
    auto* underline = new QLabel(this);
    underline->setScaledContents(true);
    underline->setPixmap(Pictures::pixmap("dottedline_nomal.png"));
    underline->setGeometry(100, 390, 120, 1);

    checkNetwork();
}

ViewController::~ViewController() {
    if (call_) {
        call_->cancel();
        ql::NetworkActivity::off();
    }
}

void ViewController::checkNetwork() {
    // The network type takes a short probe: ask off the UI thread, answer on it if the screen is
    // still there.
    QPointer<ViewController> self = this;
    QThreadPool::globalInstance()->start([self] {
        const bool none = ql::TestNetwork::GetCurrntNet() == "NONET";
        QMetaObject::invokeMethod(
            qApp, [self, none] {
                if (self && none) showAlert(self->window(), ql::Account::noNetworkAlert());
            },
            Qt::QueuedConnection);
    });
}

void ViewController::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawTiledPixmap(rect(), Pictures::pixmap("detail_bg.png"));
}

void ViewController::mousePressEvent(QMouseEvent*) { endEditing(); }

void ViewController::endEditing() {
    account_->edit()->clearFocus();
    password_->edit()->clearFocus();
}

void ViewController::close() {
    if (auto* stack = navigationStack()) stack->dismiss(true);
}

void ViewController::loginAction() {
    endEditing();
    const std::string account = account_->text().toStdString();
    const std::string password = password_->text().toStdString();
    if (auto alert = ql::Account::checkLoginFields(account, password)) {
        showAlert(window(), *alert);
        return;
    }
    if (call_) return;  // one login at a time
    ql::NetworkActivity::on();
    call_ = ql::httpLoad(ql::Account::requestFor(ql::Account::prepareLogin(account, password)),
                         [this, account, password](ql::HttpResult result) {
                             call_.reset();
                             ql::NetworkActivity::off();
                             if (result.error) {
                                 showAlert(window(), ql::Account::networkFailureAlert());
                                 return;
                             }
                             auto outcome = ql::Account::applyLoginAnswer(result.response.body, account, password);
                             if (outcome.alert) showAlert(window(), *outcome.alert);
                             if (outcome.result == ql::Account::LoginResult::LoggedIn) close();
                         });
}

void ViewController::regActiontest() {
    if (auto* stack = navigationStack()) stack->present(new LoginActionViewController(), true);
}

}  // namespace qlgui
