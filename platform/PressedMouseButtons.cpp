#include "PressedMouseButtons.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace platform {
namespace {

std::optional<Qt::MouseButtons> FromX11() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->connection()) return std::nullopt;
  xcb_connection_t* connection = x11->connection();
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
      xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr), &std::free);
  if (!reply) return std::nullopt;
  Qt::MouseButtons buttons;
  if (reply->mask & XCB_BUTTON_MASK_1) buttons |= Qt::LeftButton;
  if (reply->mask & XCB_BUTTON_MASK_2) buttons |= Qt::MiddleButton;
  if (reply->mask & XCB_BUTTON_MASK_3) buttons |= Qt::RightButton;
  return buttons;
}

}  // namespace

Qt::MouseButtons PressedMouseButtons() {
  if (std::optional<Qt::MouseButtons> buttons = FromX11()) return *buttons;
  return QGuiApplication::mouseButtons();
}

}  // namespace platform
