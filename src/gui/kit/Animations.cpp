#include "kit/Animations.h"

#include <atomic>

namespace qlgui {

namespace {
std::atomic<bool> g_enabled{true};
}

bool Animations::enabled() { return g_enabled.load(); }
void Animations::setEnabled(bool on) { g_enabled.store(on); }

}  // namespace qlgui
