#include "QuickTile.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>

#include "ModalSeam.h"
#include "ProfileFile.h"
#include "Strings.h"
#include "UiText.h"

namespace {

constexpr const char* kRegisterQuestion = "クイックタイルに現在の\n窓の配置を登録しますか？";

QSize PrimaryScreenSize() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(1024, 768);
}

// The window manager's frame around the window's contents.
QMargins FrameMargins(const QWidget& window) {
  QRect outer = window.frameGeometry();
  QRect inner = window.geometry();
  return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                  outer.bottom() - inner.bottom());
}

}  // namespace

QRect QuickTile::Stored(const ProfileFile& profile, QSize screenSize) {
  int width = profile.GetProfileInt("Size", "TileSizeX", 640);
  int height = profile.GetProfileInt("Size", "TileSizeY", 480);
  int x = profile.GetProfileInt("Position", "TilePosX", (screenSize.width() - width) / 2);
  int y = profile.GetProfileInt("Position", "TilePosY", (screenSize.height() - height) / 2);
  return QRect(x, y, width, height);
}

void QuickTile::Recall(QWidget& window, const ProfileFile& profile) {
  window.showNormal();
  window.setGeometry(Stored(profile, PrimaryScreenSize()).marginsRemoved(FrameMargins(window)));
}

void QuickTile::Register(QWidget& window, ProfileFile& profile) {
  // A maximised or minimised window reaches its normal placement only once
  // the platform has answered: take that placement as the window knows it.
  QRect normal = window.isMaximized() || window.isMinimized() ? window.normalGeometry() : window.geometry();
  window.showNormal();  // before the question, whatever the answer
  platform::MessageAnswer answer =
      platform::ShowMessage(&window, {T(kRegisterQuestion), T(strings::kAppTitle), platform::MessageIcon::Question,
                                      platform::MessageButtons::YesNo});
  if (answer != platform::MessageAnswer::Yes) return;
  QRect outer = normal.marginsAdded(FrameMargins(window));
  profile.WriteProfileInt("Position", "TilePosX", outer.left());
  profile.WriteProfileInt("Position", "TilePosY", outer.top());
  profile.WriteProfileInt("Size", "TileSizeX", outer.width());
  profile.WriteProfileInt("Size", "TileSizeY", outer.height());
}
