#pragma once
// One owner template for every operating-system resource the program opens. Each kind of
// resource names its empty value and its release call in a small traits struct, so an owner
// can never close a handle with the wrong function or mistake the empty value for a live one.

#include <utility>

namespace winapi {

template <typename Traits>
class UniqueResource {
public:
    using Pointer = typename Traits::Pointer;

    UniqueResource() = default;
    explicit UniqueResource(Pointer value) : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    [[nodiscard]] Pointer get() const { return value_; }
    [[nodiscard]] bool is_valid() const { return value_ != Traits::Empty(); }
    explicit operator bool() const { return is_valid(); }

    [[nodiscard]] Pointer release() { return std::exchange(value_, Traits::Empty()); }
    void reset(Pointer value = Traits::Empty())
    {
        Pointer old = std::exchange(value_, value);
        if (old != Traits::Empty()) {
            Traits::Close(old);
        }
    }

private:
    Pointer value_ = Traits::Empty();
};

}  // namespace winapi
