// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <set>
#include <stdexcept>
#include <string>

namespace runtime {

class Dialogs;

// A mistake in the game's own logic, such as fetching a sprite-array member that does not
// exist. It is raised instead of touching memory that is not there; the window catches it,
// reports it and carries on.
class ProgrammingError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Runs the game's procedures for a window and reports a programming error in one of them in a
// box; the game goes on. Each distinct failure is reported once: one that recurs at every tick
// of a 1 ms timer would otherwise put up a new box after every OK, for ever. The clock has
// stopped the timer whose tick failed, so the player can still stop, restart or quit.
class FailureReport {
public:
    explicit FailureReport(Dialogs& dialogs) : dialogs_(dialogs) {}

    void run(const std::function<void()>& procedure);

private:
    Dialogs& dialogs_;
    std::set<std::string> reported_;
};

} // namespace runtime
