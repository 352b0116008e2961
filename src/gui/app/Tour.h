#pragma once
// Renders the main screens and states to PNG files, one per screen or state, named after the
// screen class and the state (QLMainVC-tab0, ViewController, …, each a PNG file). For machines
// without a display, and for reviewing the screens side by side.

#include <QString>

namespace qlgui::Tour {

// Returns the process exit status.
int run(const QString& dir);

}  // namespace qlgui::Tour
