#pragma once

namespace qlx {

// What a window-level key press or wheel turn does. The main window sees keys
// before its controls; only these inputs are taken, and only on the impedance
// page under the conditions below.
enum class WindowAction { None, LevelUp, LevelDown, CursorDown, CursorUp };

enum class WindowKey { Other, PageUp, PageDown, F11, F12 };

struct WindowKeyContext {
    bool impedancePageShown = false;
    bool levelScrollBarVisible = false;
    bool cursorOn = false;
};

// Page Up/Down move the level (position - / + step) while the level scroll bar
// is visible; F11/F12 move the cursor one step down/up while it is on.
WindowAction KeyAction(WindowKey key, const WindowKeyContext& ctx);

// Wheel up raises the level (position - step), wheel down lowers it, while
// the level scroll bar is visible on the impedance page.
WindowAction WheelAction(int angleDelta, const WindowKeyContext& ctx);

// Turns wheel deltas into whole notches of 120, one level step each. A
// smooth-scrolling device reports a notch in smaller parts, which add up; a
// fast turn may report several notches at once.
class WheelNotches {
public:
    // Signed notches completed by this delta, positive for wheel up.
    int Add(int angleDelta);

private:
    int rest_ = 0;
};

}  // namespace qlx
