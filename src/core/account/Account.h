#pragma once
// Login, registration and logout without a window: what the login and registration screens send,
// how their answers change the login state, and which alert they show. The screens only lay out
// the fields, forward taps and present the alert.

#include "platform/HttpTransport.h"

#include <optional>
#include <string>

namespace ql {

// An alert with an empty title and one button.
struct AccountAlert {
    std::string message;
    std::string button = "确定";
    bool operator==(const AccountAlert&) const = default;
};

struct RegistrationForm {
    std::string username, password, useremail, repassword;
};

class Account {
public:
    // Empty account or password: the alert to show, and nothing is sent.
    static std::optional<AccountAlert> checkLoginFields(const std::string& account, const std::string& password);
    // Stores what was typed ("userid" ← account, "username" ← password), flushes, and gives the
    // login address (encipher-then-escape) built from the stored values.
    static std::string prepareLogin(const std::string& account, const std::string& password);

    enum class LoginResult { LoggedIn, Rejected, Ignored };
    struct LoginOutcome {
        LoginResult result = LoginResult::Ignored;
        std::optional<AccountAlert> alert;
    };
    // Applies a login answer: the typed values are stored again; success stores "True_userid"
    // and restores the user's download list; -1 and -2 reset the login state.
    static LoginOutcome applyLoginAnswer(std::string_view body, const std::string& account, const std::string& password);

    // Stores the four registration fields and gives the registration address.
    static std::string prepareRegistration(const RegistrationForm& form);
    struct RegistrationOutcome {
        bool registered = false;
        std::optional<AccountAlert> alert;
    };
    static RegistrationOutcome applyRegistrationAnswer(std::string_view body);

    // The alert of a login or registration request that failed on the network.
    static AccountAlert networkFailureAlert() { return {"请检查网络是否正常 没有找到可用的网络!"}; }
    // The alert of a login screen opened without any network.
    static AccountAlert noNetworkAlert() { return {"请检查网络是否正常,没有找到可用的网络。", "OK"}; }

    // Rebuilds the shared download queue for the logged-in user and starts what was downloading.
    static void restoreDownloads();
    // Pauses every download, resets the login state and empties the download queue.
    static void logout();

    // The request options of the login and registration requests (no response cache).
    static HttpRequestSpec requestFor(const std::string& url);
};

}  // namespace ql
