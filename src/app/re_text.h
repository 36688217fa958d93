#pragma once

#include <optional>
#include <string>

namespace qlx {

// The Re field's text: empty, a resistance in ohm, or something that is not
// one (a lone ".", "0", an over-long number).
struct ReEntry {
    enum class Kind { kEmpty, kValue, kInvalid };
    Kind kind = Kind::kEmpty;
    double ohm = 0;

    std::optional<double> Value() const { return kind == Kind::kValue ? std::optional<double>(ohm) : std::nullopt; }
};

// Largest Re the field takes; the instrument's scale ends far below it.
constexpr double kMaxReOhm = 1000;

// Digits with at most one "." (blanks around are ignored), more than 0 and
// below kMaxReOhm. Read without the locale: "," is never a decimal point.
ReEntry ParseReText(const std::string& text);

// The shortest text that reads back as the same number ("6.4", "12").
std::string ReText(double ohm);

}  // namespace qlx
