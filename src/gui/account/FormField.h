#pragma once
// One row of the login and registration forms: a background picture, a label in the blank left
// margin and a borderless text field over the rest.

#include <QLineEdit>
#include <QWidget>

namespace qlgui {

class FormField : public QWidget {
    Q_OBJECT
public:
    FormField(const QString& label, const QString& placeholder, const QString& background, int margin,
              QWidget* parent = nullptr);
    QLineEdit* edit() const { return edit_; }
    QString text() const { return edit_->text(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    QString background_;
    int margin_;
    QLineEdit* edit_;
};

}  // namespace qlgui
