#pragma once
// The login screen, presented over whatever needs a logged-in user.

#include "kit/Screen.h"
#include "platform/HttpTransport.h"

namespace qlgui {

class FormField;

class ViewController : public Screen {
    Q_OBJECT
public:
    explicit ViewController(QWidget* parent = nullptr);
    ~ViewController() override;

    void loginAction();
    void regActiontest();

    FormField* accountField() const { return account_; }
    FormField* passwordField() const { return password_; }
    bool isLoading() const { return call_ != nullptr; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    void endEditing();
    void close();
    void checkNetwork();

    FormField* account_;
    FormField* password_;
    ql::HttpCallPtr call_;
};

}  // namespace qlgui
