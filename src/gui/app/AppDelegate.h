#pragma once
// The application delegate: prepares the shared services once, builds the window with the one
// navigation stack whose root is the main frame, rebuilds that frame after a registration, and
// hands URLs opened by other apps (the payment result) to the payment handling.

#include "platform/NotificationCenter.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace qlgui {

class NavigationStack;
class PhoneWindow;
class QLMainVC;

class AppDelegate : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(PhoneWindow* window, QObject* parent = nullptr);
    ~AppDelegate() override;

    static AppDelegate* shared();

    bool didFinishLaunching();
    // Always reports the URL as handled.
    bool handleOpenURL(const QString& url);
    void registerSuccessful();
    // Clears both play-record lists, in the database and in memory.
    static void clearDbDataSource();

    PhoneWindow* window() const { return window_; }
    NavigationStack* navigationController() const;
    QLMainVC* mainVC() const;

    QString alertMsg;
    // Filled by the payment work: receives every URL opened in the app.
    std::function<void(const QString&)> paymentResultHandler;

private:
    void buildMainFrame();

    PhoneWindow* window_;
    QPointer<NavigationStack> navigationController_;
    QPointer<QLMainVC> mainVC_;
    ql::ObserverToken registerObserver_;
};

}  // namespace qlgui
