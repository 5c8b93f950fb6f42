#pragma once

#include <stdexcept>

namespace runtime {

// A mistake in the game's own logic, such as fetching a sprite-array member that does not
// exist. It is raised instead of touching memory that is not there; the window catches it,
// reports it and carries on.
class ProgrammingError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

} // namespace runtime
