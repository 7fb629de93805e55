// IsLateShowEvent: whether a native event that reaches a window the
// program has already hidden would still map or activate it in Qt's eyes.
//
// On X the program may hide a window before the window manager has mapped
// it: a dialog closed within milliseconds of opening, by the program or by
// an Enter the operator typed ahead. The map then arrives after the hide.
// Qt takes the hidden window for mapped and sends the activation it held
// back for it until the map; it hears its own request and takes the hidden
// window for the one with the keyboard, while the window manager has given
// the keyboard to another window of the program and sends no further focus
// event: the keyboard would be in no window of the program. A hidden
// window drops these events (FormWindow::nativeEvent); they are never the
// operator's, and a window the program shows again is mapped anew.
//
// Returns true for a native event of Qt's type `event_type` that is an X
// window's MapNotify or a _NET_ACTIVE_WINDOW request for it; false for
// every other event and on every other window system.
#ifndef QZ_QT_LATE_WINDOW_EVENTS_H_
#define QZ_QT_LATE_WINDOW_EVENTS_H_

#include <QByteArray>

namespace qz::qt {

bool IsLateShowEvent(const QByteArray& event_type, const void* message);

}  // namespace qz::qt

#endif  // QZ_QT_LATE_WINDOW_EVENTS_H_
