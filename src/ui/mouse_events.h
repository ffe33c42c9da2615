// Qt's report of a mouse event in the terms of the mouse tools.
#pragma once

#include <QtCore/qnamespace.h>

#include "app/mouse_tools.h"

namespace vorla {

// Converts Qt's report of an event; false from ButtonFromQt for buttons the tools ignore.
ShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool doubleClick);
bool ButtonFromQt(Qt::MouseButton button, MouseButton& out);

}  // namespace vorla
