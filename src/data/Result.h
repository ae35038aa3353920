#pragma once
#include <optional>
#include <string>
#include <utility>

namespace cxb {

// A value or the reason there is none. Readers return this instead of a
// half-built object.
template <typename T>
class Result {
public:
    Result(T value) : value_(std::move(value)) {}
    static Result failure(std::string why) { Result r; r.error_ = std::move(why); return r; }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    T& value() { return *value_; }
    const T& value() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    T& operator*() { return *value_; }
    const std::string& error() const { return error_; }

private:
    Result() = default;
    std::optional<T> value_;
    std::string error_;
};

} // namespace cxb
