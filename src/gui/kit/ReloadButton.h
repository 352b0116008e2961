#pragma once
// The full-screen button a list shows when its first load failed: a touch anywhere retries.

#include <QAbstractButton>

namespace qlgui {

class ReloadButton : public QAbstractButton {
    Q_OBJECT
public:
    // Covers `parent` (shown at once) and follows its size.
    explicit ReloadButton(QWidget* parent);

    static QString defaultText() { return QStringLiteral("数据请求失败，点击重新加载"); }

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace qlgui
