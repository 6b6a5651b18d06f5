#pragma once

#include <QEvent>

namespace trv {

// The events by which the user acts on a window: presses, keys, shortcuts, the wheel, the context
// menu, drops and touches. Those who wait for the user or turn the user away watch the same list.
inline bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
        return true;
    default:
        return false;
    }
}

} // namespace trv
