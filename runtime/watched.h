// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

namespace runtime {

// The change count of one game: every change to its state moves it on, wherever it is made (a
// sprite moved, a banner shown, a timer switched, a menu greyed, a number drawn, a box shown).
// While it stands still nothing has changed, so the clock lets timers whose last tick changed
// nothing sleep, and the window redraws nothing. Each game has its own, so that a change to
// one game never wakes another.
class ChangeCount {
public:
    ChangeCount() = default;
    ChangeCount(const ChangeCount&) = delete;
    ChangeCount& operator=(const ChangeCount&) = delete;

    void note() { ++count_; }
    std::uint64_t value() const { return count_; }

private:
    std::uint64_t count_ = 0;
};

// A value of a game's state that tells that game's count of its changes: storing a different
// value is a change, storing the same one is not. It reads like the value itself. A copy tells
// the same count.
template <typename T> class Watched {
public:
    explicit Watched(ChangeCount& changes, T value = T{}) : changes_(&changes), value_(std::move(value)) {}
    Watched(const Watched&) = default;
    Watched& operator=(const Watched& other) { return *this = other.value_; }

    template <typename U>
    requires(!std::is_same_v<std::remove_cvref_t<U>, Watched>) Watched& operator=(U&& value)
    {
        T changed(std::forward<U>(value));
        if (!(value_ == changed)) {
            value_ = std::move(changed);
            changes_->note();
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
    ChangeCount* changes_;
    T value_;
};

} // namespace runtime
