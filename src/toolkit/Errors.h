// The toolkit's error classes that our controls raise. what() is the message
// the user sees in the application's error box, word for word.
#pragma once

#include <stdexcept>
#include <string>

// A value outside the range an operation accepts.
class ERangeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An operation that the control's current state does not allow.
class EInvalidOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
