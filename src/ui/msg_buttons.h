#pragma once

#include <cstdint>
#include <initializer_list>

#include <QString>

namespace qlx {

// Buttons of a message box, in the order they are shown.
enum class MsgBtn : int { Yes, No, OK, Cancel, Abort, Retry, Ignore, All, NoToAll, YesToAll, Help };
constexpr int kMsgBtnCount = 11;

// A set of message-box buttons.
class MsgButtons {
public:
    constexpr MsgButtons() = default;
    constexpr MsgButtons(std::initializer_list<MsgBtn> buttons)
    {
        for (MsgBtn b : buttons)
            bits_ |= Bit(b);
    }
    constexpr bool Has(MsgBtn b) const { return (bits_ & Bit(b)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr bool OnlyHelp() const { return bits_ == Bit(MsgBtn::Help); }
    constexpr bool operator==(const MsgButtons&) const = default;

private:
    static constexpr std::uint16_t Bit(MsgBtn b) { return static_cast<std::uint16_t>(1u << static_cast<int>(b)); }
    std::uint16_t bits_ = 0;
};

// Object name of a button in the shown box ("Yes", "No", "OK", ...).
QString MsgBtnName(MsgBtn b);
// Caption shown on the button.
QString MsgBtnCaption(MsgBtn b);
// Modal result of pressing the button (qlx::ModalResult; Help gives none and
// does not close the box).
int MsgBtnResult(MsgBtn b);

}  // namespace qlx
