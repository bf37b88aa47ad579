// The error a call fails with when a number does not fit the narrower field it goes into (a mouse
// pointer number, a mouse button or key code): the value never wraps around silently.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace platform {

class OverflowError : public std::overflow_error {
public:
    explicit OverflowError(const std::string& what) : std::overflow_error(what) {}
};

// Converts value to the narrower type To, or throws OverflowError naming the field.
template <typename To, typename From> To NarrowChecked(From value, const char* field) {
    if (!std::in_range<To>(value)) {
        throw OverflowError(std::string("Overflow: ") + field + " = " + std::to_string(value) +
                            " is out of range");
    }
    return static_cast<To>(value);
}

} // namespace platform
