#include "kit/ListFooter.h"

#include <QLabel>

#include "kit/Spinner.h"
#include "kit/Style.h"

namespace qlgui {

namespace {
constexpr int kSpinnerSize = 20;
constexpr int kGap = 6;
constexpr int kLabelWidth = 70;
constexpr int kLabelHeight = 20;
}  // namespace

ListFooter::ListFooter(QWidget* parent)
        : QWidget(parent),
          spinner_(new Spinner(Spinner::Tone::Grey, this)),
          label_(new QLabel(QStringLiteral("加载中..."), this)) {
    label_->setFont(Style::font(14));
    label_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    spinner_->stopAnimating();
    resize(kWidth, kHeight);
    hide();
}

void ListFooter::start() {
    loading_ = true;
    show();
    spinner_->startAnimating();
}

void ListFooter::stop() {
    loading_ = false;
    spinner_->stopAnimating();
    hide();
}

void ListFooter::resizeEvent(QResizeEvent*) {
    // Spinner and text as one group, centred in the row.
    const int groupWidth = kSpinnerSize + kGap + kLabelWidth;
    const int left = (width() - groupWidth) / 2;
    spinner_->setGeometry(left, (height() - kSpinnerSize) / 2, kSpinnerSize, kSpinnerSize);
    label_->setGeometry(left + kSpinnerSize + kGap, (height() - kLabelHeight) / 2, kLabelWidth, kLabelHeight);
}

}  // namespace qlgui
