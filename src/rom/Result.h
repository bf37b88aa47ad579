// A value or the reason, in words, why there is none: what the image readers return, so that a
// damaged image gives a message instead of an exception or a crash.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace rom {

struct Failure {
    std::string Reason;
};

template <typename T> class Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure) : reason_(std::move(failure.Reason)) {}

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const { return *value_; }
    T& operator*() { return *value_; }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    // Why there is no value; empty when there is one.
    const std::string& Reason() const { return reason_; }

private:
    std::optional<T> value_;
    std::string reason_;
};

// Success, or the reason a step could not be taken.
struct Status {
    std::string Reason; // empty on success
    bool Ok() const { return Reason.empty(); }
};

} // namespace rom
