#pragma once
// Login state lives in the preferences: logged in means "userid" is present.

namespace ql::LoginState {

bool isLoggedIn();
// Ends a login (logout, a rejected login, a screen that finds no user): removes the account keys,
// the favourites and the cart, and flushes. The WiFi setting and the play-mode flag stay.
void reset();

}  // namespace ql::LoginState
