#pragma once

#include <cassert>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <variant>

namespace qlx {

// How an instrument step or a whole instrument operation ended.
//   Done       it did what it was asked
//   Cancelled  the user stopped it (nothing is shown for a cancel)
//   Failed     the line, the instrument or a file failed; the user was told
//   Busy       another operation holds the instrument; nothing was touched
enum class Outcome : std::uint8_t { Done, Cancelled, Failed, Busy };

// The one way every instrument step and operation reports: how it ended and,
// when done, what it produced. Built implicitly from an Outcome (for every
// end but Done) or from the value, so that steps propagate with
//     if (auto r = session.StatusCheck(); !r) return r.outcome();
template <typename T = std::monostate>
class [[nodiscard]] OpResult {
public:
    OpResult(Outcome outcome) : outcome_(outcome)
    {
        // A finished operation that produces something must say what.
        assert((outcome != Outcome::Done || std::is_same_v<T, std::monostate>));
    }
    OpResult(T value) : outcome_(Outcome::Done), value_(std::move(value)) {}

    Outcome outcome() const { return outcome_; }
    bool done() const { return outcome_ == Outcome::Done; }
    explicit operator bool() const { return done(); }

    // What a finished operation produced; only valid when done().
    const T& value() const&
    {
        assert(done());
        return value_;
    }
    T&& value() &&
    {
        assert(done());
        return std::move(value_);
    }

private:
    Outcome outcome_;
    T value_{};
};

// A step that produces nothing but its outcome.
using StepResult = OpResult<>;

}  // namespace qlx
