#include "ui/mouse_events.h"

namespace vorla {

ShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                       bool doubleClick) {
    ShiftState s = 0;
    if (modifiers & Qt::ShiftModifier) s |= shift::Shift;
    if (modifiers & Qt::ControlModifier) s |= shift::Ctrl;
    if (modifiers & Qt::AltModifier) s |= shift::Alt;
    if (buttons & Qt::LeftButton) s |= shift::Left;
    if (buttons & Qt::RightButton) s |= shift::Right;
    if (buttons & Qt::MiddleButton) s |= shift::Middle;
    if (doubleClick) s |= shift::Double;
    return s;
}

bool ButtonFromQt(Qt::MouseButton button, MouseButton& out) {
    switch (button) {
        case Qt::LeftButton:
            out = MouseButton::Left;
            return true;
        case Qt::RightButton:
            out = MouseButton::Right;
            return true;
        case Qt::MiddleButton:
            out = MouseButton::Middle;
            return true;
        default:
            return false;
    }
}

}  // namespace vorla
