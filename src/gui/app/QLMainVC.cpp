#include "app/QLMainVC.h"

#include "Data/DBConnection.h"
#include "HTTP/Endpoints.h"
#include "account/Account.h"
#include "account/ViewController.h"
#include "app/AppDelegate.h"
#include "app/VersionCheckUI.h"
#include "kit/Alert.h"
#include "kit/NavigationStack.h"
#include "kit/OverlayNotice.h"
#include "kit/PictureButton.h"
#include "kit/Pictures.h"
#include "kit/StackedPanels.h"
#include "kit/Style.h"
#include "kit/TabFrame.h"
#include "news/ColumnFiles.h"
#include "platform/NetworkActivity.h"
#include "platform/Preferences.h"
#include "protocol/LoginState.h"
#include "protocol/TestNetwork.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QTimer>

namespace qlgui {

namespace {

constexpr const char* kTitles[] = {"资讯", "公开课", "在线商城", "我的课程", "个人中心"};
constexpr const char* kButtonPictures[] = {"Firstview_white.png", "public_white.png", "market_white.png",
                                           "class_white.png", "setting_white.png"};
constexpr int kButtonX[] = {12, 76, 139, 202, 267};

bool loggedIn() { return ql::Preferences::standard().contains("userid"); }

PictureButton* barButton(const char* normal, const char* highlighted, int w, int h) {
    auto* b = new PictureButton(normal, highlighted);
    b->setFixedSize(w, h);
    return b;
}

}  // namespace

QLMainVC::QLMainVC(QWidget* parent) : UNavController(kTitles[0], std::nullopt, std::nullopt, parent) {
    auto& center = ql::NotificationCenter::defaultCenter();
    // 1.
    observers_.push_back(center.addObserver("QLPayNDoneotification", [this](const ql::Notification&) { payDone(); }));
    // 2. The database opens once for the process; the downloads of the logged-in user come back.
    ql::DBConnection::getSharedDatabase();
    ql::Account::restoreDownloads();
    // 3. On the next turn of the loop, so the frame is on screen first.
    QTimer::singleShot(0, this, [this] { updatetest(); });
    // 4.
    if (loggedIn()) {
        accountRequest_ = ql::QLHttpRequest::create();
        accountRequest_->setDelegate(this);
        ql::NetworkActivity::on();
        accountRequest_->getUrl(ql::Endpoints::apiUrl(
            ql::Host::Main, "account.php", ql::Endpoints::accountParams(ql::Preferences::standard().stringForKey("userid"))));
    }
    // 5.
    background_ = new QLabel(this);
    background_->setScaledContents(true);
    background_->setPixmap(Pictures::pixmap("main_00.png"));
    background_->lower();
    tabs_ = new TabFrame(this);
    connect(tabs_, &TabFrame::tabBarTapped, this, [this](int index) { tabBarSelected(index); });
    AppDelegate::clearDbDataSource();
    // 6. The sections; each shows its screen once its work lands, and the frame's background until then.
    for (int i = 0; i < 5; ++i) {
        QWidget* section;
        if (i == 2) {
            // The mall: the stacked panels, whose root panel lists the catalogue.
            panels_ = new StackedPanels();
            panels_->setLeftInset(110);
            panels_->setLargeLeftInset(320);
            auto* root = new QWidget();
            root->setObjectName("QlOrder");
            panels_->pushPanel(root, false);
            section = panels_;
        } else {
            section = new QWidget();
        }
        section->setObjectName(QString("section%1").arg(i));
        tabs_->addSection(section);
    }
    // 7.
    for (int i = 0; i < 5; ++i) {
        auto* b = new PictureButton(kButtonPictures[i], {}, tabs_->tabBar());
        b->setFixedSize(42, 42);
        buttons_[i] = b;
    }
    connect(buttons_[0], &QAbstractButton::clicked, this, [this] { first(); });
    connect(buttons_[1], &QAbstractButton::clicked, this, [this] { publicCourses(); });
    connect(buttons_[2], &QAbstractButton::clicked, this, [this] { market(); });
    connect(buttons_[3], &QAbstractButton::clicked, this, [this] { course(); });
    connect(buttons_[4], &QAbstractButton::clicked, this, [this] { setting(); });
    markButton(0);
    // 8.
    ql::ColumnFiles::ensure();
    columns_ = ql::ColumnFiles::read(ql::ColumnFiles::kSubscribed);
    otherColumns_ = ql::ColumnFiles::read(ql::ColumnFiles::kOthers);
    // 9.
    downloadButton_ = barButton("Download.png", "Download_highlit.png", 47, 31);
    searchButton_ = barButton("search.png", "search_highlit.png", 47, 32);
    settingsButton_ = barButton("settings.png", "settings_highlit.png", 47, 32);
    connect(downloadButton_, &QAbstractButton::clicked, this, [this] { Download_for_offline(); });
    connect(searchButton_, &QAbstractButton::clicked, this, [this] { ClassSearch(); });
    connect(settingsButton_, &QAbstractButton::clicked, this, [this] { Btn_Setting(); });
    for (auto* b : {searchButton_, settingsButton_}) {
        b->setParent(this);
        b->hide();
    }
    setRightItem(downloadButton_);
    // 10.
    observers_.push_back(center.addObserver("Push_left", [this](const ql::Notification& n) { Push_left_fun(n); }));
    observers_.push_back(center.addObserver("Push_left_3nd", [this](const ql::Notification& n) { Push_left_3nd_fun(n); }));
    observers_.push_back(center.addObserver("QLPlayLessonNotificationHiddenNav",
                                            [this](const ql::Notification& n) { PlayDone(n); }));

    mask_ = new QWidget(this);
    mask_->setStyleSheet("background-color: rgba(0, 0, 0, 178);");
    mask_->hide();
}

QLMainVC::~QLMainVC() {
    if (accountRequest_) accountRequest_->test();
}

void QLMainVC::resizeEvent(QResizeEvent* event) {
    UNavController::resizeEvent(event);
    background_->setGeometry(rect());
    tabs_->setGeometry(rect());
    mask_->setGeometry(0, 0, 320, 480);
    // The buttons sit over the tab bar, 42 × 42 at fixed places along it: at y = screen height
    // − 106 in a frame that ends at the bottom of the screen, which is 7 points into the bar.
    constexpr int frameHeight = Style::kScreenHeight - Style::kStatusBarHeight - Style::kNavBarHeight;
    constexpr int intoBar = Style::kScreenHeight - 106 - (frameHeight - Style::kTabBarHeight);
    for (int i = 0; i < 5; ++i) buttons_[i]->move(kButtonX[i], intoBar);
}

int QLMainVC::selectedSection() const { return tabs_->currentIndex(); }

int QLMainVC::selectedButton() const {
    for (int i = 0; i < 5; ++i)
        if (buttons_[i]->isSelected()) return i;
    return -1;
}

void QLMainVC::markButton(int index) {
    for (int i = 0; i < 5; ++i) buttons_[i]->setSelected(i == index);
}

void QLMainVC::select(int section, const QString& title, QWidget* rightItem) {
    setLeftItem(nullptr);
    setTitle(cutTitle(title));
    setRightItem(rightItem);
    tabs_->setCurrentIndex(section);
    markButton(section);
}

void QLMainVC::first() { select(0, kTitles[0], downloadButton_); }
void QLMainVC::publicCourses() { select(1, kTitles[1], nullptr); }
void QLMainVC::market() { select(2, kTitles[2], searchButton_); }
void QLMainVC::setting() { select(4, kTitles[4], settingsButton_); }

void QLMainVC::course() {
    if (loggedIn()) {
        select(3, kTitles[3], nullptr);
        return;
    }
    // Nobody logged in: whatever login state is left goes, and the login screen comes up over
    // the section that is shown.
    setLeftItem(nullptr);
    ql::LoginState::reset();
    presentLogin();
}

void QLMainVC::tabBarSelected(int index) {
    switch (index) {
        case 0: first(); break;
        case 1: publicCourses(); break;
        case 2: market(); break;
        case 3: {
            // Without a user the login screen comes up, and the bar then stands on section 4.
            const bool user = loggedIn();
            course();
            if (!user) setting();
            break;
        }
        case 4: setting(); break;
        default: break;
    }
}

void QLMainVC::presentLogin() {
    if (auto* stack = navigationStack()) stack->present(new ViewController(), true);
}

void QLMainVC::Download_for_offline() {
    auto start = [this] {
        if (startOfflineDownload) startOfflineDownload();
    };
    if (ql::TestNetwork::GetCurrntNet() != "wifi" &&
        ql::Preferences::standard().stringForKey("wifi") == "ONLYWIFIISON") {
        Alert::show(window(), "警告", "没有可用的WiFi网络，现在离线可能会消耗较多的流量，是否继续?",
                    {"算了", "好的，继续"}, 0, 0, [start](int index) {
                        if (index == 1) start();
                    });
        return;
    }
    start();
}

void QLMainVC::ClassSearch() {
    if (makeSearchScreen && navigationStack()) navigationStack()->push(makeSearchScreen(), true);
}

void QLMainVC::Btn_Setting() {
    if (makeSettingsScreen && navigationStack()) navigationStack()->push(makeSettingsScreen(), true);
}

void QLMainVC::bedark() {
    if (auto* stack = navigationStack()) {
        auto* fade = new QGraphicsOpacityEffect(stack->navigationBar());
        fade->setOpacity(0.3);
        stack->navigationBar()->setGraphicsEffect(fade);
        stack->navigationBar()->setEnabled(false);
    }
    tabs_->setEnabled(false);
    mask_->show();
    mask_->raise();
}

void QLMainVC::belight() {
    if (auto* stack = navigationStack()) {
        stack->navigationBar()->setGraphicsEffect(nullptr);
        stack->navigationBar()->setEnabled(true);
    }
    tabs_->setEnabled(true);
    mask_->hide();
}

void QLMainVC::updatetest() {
    versionCall_ = ql::VersionCheck::checkAutomatically([this](std::optional<ql::VersionAlert> alert) {
        versionCall_.reset();
        if (alert) VersionCheckUI::show(window(), *alert);
    });
}

void QLMainVC::getArrayUserInfo(const ql::RecordList&) {
    // The decoder has stored the account values already.
    ql::NetworkActivity::off();
    accountRequest_.reset();
}

void QLMainVC::getDidFailWithError(const std::optional<ql::HttpError>&) {
    // The preferences keep the account values they had.
    ql::NetworkActivity::off();
    accountRequest_.reset();
}

void QLMainVC::payDone() {
    if (auto* stack = navigationStack()) {
        stack->dismiss(true);
        stack->popToRoot(true);
    }
    course();
}

std::optional<QLMainVC::PanelTag> QLMainVC::splitPanelTag(const std::string& tag) {
    // Counted in characters: the table name sits at fixed places of the tag.
    std::u32string t = QString::fromStdString(tag).toStdU32String();
    if (t.size() < 10) return std::nullopt;
    auto part = [&](size_t from, size_t count) {
        if (from >= t.size()) return std::string();
        return QString::fromStdU32String(t.substr(from, count)).toStdString();
    };
    return PanelTag{part(0, 4), part(5, 15), part(21, std::u32string::npos)};
}

void QLMainVC::Push_left_fun(const ql::Notification& n) {
    auto tag = splitPanelTag(n.userInfo.value("tag", std::string()));
    if (!tag) return;
    const QString table = QString::fromStdString(tag->table), category = QString::fromStdString(tag->categoryId);
    if (secondPanel_) {
        secondPanel_->setProperty("nextTable", table);
        secondPanel_->setProperty("CategoryId", category);
        if (researchSecondPanel) researchSecondPanel(secondPanel_);
        // Another category: its regions come forward, and a subject panel of the old one goes.
        if (panels_->visiblePanelCount() > 2) panels_->collapse(panels_->visiblePanelCount() - 2, true);
        else if (panels_->visiblePanelCount() < 2) panels_->expand(2 - panels_->visiblePanelCount(), true);
        return;
    }
    if (tag->prefix != "2_nd") return;
    secondPanel_ = makeSecondPanel ? makeSecondPanel() : new QWidget();
    secondPanel_->setObjectName("QlOrder_2ndClass");
    secondPanel_->setProperty("nextTable", table);
    secondPanel_->setProperty("CategoryId", category);
    panels_->pushPanel(secondPanel_, true);
}

void QLMainVC::Push_left_3nd_fun(const ql::Notification& n) {
    const QString category = QString::fromStdString(n.userInfo.value("CategoryId", std::string()));
    const QString region = QString::fromStdString(n.userInfo.value("C_or_P_id", std::string()));
    if (thirdPanel_) {
        thirdPanel_->setProperty("CategoryId", category);
        thirdPanel_->setProperty("C_or_P_id", region);
        if (panels_->visiblePanelCount() < 3) panels_->expand(3 - panels_->visiblePanelCount(), true);
        return;
    }
    if (n.userInfo.value("tag", std::string()) != "3_nd" || !secondPanel_) return;
    thirdPanel_ = makeThirdPanel ? makeThirdPanel() : new QWidget();
    thirdPanel_->setObjectName("QlOrder_3ndClass");
    thirdPanel_->setProperty("CategoryId", category);
    thirdPanel_->setProperty("C_or_P_id", region);
    panels_->pushPanel(thirdPanel_, true);
}

void QLMainVC::PlayDone(const ql::Notification& n) {
    // Only the lesson player's own notice counts; it says whether the bars are to be hidden and
    // whether playback ended with an error.
    if (!n.object || !n.userInfo.is_object() || !n.userInfo.contains("hidden")) return;
    const bool hidden = n.userInfo.value("hidden", false);
    auto* stack = navigationStack();
    if (!stack) return;
    if (!hidden) stack->pop(true);
    stack->setNavigationBarHidden(hidden);
    if (!hidden && n.userInfo.value("playbackError", false)) {
        QTimer::singleShot(600, this, [this] {
            OverlayNotice::show(window(), "此视频数据加载失败!", 2.0, true);
            ql::NetworkActivity::off();
        });
    }
}

}  // namespace qlgui
