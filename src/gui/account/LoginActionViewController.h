#pragma once
// The registration screen, presented over the login screen.

#include "kit/Screen.h"
#include "platform/HttpTransport.h"

namespace qlgui {

class FormField;

class LoginActionViewController : public Screen {
    Q_OBJECT
public:
    explicit LoginActionViewController(QWidget* parent = nullptr);
    ~LoginActionViewController() override;

    void submit();
    void resetForm();

    FormField* usernameField() const { return username_; }
    FormField* passwordField() const { return password_; }
    FormField* useremailField() const { return email_; }
    FormField* repasswordField() const { return repassword_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    void endEditing();

    FormField* username_;
    FormField* password_;
    FormField* email_;
    FormField* repassword_;
    QWidget* panel_;
    ql::HttpCallPtr call_;
};

}  // namespace qlgui
