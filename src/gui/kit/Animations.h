#pragma once
// One switch for every transition of the kit. Tests turn it off so that pushes, pops,
// presentations and sheets finish at once and in order.

namespace qlgui {

class Animations {
public:
    static bool enabled();
    static void setEnabled(bool on);

    // Standard length of a transition, in milliseconds.
    static constexpr int kTransitionMs = 300;
};

}  // namespace qlgui
