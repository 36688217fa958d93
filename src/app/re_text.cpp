#include "app/re_text.h"

#include <charconv>
#include <cmath>

namespace qlx {

ReEntry ParseReText(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    const std::string t = text.substr(first, last - first + 1);

    const ReEntry invalid{ReEntry::Kind::kInvalid, 0};
    int dots = 0, digits = 0;
    for (char c : t) {
        if (c == '.')
            ++dots;
        else if (c >= '0' && c <= '9')
            ++digits;
        else
            return invalid;
    }
    if (dots > 1 || digits == 0)
        return invalid;
    double ohm = 0;
    // from_chars wants a digit before the point.
    const std::string number = t.front() == '.' ? "0" + t : t;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), ohm);
    if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(ohm) || ohm <= 0 ||
        ohm >= kMaxReOhm)
        return invalid;
    return {ReEntry::Kind::kValue, ohm};
}

std::string ReText(double ohm)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, ohm);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

}  // namespace qlx
