#include "ServerKeyboardFocus.h"

#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace {

#if QT_CONFIG(xcb)
// The focus window or one of its ancestors is `top` (windows nest at most a
// few levels deep; the walk stops at the root).
bool FocusIsWithin(xcb_connection_t* connection, xcb_window_t focus, xcb_window_t top) {
  for (int depth = 0; depth < 16 && focus != XCB_NONE; ++depth) {
    if (focus == top) return true;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, focus), nullptr);
    if (!tree) return false;
    xcb_window_t parent = tree->parent;
    bool atRoot = parent == tree->root || parent == XCB_NONE;
    std::free(tree);
    if (atRoot) return false;
    focus = parent;
  }
  return false;
}
#endif

}  // namespace

std::optional<bool> ServerKeyboardFocus::IsIn(const QWidget& widget) {
#if QT_CONFIG(xcb)
  // Only the X11 platform asks the server (the offscreen one answers for
  // X11 too, without a connection).
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return std::nullopt;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  const QWidget* top = widget.window();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection || !top->testAttribute(Qt::WA_WState_Created)) return std::nullopt;
  xcb_get_input_focus_reply_t* reply =
      xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
  if (!reply) return std::nullopt;
  xcb_window_t focus = reply->focus;
  std::free(reply);
  return FocusIsWithin(connection, focus, static_cast<xcb_window_t>(top->winId()));
#else
  (void)widget;
  return std::nullopt;
#endif
}
