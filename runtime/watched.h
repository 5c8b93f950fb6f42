// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

namespace runtime {

// Every change to the game's state moves this count on, wherever it is made: a sprite moved, a
// banner shown, a timer switched, a menu greyed, a number drawn, a box shown. While it stands
// still nothing has changed, so the clock lets timers whose last tick changed nothing sleep,
// and the window redraws nothing. One count for the thread the game runs on: a change made
// to another game of the same thread only wakes things up for nothing.
inline thread_local std::uint64_t changeCount = 0;

inline std::uint64_t changes()
{
    return changeCount;
}

inline void noteChange()
{
    ++changeCount;
}

// A value of the game's state that counts its changes: storing a different value is a change,
// storing the same one is not. It reads like the value itself.
template <typename T> class Watched {
public:
    Watched() = default;
    template <typename U>
    requires(!std::is_same_v<std::remove_cvref_t<U>, Watched>) Watched(U&& value)
        : value_(std::forward<U>(value))
    {
    }
    Watched(const Watched&) = default;
    Watched& operator=(const Watched& other) { return *this = other.value_; }

    template <typename U>
    requires(!std::is_same_v<std::remove_cvref_t<U>, Watched>) Watched& operator=(U&& value)
    {
        T changed(std::forward<U>(value));
        if (!(value_ == changed)) {
            value_ = std::move(changed);
            noteChange();
        }
        return *this;
    }
    template <typename U> Watched& operator+=(const U& step) { return *this = static_cast<T>(value_ + step); }
    template <typename U> Watched& operator-=(const U& step) { return *this = static_cast<T>(value_ - step); }

    operator const T&() const { return value_; }
    const T& get() const { return value_; }
    const T* operator->() const { return &value_; }

    template <typename U> friend bool operator==(const Watched& a, const U& b)
    {
        if constexpr (std::is_same_v<U, Watched>)
            return a.value_ == b.value_;
        else
            return a.value_ == b;
    }

private:
    T value_{};
};

} // namespace runtime
