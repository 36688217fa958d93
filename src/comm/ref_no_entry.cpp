#include "comm/ref_no_entry.h"

#include <charconv>

namespace qlx {

int RefNoAfterEdit(const std::string& text, int position)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, err] = std::from_chars(text.data(), end, value);
    if (err != std::errc() || stop != end)
        value = 0;
    return value >= kRefNoMin && value <= kRefNoMax ? value : position;
}

}  // namespace qlx
