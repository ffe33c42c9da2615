// The one way the core reports a failure: a Status (done, or the message of a failure) or a
// Result<T> (a value, or the message of a failure). Both must be looked at by the caller.
#pragma once

#include <exception>
#include <new>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace vorla {

// The message a failed allocation gives, wherever it happens.
inline constexpr const char* kOutOfMemory = "Out of memory";

// A failure on its way into a Status or a Result: `return Failure{"message"};`.
struct Failure {
    std::string message;
};

// Done, or failed with a message. A default-constructed Status is done: `return {};`.
class [[nodiscard]] Status {
  public:
    // Done.
    Status() = default;
    // Failed with the failure's message.
    Status(Failure f) : failed_(true), message_(std::move(f.message)) {}

    // True when the operation was done.
    bool Ok() const { return !failed_; }
    explicit operator bool() const { return Ok(); }
    // The message of the failure; empty when done.
    const std::string& Message() const { return message_; }

  private:
    bool failed_ = false;
    std::string message_;
};

// A value, or the message of a failure: `return value;` or `return Failure{"message"};`.
template <class T>
class [[nodiscard]] Result {
  public:
    // The value.
    Result(T value) : value_(std::move(value)) {}
    // No value: failed with the failure's message.
    Result(Failure f) : message_(std::move(f.message)) {}

    // True when there is a value.
    bool Ok() const { return value_.has_value(); }
    explicit operator bool() const { return Ok(); }
    // The value and its members; only when Ok().
    const T& Value() const { return *value_; }
    const T* operator->() const { return &*value_; }
    // The value, or `fallback` after a failure.
    T ValueOr(T fallback) const { return value_ ? *value_ : std::move(fallback); }
    // The message of the failure; empty when there is a value.
    const std::string& Message() const { return message_; }
    // Done, or the same failure.
    Status ToStatus() const { return Ok() ? Status() : Status(Failure{message_}); }

  private:
    std::optional<T> value_;
    std::string message_;
};

// Runs fn (which gives nothing or a Status) and gives its Status. The one place where an
// exception of the standard library becomes a failure: a failed allocation gives
// kOutOfMemory, any other exception its own text.
template <class Fn>
Status Guarded(Fn&& fn) {
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Fn&>>) {
            fn();
            return {};
        } else {
            return fn();
        }
    } catch (const std::bad_alloc&) {
        return Failure{kOutOfMemory};
    } catch (const std::exception& e) {
        return Failure{e.what()};
    }
}

}  // namespace vorla
