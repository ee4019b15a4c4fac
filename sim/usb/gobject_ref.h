// Owning reference to a GObject (umockdev objects are GObjects).
#pragma once

#include <glib-object.h>

#include <utility>

namespace ksim {

template <typename T>
class GObjectRef {
public:
    GObjectRef() = default;
    // Takes over a reference the caller owns (a *_new() result, a transfer-full return).
    static GObjectRef adopt(T *object) { return GObjectRef(object); }
    // Adds a reference of its own.
    static GObjectRef share(T *object) { return GObjectRef(object ? static_cast<T *>(g_object_ref(object)) : nullptr); }

    ~GObjectRef() { reset(); }
    GObjectRef(GObjectRef &&other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GObjectRef &operator=(GObjectRef &&other) noexcept
    {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    GObjectRef(const GObjectRef &) = delete;
    GObjectRef &operator=(const GObjectRef &) = delete;

    T *get() const { return object_; }
    T *operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    void reset()
    {
        if (object_) g_object_unref(object_);
        object_ = nullptr;
    }

private:
    explicit GObjectRef(T *object) : object_(object) {}
    T *object_ = nullptr;
};

}  // namespace ksim
