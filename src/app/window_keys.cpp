#include "app/window_keys.h"

namespace qlx {

WindowAction KeyAction(WindowKey key, const WindowKeyContext& ctx)
{
    if (!ctx.impedancePageShown)
        return WindowAction::None;
    if (ctx.levelScrollBarVisible) {
        if (key == WindowKey::PageUp)
            return WindowAction::LevelUp;
        if (key == WindowKey::PageDown)
            return WindowAction::LevelDown;
    }
    if (ctx.cursorOn) {
        if (key == WindowKey::F11)
            return WindowAction::CursorDown;
        if (key == WindowKey::F12)
            return WindowAction::CursorUp;
    }
    return WindowAction::None;
}

WindowAction WheelAction(int angleDelta, const WindowKeyContext& ctx)
{
    if (!ctx.impedancePageShown || !ctx.levelScrollBarVisible || angleDelta == 0)
        return WindowAction::None;
    return angleDelta > 0 ? WindowAction::LevelUp : WindowAction::LevelDown;
}

int WheelNotches::Add(int angleDelta)
{
    constexpr int kNotch = 120;
    rest_ += angleDelta;
    const int notches = rest_ / kNotch;
    rest_ -= notches * kNotch;
    return notches;
}

}  // namespace qlx
