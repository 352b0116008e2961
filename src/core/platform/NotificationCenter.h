#pragma once
// Named notifications delivered synchronously, on the posting thread, to every observer that
// matches the name (and the object, when the observer asked for one).

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ql {

struct Notification {
    std::string name;
    const void* object = nullptr;   // the sender, or what the poster names; compared by identity
    std::string objectText;         // for notifications whose object is a text ("0", "1", a tag)
    nlohmann::json userInfo;
};

// Keeps a registration alive; destroying (or resetting) it unsubscribes.
class ObserverToken {
public:
    ObserverToken() = default;
    explicit ObserverToken(std::shared_ptr<void> registration) : registration_(std::move(registration)) {}
    void reset() { registration_.reset(); }
    explicit operator bool() const { return registration_ != nullptr; }

private:
    std::shared_ptr<void> registration_;
};

class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // object == nullptr observes every sender.
    [[nodiscard]] ObserverToken addObserver(std::string name, Handler handler, const void* object = nullptr);
    void post(const Notification& notification);
    void post(const std::string& name, const void* object = nullptr, nlohmann::json userInfo = {});

private:
    struct Registration {
        std::string name;
        const void* object;
        Handler handler;
    };
    std::mutex mutex_;
    std::vector<std::weak_ptr<Registration>> registrations_;
};

}  // namespace ql
