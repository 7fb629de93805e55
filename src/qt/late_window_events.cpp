#include "qt/late_window_events.h"

#include <QGuiApplication>

#if defined(QZ_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace qz::qt {

#if defined(QZ_HAVE_XCB) && QT_CONFIG(xcb)

namespace {

// The atom _NET_ACTIVE_WINDOW on the application's X connection, asked once;
// XCB_ATOM_NONE when it cannot be had.
xcb_atom_t ActiveWindowAtom() {
  static const xcb_atom_t atom = [] {
    const auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return xcb_atom_t{XCB_ATOM_NONE};
    static constexpr char kName[] = "_NET_ACTIVE_WINDOW";
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(kName), kName), nullptr);
    const xcb_atom_t found = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return found;
  }();
  return atom;
}

}  // namespace

bool IsLateShowEvent(const QByteArray& event_type, const void* message) {
  if (event_type != "xcb_generic_event_t" || message == nullptr) return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  // The high bit marks an event another client sent.
  switch (event->response_type & 0x7f) {
    case XCB_MAP_NOTIFY:
      return true;
    case XCB_CLIENT_MESSAGE: {
      const auto* m = static_cast<const xcb_client_message_event_t*>(message);
      const xcb_atom_t active = ActiveWindowAtom();
      return active != XCB_ATOM_NONE && m->type == active;
    }
    default:
      return false;
  }
}

#else

bool IsLateShowEvent(const QByteArray&, const void*) { return false; }

#endif

}  // namespace qz::qt
