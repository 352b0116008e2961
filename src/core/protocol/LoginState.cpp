#include "protocol/LoginState.h"

#include "platform/Preferences.h"

namespace ql::LoginState {

bool isLoggedIn() { return Preferences::standard().contains("userid"); }

void reset() {
    Preferences& prefs = Preferences::standard();
    for (const char* key : {"userid", "username", "True_userid", "Userpoint", "UserFace", "myFav", "myCart"})
        prefs.removeObject(key);
    prefs.synchronize();
}

}  // namespace ql::LoginState
