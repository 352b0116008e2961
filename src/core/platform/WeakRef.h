#pragma once
// Non-owning references that turn empty when their target is destroyed. Delegates derive from
// Trackable; whoever calls them back holds a WeakRef, so no callback reaches an object that is gone.

#include <memory>

namespace ql {

class Trackable {
public:
    Trackable() = default;
    // A copy is a new object with a life of its own.
    Trackable(const Trackable&) : Trackable() {}
    Trackable& operator=(const Trackable&) { return *this; }
    std::weak_ptr<const void> lifeToken() const { return life_; }

private:
    std::shared_ptr<const void> life_ = std::make_shared<char>();
};

template <typename T>
class WeakRef {
public:
    WeakRef() = default;
    WeakRef(T* target) : ptr_(target) {
        if (target) life_ = target->lifeToken();
    }
    // The target, or nullptr once it has been destroyed. Main-thread use only.
    T* get() const { return life_.expired() ? nullptr : ptr_; }

private:
    T* ptr_ = nullptr;
    std::weak_ptr<const void> life_;
};

}  // namespace ql
