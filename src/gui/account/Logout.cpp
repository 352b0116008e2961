#include "account/Logout.h"

#include "account/Account.h"
#include "account/ViewController.h"
#include "kit/NavigationStack.h"
#include "kit/Screen.h"

namespace qlgui {

void logout(Screen* over) {
    ql::Account::logout();
    if (over && over->navigationStack()) over->navigationStack()->present(new ViewController(), true);
}

}  // namespace qlgui
