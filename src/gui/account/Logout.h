#pragma once
// Logging out from the settings: every download pauses, the login state goes, the download list
// empties, and the login screen comes up over the screen that asked.

namespace qlgui {

class Screen;

void logout(Screen* over);

}  // namespace qlgui
