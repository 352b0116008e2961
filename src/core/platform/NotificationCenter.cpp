#include "platform/NotificationCenter.h"

#include <algorithm>

namespace ql {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

ObserverToken NotificationCenter::addObserver(std::string name, Handler handler, const void* object) {
    auto reg = std::make_shared<Registration>(Registration{std::move(name), object, std::move(handler)});
    std::lock_guard lock(mutex_);
    std::erase_if(registrations_, [](const auto& w) { return w.expired(); });
    registrations_.push_back(reg);
    return ObserverToken(reg);
}

void NotificationCenter::post(const Notification& n) {
    // Collect strong references first so that observers may add or remove registrations (or
    // destroy themselves) while being notified.
    std::vector<std::shared_ptr<Registration>> targets;
    {
        std::lock_guard lock(mutex_);
        for (const auto& w : registrations_) {
            if (auto reg = w.lock(); reg && reg->name == n.name && (!reg->object || reg->object == n.object))
                targets.push_back(std::move(reg));
        }
    }
    for (const auto& reg : targets) {
        // Skip an observer unsubscribed by an earlier one during this post.
        bool alive;
        {
            std::lock_guard lock(mutex_);
            alive = reg.use_count() > 1;
        }
        if (alive) reg->handler(n);
    }
}

void NotificationCenter::post(const std::string& name, const void* object, nlohmann::json userInfo) {
    post(Notification{name, object, {}, std::move(userInfo)});
}

}  // namespace ql
