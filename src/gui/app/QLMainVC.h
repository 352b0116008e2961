#pragma once
// The main frame: the root screen of the navigation stack. It holds the five sections in a tab
// frame with its own row of five tab buttons, keeps the navigation bar's title and right-hand
// button in step with the section shown, and receives the app-wide notifications that change
// what is on screen. On load it restores the downloads, checks the version and refreshes the
// account of a logged-in user.

#include "HTTP/GetArrayDelegate.h"
#include "HTTP/QLHttpRequest.h"
#include "kit/UNavController.h"
#include "platform/HttpTransport.h"
#include "platform/NotificationCenter.h"

#include <QPointer>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QLabel;

namespace qlgui {

class PictureButton;
class StackedPanels;
class TabFrame;

class QLMainVC : public UNavController, public ql::GetArrayDelegate {
    Q_OBJECT
public:
    explicit QLMainVC(QWidget* parent = nullptr);
    ~QLMainVC() override;

    // Tab button actions.
    void first();
    void publicCourses();  // the "public:" action
    void market();
    void course();
    void setting();
    // A touch on the tab bar between the buttons.
    void tabBarSelected(int index);

    // Right-hand buttons.
    void Download_for_offline();
    void ClassSearch();
    void Btn_Setting();

    // Darkening while the offline news download runs.
    void bedark();
    void belight();

    // The automatic version check.
    void updatetest();

    int selectedSection() const;
    int selectedButton() const;
    const std::vector<std::string>& subscribedColumns() const { return columns_; }
    const std::vector<std::string>& otherColumns() const { return otherColumns_; }

    // Hooks for the screens that later work adds: the offline news run, the course search and
    // the settings screen, and the mall's panels.
    std::function<void()> startOfflineDownload;
    std::function<Screen*()> makeSearchScreen;
    std::function<Screen*()> makeSettingsScreen;
    // The mall's level-2 and level-3 panels: made by the mall once (an empty panel until then),
    // then reconfigured through the panel's properties "nextTable"/"CategoryId" (level 2, which
    // re-reads its rows in `researchSecondPanel`) and "CategoryId"/"C_or_P_id" (level 3).
    std::function<QWidget*()> makeSecondPanel;
    std::function<QWidget*()> makeThirdPanel;
    std::function<void(QWidget* panel)> researchSecondPanel;
    StackedPanels* mallPanels() const { return panels_; }
    QWidget* secondPanel() const { return secondPanel_; }
    QWidget* thirdPanel() const { return thirdPanel_; }

    // The mall's level-1 tag "2_nd_<15-character table>_<category id>": table and category id,
    // or nothing when the tag is too short or not a level-2 tag.
    struct PanelTag {
        std::string prefix, table, categoryId;
    };
    static std::optional<PanelTag> splitPanelTag(const std::string& tag);

    // ql::GetArrayDelegate: only the account answer matters here.
    void getArrayUserInfo(const ql::RecordList& items) override;
    void getDidFailWithError(const std::optional<ql::HttpError>& error) override;

private:
    void select(int section, const QString& title, QWidget* rightItem);
    void markButton(int index);
    void presentLogin();
    void payDone();
    void PlayDone(const ql::Notification& n);
    void Push_left_fun(const ql::Notification& n);
    void Push_left_3nd_fun(const ql::Notification& n);
    void resizeEvent(QResizeEvent* event) override;

    TabFrame* tabs_ = nullptr;
    QLabel* background_ = nullptr;
    std::array<PictureButton*, 5> buttons_{};
    PictureButton* downloadButton_ = nullptr;
    PictureButton* searchButton_ = nullptr;
    PictureButton* settingsButton_ = nullptr;
    QWidget* mask_ = nullptr;
    StackedPanels* panels_ = nullptr;
    QPointer<QWidget> secondPanel_, thirdPanel_;
    std::vector<std::string> columns_, otherColumns_;
    std::shared_ptr<ql::QLHttpRequest> accountRequest_;
    ql::HttpCallPtr versionCall_;
    std::vector<ql::ObserverToken> observers_;
};

}  // namespace qlgui
